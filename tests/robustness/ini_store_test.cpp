#include "platform/system/inifile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <utime.h>

namespace {

class IniStore : public testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("Sondrel.INI");
    void setBytes(const QByteArray& b, time_t mtime = 0)
    {
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(b);
        }
        if (mtime) {
            utimbuf t{mtime, mtime};
            ::utime(QFile::encodeName(path).constData(), &t);
        }
    }
};

// The file is read once however many keys are read, and again when another program changes it
// (by size, or by time at the same size).
TEST_F(IniStore, ReadOnceAndAgainOnlyWhenTheFileChanges)
{
    setBytes("[Settings]\r\nA=1\r\nB=2\r\n", 1000000);
    const int before = ini::fileReads();
    for (int n = 0; n < 200; ++n)
        ASSERT_EQ(ini::read(path, "Settings", n % 2 ? "A" : "B", "", 50), n % 2 ? "1" : "2");
    EXPECT_EQ(ini::fileReads() - before, 1);

    setBytes("[Settings]\r\nA=10\r\nB=2\r\n", 1000000); // another size
    EXPECT_EQ(ini::read(path, "Settings", "A", "", 50), "10");
    setBytes("[Settings]\r\nA=77\r\nB=2\r\n", 2000000); // same size, another time
    EXPECT_EQ(ini::read(path, "Settings", "A", "", 50), "77");
    EXPECT_EQ(ini::fileReads() - before, 3);

    // Our own write needs no read-back; a value stored as it is leaves the file alone.
    ASSERT_TRUE(ini::write(path, "Settings", "C", "3"));
    EXPECT_EQ(ini::read(path, "Settings", "C", "", 50), "3");
    struct stat a, b;
    ::stat(QFile::encodeName(path).constData(), &a);
    ASSERT_TRUE(ini::write(path, "Settings", "C", "3"));
    ::stat(QFile::encodeName(path).constData(), &b);
    EXPECT_EQ(a.st_ino, b.st_ino);
    EXPECT_EQ(ini::fileReads() - before, 3);
}

// Files an editor or a hostile hand left: the byte-order mark, a FIFO, a folder.
TEST_F(IniStore, ByteOrderMarkAndFilesThatAreNotFiles)
{
    setBytes("\xEF\xBB\xBF[Settings]\r\nTX Echo=True\r\n");
    EXPECT_EQ(ini::read(path, "Settings", "TX Echo", "", 50), "True");
    ASSERT_TRUE(ini::write(path, "Settings", "Net", "Net On"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Settings]\r\nTX Echo=True\r\nNet=Net On\r\n"));

    const QString fifo = dir.filePath("fifo.INI");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath("folder.INI");
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString& p : {fifo, folder}) {
        EXPECT_EQ(ini::read(p, "Settings", "TX Echo", "dflt", 50), "dflt"); // returns, never blocks
        EXPECT_FALSE(ini::contains(p, "Settings", "TX Echo"));
        EXPECT_FALSE(ini::write(p, "Settings", "TX Echo", "True"));
    }
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
}

// Only the first section of a name counts, and in it the first line of a key, with or without
// the index that speeds up the reads.
TEST_F(IniStore, DuplicateSectionsAndKeysAsBefore)
{
    setBytes("[A]\r\nk=1\r\nk=2\r\n\r\n[B]\r\nk=3\r\n[a]\r\nk=4\r\nj=5\r\n");
    EXPECT_EQ(ini::read(path, "a", "K", "", 50), "1");
    EXPECT_EQ(ini::read(path, "A", "j", "none", 50), "none");
    EXPECT_EQ(ini::read(path, "b", "k", "", 50), "3");
    ASSERT_TRUE(ini::write(path, "A", "j", "6"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[A]\r\nk=1\r\nk=2\r\nj=6\r\n\r\n[B]\r\nk=3\r\n[a]\r\nk=4\r\nj=5\r\n"));
}

} // namespace

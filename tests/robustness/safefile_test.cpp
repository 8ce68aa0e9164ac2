#include "platform/system/safefile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct FullDisk {
    FullDisk(qint64 budget, int error = ENOSPC) { safefile::simulateFullDisk(budget, error); }
    ~FullDisk() { safefile::simulateFullDisk(-1, 0); }
};

// A full disk at any point of the write: the old file stays whole, the failure is reported with
// its cause, and no temporary is left behind.
TEST(SafeFile, AFailedWriteKeepsTheOldFile)
{
    const QByteArray old(12565, 'o');
    const QByteArray next(14000, 'n');
    const struct {
        const char* what;
        qint64 budget;
        int error;
    } rows[] = {
        {"disk already full", 0, ENOSPC},
        {"4 KB free", 4096, ENOSPC},
        {"all but the last byte", 13999, ENOSPC},
        {"quota", 100, EDQUOT},
        {"device error", 8192, EIO},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        QTemporaryDir dir;
        const QString path = dir.filePath("Sondrel.INI");
        put(path, old);
        int error = 0;
        {
            FullDisk disk(r.budget, r.error);
            EXPECT_FALSE(safefile::replace(path, next, &error));
        }
        EXPECT_EQ(error, r.error);
        EXPECT_EQ(contents(path), old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Sondrel.INI"});
        EXPECT_TRUE(safefile::replace(path, next, &error)); // space again: it is written
        EXPECT_EQ(contents(path), next);
    }
}

TEST(SafeFile, KeepsPermissionsFollowsLinksAndRefusesOtherKinds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Sondrel.INI");
    put(path, "a");
    // 0644 kept: the temporary file itself is made 0600
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    ASSERT_TRUE(safefile::replace(path, "b"));
    EXPECT_TRUE(QFile::permissions(path) & QFile::ReadOther);
    EXPECT_FALSE(QFile::permissions(path) & QFile::WriteGroup);

    const QString link = dir.filePath("link.INI");
    ASSERT_TRUE(QFile::link(path, link));
    ASSERT_TRUE(safefile::replace(link, "c"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contents(path), "c");

    int error = 0;
    EXPECT_FALSE(safefile::replace(dir.path(), "x", &error));
    EXPECT_EQ(error, EINVAL);
}

TEST(SafeFile, StaleTemporariesOfOurOwnAreRemoved)
{
    QTemporaryDir dir;
    const QStringList ours = {"Sondrel.INI.new-a1B2c3", "Sondrel.INI.Xy12Zq", "Logbook.new-QwErTy",
                              "Logbook.new-QwErTy-journal", "Logbook.new-abcdef-wal"};
    const QStringList theirs = {"Sondrel.INI", "Sondrel.INI.bak", "Sondrel.INI.new-toolong1", "Logbook",
                                "Logbook.adi", "Logbook-journal", "UserPara.INI"};
    for (const QString& f : ours + theirs)
        put(dir.filePath(f), "x");
    EXPECT_EQ(safefile::removeStaleTemporaries(dir.path(), "Sondrel.INI")
                  + safefile::removeStaleTemporaries(dir.path(), "Logbook"),
              ours.size());
    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    QStringList expected = theirs;
    left.sort();
    expected.sort();
    EXPECT_EQ(left, expected);
}

} // namespace

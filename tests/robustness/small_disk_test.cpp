// A disk that really fills: a child process limited to a few kilobytes per file (as a nearly
// full disk would allow) creates the logbook and rewrites the settings file; neither is left
// half-written, and no temporary stays behind.
#include "logbook/store/database.h"
#include "logbook/store/vmx.h"
#include "platform/system/inifile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs f in a child whose files cannot grow past `limit` bytes; its exit status is f's result.
int inSmallDisk(rlim_t limit, int (*f)(const QString&), const QString& folder)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit r{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &r);
        ::_exit(f(folder));
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

int createLogbook(const QString& folder)
{
    const std::string path = QFile::encodeName(folder + "/Logbook").toStdString();
    return VmxCreate(path, 20, 0, 0, 0, kLogbookFieldSpec) == VmxOk ? 0 : 1;
}

int rewriteSettings(const QString& folder)
{
    return ini::write(folder + "/Sondrel.INI", "Settings", "Grown", QString(9000, u'g')) ? 0 : 1;
}

TEST(SmallDisk, NothingIsLeftHalfWritten)
{
    QTemporaryDir dir;
    EXPECT_EQ(inSmallDisk(2048, createLogbook, dir.path()), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("Logbook")));

    {
        QFile f(dir.filePath("Sondrel.INI"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Settings]\r\nAFC On/Off=On\r\n");
    }
    EXPECT_EQ(inSmallDisk(4096, rewriteSettings, dir.path()), 1);
    QFile f(dir.filePath("Sondrel.INI"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Settings]\r\nAFC On/Off=On\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Sondrel.INI"});

    EXPECT_EQ(inSmallDisk(RLIM_INFINITY, createLogbook, dir.path()), 0); // room again
    EXPECT_TRUE(QFile::exists(dir.filePath("Logbook")));
}

} // namespace

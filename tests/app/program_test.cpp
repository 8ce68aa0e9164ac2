// The program as the operator starts it: first run, a second start while it runs, and the
// desktop ending the session with SIGTERM.
#include <gtest/gtest.h>

#include "platform/system/inifile.h"
#include "support/qt_print.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

class Program : public testing::Test {
protected:
    // The program cannot start where it cannot create its shared block: say so at once instead
    // of waiting for a start-up that will not come.
    void SetUp() override
    {
        const std::string name = "/sondrel-test-probe-" + std::to_string(::getpid());
        const int fd = ::shm_open(name.c_str(), O_CREAT | O_EXCL | O_RDWR, 0600);
        ASSERT_GE(fd, 0) << "shared memory cannot be created here (" << std::strerror(errno)
                         << "): the program cannot start; make /dev/shm writable";
        ::close(fd);
        ::shm_unlink(name.c_str());
        ASSERT_TRUE(home.isValid());
    }

    QTemporaryDir home;
    QString ini() const { return home.filePath("Sondrel.INI"); }

    void start(QProcess& p)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("SONDREL_HOME", home.path());
        env.insert("SONDREL_AUDIO", "null");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.setProgram(SONDREL_EXE);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start();
        ASSERT_TRUE(p.waitForStarted(10000));
    }

    // Waits until the running program has finished starting: its saved mode is written once
    // the engine has been started, the last step of start-up.
    // A program that ends before that has failed to start: no need to wait any longer.
    bool waitForStartUp(QProcess& p, int ms = 60000)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            if (bytes().contains("[Mode]\r\nMode="))
                return true;
            if (p.state() == QProcess::NotRunning || p.waitForFinished(50))
                return false;
        }
        return false;
    }

    QByteArray bytes() const
    {
        QFile f(ini());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(Program, FirstRunSecondStartAndSigterm)
{
    QProcess first;
    start(first);
    ASSERT_TRUE(waitForStartUp(first)) << first.readAll().toStdString();
    const QByteArray afterStart = bytes();
    EXPECT_TRUE(afterStart.startsWith("[Settings]\r\nAFC On/Off=On\r\n"));

    // A second start while the first runs exits at once and writes nothing.
    QProcess second;
    start(second);
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(bytes(), afterStart);

    // The desktop ends the session: the normal shut-down writes the geometry in twips.
    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    const QByteArray after = bytes();
    EXPECT_TRUE(after.contains("[Sondrel Form]\r\n")) << after.toStdString();
    for (const char* key : {"Top= ", "Left= ", "Width= ", "Height= ", "Splitter Pos= ", "Display Height= "})
        EXPECT_TRUE(after.contains(key)) << key;
    const QString width = ini::read(ini(), "Sondrel Form", "Width", "", 50);
    EXPECT_EQ(width.toInt() % 15, 0);
    EXPECT_GT(width.toInt(), 0);
}

} // namespace

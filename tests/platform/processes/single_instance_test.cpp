#include "platform/processes/single_instance.h"

#include "support/temp_home.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QProcess>
#include <cstdlib>
#include <unistd.h>

namespace {

// Runs only as the helper process: SONDREL_LOCK_HELPER names the folder, SONDREL_LOCK_MODE says
// what to expect ("refused"), or "hold" to take the lock and end without letting go of it.
TEST(SingleInstanceHelper, TryAcquire)
{
    const QString folder = qEnvironmentVariable("SONDREL_LOCK_HELPER");
    if (folder.isEmpty())
        GTEST_SKIP() << "helper process only";
    const QString mode = qEnvironmentVariable("SONDREL_LOCK_MODE");
    SingleInstance lock(folder);
    if (mode == QLatin1String("hold")) {
        ASSERT_TRUE(lock.acquire());
        ::_exit(0); // no destructor, no release: the process simply ends
    }
    EXPECT_FALSE(lock.acquire());
}

int runHelper(const QString& folder, const QString& mode)
{
    QProcess helper;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SONDREL_LOCK_HELPER"), folder);
    env.insert(QStringLiteral("SONDREL_LOCK_MODE"), mode);
    helper.setProcessEnvironment(env);
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper.setStandardOutputFile(QProcess::nullDevice());
    helper.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=SingleInstanceHelper.TryAcquire")});
    if (!helper.waitForFinished(60000))
        return -1;
    return helper.exitStatus() == QProcess::NormalExit ? helper.exitCode() : -2;
}

TEST(SingleInstance, OneHolderPerFolder)
{
    TempHome a, b;
    SingleInstance first(a.path());
    SingleInstance second(a.path());
    SingleInstance elsewhere(b.path());
    ASSERT_TRUE(first.acquire());
    EXPECT_TRUE(first.acquire()); // holding already
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(elsewhere.acquire());

    EXPECT_EQ(runHelper(a.path(), QStringLiteral("refused")), 0);

    first.release();
    EXPECT_TRUE(second.acquire());
}

TEST(SingleInstance, LockEndsWithItsProcess)
{
    TempHome home;
    ASSERT_EQ(runHelper(home.path(), QStringLiteral("hold")), 0);
    SingleInstance lock(home.path());
    EXPECT_TRUE(lock.acquire());
}

TEST(SingleInstance, DefaultsToTheProgramFolder)
{
    TempHome home;
    SingleInstance lock;
    EXPECT_EQ(lock.lockFile(), home.file(QStringLiteral("Sondrel.lock")));
}

} // namespace

#include <gtest/gtest.h>
#include <QDir>
#include <QtGlobal>

TEST(TestSupport, ProgramFolderIsPrivate)
{
    const QString home = qEnvironmentVariable("SONDREL_HOME");
    ASSERT_FALSE(home.isEmpty());
    EXPECT_TRUE(QDir(home).exists());
}

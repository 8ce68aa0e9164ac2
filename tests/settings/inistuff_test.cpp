#include <gtest/gtest.h>

#include "main_window/settings_loader/settings_loader.h"
#include "platform/system/inifile.h"
#include "settings/inistuff.h"
#include "support/temp_home.h"

#include <QFile>

namespace {

TEST(SettingsStore, FirstStartWritesTheFirstKeyAndLaterStartsLoad)
{
    TempHome home;
    INIPath.clear();
    LoadSettings();
    EXPECT_EQ(INIPath, home.file("Sondrel.INI"));
    QFile f(INIPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("[Settings]\r\nAFC On/Off=On\r\n"));
}

TEST(SettingsStore, AnUnreadableFileIsNeitherLoadedNorReplaced)
{
    TempHome home;
    INIPath.clear();
    QFile f(home.file("Sondrel.INI"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Settings]\r\nTX Echo=True\r\n");
    f.close();
    f.setPermissions(QFileDevice::Permissions());
    if (QFile(home.file("Sondrel.INI")).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running as a user that reads every file";
    LoadSettings();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Settings]\r\nTX Echo=True\r\n"));
}

TEST(SettingsStore, ReadConventionCutsShortValuesButNotPaths)
{
    TempHome home;
    INIPath = home.file("Sondrel.INI");
    const QString longPath = "/home/operator/radio/" + QString(60, u'k') + "/kachina.dat";
    WriteINI("Radio Control", "Radio Data File Name", longPath);
    WriteINI("Settings", "Default CW ID", QString(60, u'A'));
    WriteINI("Macro", "Macro #1", QString(2500, u'm'));
    EXPECT_EQ(ReadINI("radio control", "radio data file name", ""), longPath);
    EXPECT_EQ(ReadINI("Settings", "Default CW ID", ""), QString(49, u'A'));
    EXPECT_EQ(ReadINILong("Macro", "Macro #1", ""), QString(2500, u'm'));
    EXPECT_EQ(ReadINI("Settings", "Missing", "dflt"), "dflt");
}

TEST(SettingsStore, StripNullTrimsAndCutsAtTheFirstNul)
{
    QString t = QString("  abc") + QChar(0) + "def  ";
    EXPECT_EQ(StripNull(t), "abc");
    EXPECT_EQ(t, QString("abc") + QChar(0) + "def");
    QString n = QString(QChar(0)) + "x";
    EXPECT_EQ(StripNull(n), "");
    QString q = "\"quoted\"";
    EXPECT_EQ(StripNull2(q), "\"quoted\"");
}

} // namespace

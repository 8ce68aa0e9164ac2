#include <gtest/gtest.h>

#include "platform/system/inifile.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

class IniFileTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("Sondrel.INI");

    QByteArray bytes() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void setBytes(const QByteArray& b)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(ini::read(path, "Settings", "TX Echo", "dflt", 50), "dflt");
    ASSERT_TRUE(ini::write(path, "Settings", "AFC On/Off", "On"));
    EXPECT_EQ(ini::read(path, "Other", "AFC On/Off", "dflt", 50), "dflt");
    EXPECT_EQ(ini::read(path, "Settings", "Net", "dflt", 50), "dflt");
    EXPECT_EQ(bytes(), QByteArray("[Settings]\r\nAFC On/Off=On\r\n"));
}

TEST_F(IniFileTest, NamesMatchWithoutCaseValuesExactly)
{
    setBytes("[settings]\r\ntx echo=true\r\n");
    EXPECT_EQ(ini::read(path, "Settings", "TX Echo", "", 50), "true");
    ASSERT_TRUE(ini::write(path, "SETTINGS", "Tx Echo", "True"));
    EXPECT_EQ(bytes(), QByteArray("[settings]\r\ntx echo=True\r\n").replace("tx echo=True", "Tx Echo=True"));
    EXPECT_EQ(ini::read(path, "Settings", "BackGround Color", "x", 50), "x");
    ASSERT_TRUE(ini::write(path, "Settings", "BackGround Color", "255"));
    EXPECT_EQ(ini::read(path, "settings", "Background Color", "x", 50), "255");
}

TEST_F(IniFileTest, EmptyValueIsNotTheDefault)
{
    setBytes("[Settings]\r\nScale Width=\r\nTop=   \r\n");
    EXPECT_EQ(ini::read(path, "Settings", "Scale Width", "10", 50), "");
    EXPECT_EQ(ini::read(path, "Settings", "Top", "7", 50), "");
    EXPECT_TRUE(ini::contains(path, "Settings", "Scale Width"));
    EXPECT_FALSE(ini::contains(path, "Settings", "Width"));
}

TEST_F(IniFileTest, ValuesAreCutToTheBufferAndKeepTheirQuotes)
{
    const QString sixty(60, u'x');
    ASSERT_TRUE(ini::write(path, "Settings", "Long", sixty));
    EXPECT_EQ(ini::read(path, "Settings", "Long", "", 50), QString(49, u'x'));
    EXPECT_EQ(ini::read(path, "Settings", "Long", "", 3000), sixty);
    ASSERT_TRUE(ini::write(path, "Settings", "Quoted", "\"a b\""));
    EXPECT_EQ(ini::read(path, "Settings", "Quoted", "", 50), "\"a b\"");
    ASSERT_TRUE(ini::write(path, "Settings", "Blanks", "  padded  "));
    EXPECT_EQ(ini::read(path, "Settings", "Blanks", "", 50), "padded");
}

TEST_F(IniFileTest, RewriteInPlaceKeepsEveryOtherLine)
{
    setBytes("; my notes\r\n[Settings]\r\nA=1\r\nB=2\r\n\r\n[Mode]\r\nMode=BPSK\r\n");
    ASSERT_TRUE(ini::write(path, "settings", "b", "3"));
    ASSERT_TRUE(ini::write(path, "Settings", "C", "4"));
    ASSERT_TRUE(ini::write(path, "Markers", "Marker Width", "1"));
    EXPECT_EQ(bytes(), QByteArray("; my notes\r\n[Settings]\r\nA=1\r\nb=3\r\nC=4\r\n\r\n[Mode]\r\nMode=BPSK\r\n"
                                  "\r\n[Markers]\r\nMarker Width=1\r\n"));
}

TEST_F(IniFileTest, Windows1252OnDiskAndNoLineBreaksInValues)
{
    ASSERT_TRUE(ini::write(path, "Settings", "Default CW ID", QString::fromUtf8("DE \u00d8K \u20ac")));
    EXPECT_EQ(bytes(), QByteArray("[Settings]\r\nDefault CW ID=DE \xd8K \x80\r\n"));
    EXPECT_EQ(ini::read(path, "Settings", "Default CW ID", "", 50), QString::fromUtf8("DE \u00d8K \u20ac"));
    ASSERT_TRUE(ini::write(path, "Settings", "Multi", "one\r\ntwo\nthree"));
    EXPECT_EQ(ini::read(path, "Settings", "Multi", "", 50), "one two three");
    EXPECT_FALSE(bytes().contains("two\n"));
}

TEST_F(IniFileTest, UnwritableFolderFailsAndLeavesNothing)
{
    const QString bad = dir.filePath("missing/folder/Sondrel.INI");
    EXPECT_FALSE(ini::write(bad, "Settings", "A", "1"));
    EXPECT_EQ(ini::read(bad, "Settings", "A", "d", 50), "d");
}

} // namespace

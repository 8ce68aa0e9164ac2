#include <gtest/gtest.h>

#include "platform/system/clock.h"
#include "platform/vb/vbnum.h"
#include <QRegularExpression>
#include "platform/system/places.h"
#include "platform/vb/text1252.h"
#include "platform/vb/units.h"
#include "platform/vb/vberror.h"

#include <cerrno>

namespace {

TEST(Windows1252, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = cp1252::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(cp1252::encode(text), all);
    EXPECT_EQ(text[216], QChar(0x00D8)); // slashed zero
    EXPECT_EQ(text[191], QChar(0x00BF)); // inverted question mark
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0], QChar(0));
}

TEST(Windows1252, UnmappableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(cp1252::encode(QString::fromUtf8("a\u4e2db")), QByteArray("a?b"));
    EXPECT_EQ(cp1252::byteOf(QChar(0x4e2d)), -1);
    EXPECT_EQ(cp1252::encode(QString::fromUtf8("\u20ac")), QByteArray("\x80"));
}

TEST(VbTrim, RemovesBlanksOnly)
{
    EXPECT_EQ(vb::Trim("  a b  "), "a b");
    EXPECT_EQ(vb::Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(vb::LTrim("  a "), "a ");
    EXPECT_EQ(vb::RTrim("  a "), "  a");
    EXPECT_EQ(vb::Trim("   "), "");
}

TEST(Colours, WindowsRgbNumbersHaveRedInTheLowByte)
{
    EXPECT_EQ(rgb::toColor(255), QColor(255, 0, 0));
    EXPECT_EQ(rgb::toColor(16711680), QColor(0, 0, 255));
    EXPECT_EQ(rgb::toColor(12632319), QColor(255, 192, 192));
    EXPECT_EQ(rgb::fromColor(QColor(0, 128, 0)), 32768);
    EXPECT_EQ(rgb::fromColor(Qt::white), 16777215);
}

TEST(Twips, FifteenToThePixel)
{
    EXPECT_EQ(twips::fromPixels(80), 1200);
    EXPECT_EQ(twips::toPixels(1200), 80);
    EXPECT_EQ(twips::toPixels(22.5), 2); // 1.5 -> 2
    EXPECT_EQ(twips::toPixels(37.5), 2); // 2.5 -> 2
}

TEST(OleDates, WholeSecondsInNearestSecondOut)
{
    const QDateTime t(QDate(2024, 1, 1), QTime(14, 7, 0), Qt::UTC);
    const double d = oledate::fromDateTime(t);
    EXPECT_NEAR(d, 45292 + (14 * 3600 + 7 * 60) / 86400.0, 1e-12);
    EXPECT_EQ(oledate::toDateTime(d), t);
    // a key written with 15 significant digits still shows 14:07, never 14:06
    EXPECT_EQ(oledate::toDateTime(vb::Val(vb::Str(d))).time(), QTime(14, 7, 0));
    // fractions of a second are dropped on the way in
    EXPECT_EQ(oledate::fromDateTime(t.addMSecs(900)), d);
    EXPECT_EQ(oledate::toDateTime(0), QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC));
}

TEST(OleDates, MonthAbbreviationsAreEnglish)
{
    EXPECT_EQ(months::abbrev(1), "Jan");
    EXPECT_EQ(months::abbrev(12), "Dec");
    EXPECT_EQ(months::abbrev(13), "");
    EXPECT_EQ(months::fromAbbrev("sEP"), 9);
    EXPECT_EQ(months::fromAbbrev("Sept"), 0);
}

TEST(ClockSeam, TestsFixTheTimeAndZone)
{
    FixedClock fixed(QDateTime(QDate(2024, 6, 1), QTime(23, 30), Qt::UTC), 3600);
    Clock::install(&fixed);
    EXPECT_EQ(Clock::instance().nowUtc().time(), QTime(23, 30));
    EXPECT_EQ(Clock::instance().nowLocal().date(), QDate(2024, 6, 2));
    fixed.advanceMs(1500);
    EXPECT_EQ(Clock::instance().monotonicMs(), 1500);
    Clock::install(nullptr);
    EXPECT_NE(&Clock::instance(), &fixed);
}

TEST(Places, ProgramFolderAndSerialPorts)
{
    const QString folder = places::programFolder();
    EXPECT_EQ(folder, qEnvironmentVariable("SONDREL_HOME").remove(QRegularExpression("/+$")));
    EXPECT_EQ(places::programFile("Sondrel.INI"), folder + "/Sondrel.INI");
    EXPECT_EQ(places::serialPortDevice(1), "/dev/ttyS0");
    qputenv("SONDREL_COM3", "/dev/ttyUSB0");
    EXPECT_EQ(places::serialPortDevice(3), "/dev/ttyUSB0");
    qunsetenv("SONDREL_COM3");
    EXPECT_EQ(places::serialPortDevice(3), "/dev/ttyS2");
    EXPECT_EQ(places::serialPortDevice(0), "");
    // A program folder at the root of the file system: no doubled separator.
    const QByteArray home = qgetenv("SONDREL_HOME");
    qputenv("SONDREL_HOME", "/");
    EXPECT_EQ(places::programFile("Sondrel.INI"), "/Sondrel.INI");
    qputenv("SONDREL_HOME", home);
}

TEST(FileErrors, VbNumbersAndTexts)
{
    EXPECT_EQ(vberror::fromErrno(ENOENT).text(), "Error # 53 File not found");
    EXPECT_EQ(vberror::fromErrno(EACCES).text(), "Error # 70 Permission denied");
    EXPECT_EQ(vberror::fromErrno(ENOSPC).text(), "Error # 61 Disk full");
    EXPECT_EQ(vberror::fromErrno(EIO).text(), "Error # 57 Device I/O error");
    EXPECT_EQ(vberror::fromErrno(ENOTDIR).text(), "Error # 76 Path not found");
    EXPECT_EQ(vberror::fromErrno(EINVAL).text(), "Error # 75 Path/File access error");
}

} // namespace

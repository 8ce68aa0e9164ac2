#include "logbook_fixture.h"

#include "platform/widgets/menuitem.h"

namespace {

using LogbookPage = LogbookFixture;

bool rowIsEmpty(const LogbookGrid& g, int row)
{
    for (int c = 0; c < LogbookGrid::kColumns; ++c)
        if (!g.cell(row, c).isEmpty())
            return false;
    return true;
}

TEST_F(LogbookPage, ShowsTheOperatorsNewestQsosAndSkipsOthers)
{
    // The operator's five QSOs are old; a hundred of another operator are newer.
    for (int i = 0; i < 5; ++i)
        putQso(QStringLiteral("K%1MINE").arg(i), kNoon2024 - 100 + i, "W1OP");
    for (int i = 0; i < 100; ++i)
        putQso(QStringLiteral("K%1CLUB").arg(i), kNoon2024 + i * kSecond, "W9CLUB");
    // Operators that only share the first characters or differ in case are not the operator.
    putQso("K9LONG", kNoon2024 + 1, "W1OPX");
    putQso("K9CASE", kNoon2024 + 2, "w1op");
    for (int r = 1; r <= 20; ++r)
        MiniLogPage.cell(r, 2) = QStringLiteral("stale");
    QSOOffsetCounter = 6;
    LoadLogbookPage();
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(MiniLogPage.cell(r, 2), QStringLiteral("K%1MINE").arg(5 - r));
        EXPECT_EQ(MiniLogPage.cell(r, 0), QSOKeyText(kNoon2024 - 100 + 5 - r));
    }
    EXPECT_EQ(MiniLogPage.cell(1, 1), "27 Sep 23  12:00");
    for (int r = 6; r <= 20; ++r)
        EXPECT_TRUE(rowIsEmpty(MiniLogPage, r)) << r;
    EXPECT_EQ(QSOCounter, "108");
    EXPECT_EQ(main().mnu("mnuSerialNum").caption(), "QSO # 102");
    EXPECT_EQ(hooks, QStringList{"MiniLogPageChanged"});
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST_F(LogbookPage, AnEmptyLogbookGivesEmptyRowsAndCounterOne)
{
    QSOCounter = QStringLiteral("77");
    LoadLogbookPage();
    for (int r = 1; r <= 20; ++r)
        EXPECT_TRUE(rowIsEmpty(MiniLogPage, r)) << r;
    EXPECT_EQ(QSOCounter, "1");
    const QStringList header = {"", "Date/Time UTC", "Callsign", "Band", "Mode", "Sent", "Recv", "Name", "QTH", "Notes"};
    for (int c = 0; c < LogbookGrid::kColumns; ++c)
        EXPECT_EQ(MiniLogPage.cell(0, c), header[c]);
    EXPECT_EQ(MiniLogPage.fixedGridLines, 2);
    EXPECT_EQ(MiniLogPage.gridLines, 0);
}

TEST_F(LogbookPage, ATwentyFirstQsoOfTheOperatorIsNotShown)
{
    for (int i = 0; i < 21; ++i)
        putQso(QStringLiteral("K%1AA").arg(i), kNoon2024 + i, "W1OP");
    LoadLogbookPage();
    EXPECT_EQ(MiniLogPage.cell(1, 2), "K20AA");
    EXPECT_EQ(MiniLogPage.cell(20, 2), "K1AA");
}

TEST_F(LogbookPage, ColumnWidthsAreTheSettingsToTheNearestTwip)
{
    MiniLogColumnWidths = {"0", "1400.5", "1401.5", " 520", "abc", "520", "520", "1000", "1800", "5000"};
    LoadLogbookPage();
    // A width that is no number takes the column's default.
    EXPECT_EQ(MiniLogPage.columnWidths, (std::array<int, 10>{0, 1400, 1402, 520, 520, 520, 520, 1000, 1800, 5000}));
    MiniLogColumnWidths = PreviousQSOsColumnWidths;
}

TEST_F(LogbookPage, AFailedPositioningIsReportedAndKeepsTheRows)
{
    MiniLogPage.cell(3, 2) = QStringLiteral("kept");
    VmxClose(LogbookHandle);
    LoadLogbookPage();
    EXPECT_EQ(messageTexts(), QStringList{"Logbook Error = " + QString::fromStdString(VmxReturnCode(VmxBadHandle)) + "\r\n\r\nLogbook file: " + LogbookPath()});
    EXPECT_EQ(MiniLogPage.cell(3, 2), "kept");
}

TEST_F(LogbookPage, InsertingMovesEveryRowDown)
{
    for (int r = 0; r <= 20; ++r)
        MiniLogPage.cell(r, 5) = QStringLiteral("r%1").arg(r);
    InsertLogbookRow();
    EXPECT_EQ(MiniLogPage.cell(0, 5), "r0");
    EXPECT_EQ(MiniLogPage.cell(1, 5), "r0"); // a copy of the header until filled
    EXPECT_EQ(MiniLogPage.cell(2, 5), "r1");
    EXPECT_EQ(MiniLogPage.cell(20, 5), "r19");
    CurrentQSO[fCallsign] = QStringLiteral("K1NEW");
    CurrentQSO[fRSTSent] = QStringLiteral("599");
    FillLogbookRow(1, QStringLiteral(" 45292"));
    EXPECT_EQ(MiniLogPage.cell(1, 0), " 45292");
    EXPECT_EQ(MiniLogPage.cell(1, 1), "01 Jan 24  00:00");
    EXPECT_EQ(MiniLogPage.cell(1, 2), "K1NEW");
    EXPECT_EQ(MiniLogPage.cell(1, 5), "599");
}

TEST_F(LogbookPage, KeysReadBackToTheNearestSecond)
{
    struct Case { double day; const char* grid; const char* date; const char* time; };
    const double t1407 = kNoon2024 + (2 * 3600 + 7 * 60) * kSecond; // 14:07:00, not exactly representable
    const Case cases[] = {
        {t1407, "01 Jan 24  14:07", "01 Jan 2024", "14:07"},
        {t1407 - 1e-9, "01 Jan 24  14:07", "01 Jan 2024", "14:07"},
        {kNoon2024 + 0.5 - 0.4 * kSecond, "02 Jan 24  00:00", "02 Jan 2024", "00:00"},
        {36526, "01 Jan 00  00:00", "01 Jan 2000", "00:00"},
        {1e300, "", "", ""},
        {-1e300, "", "", ""},
    };
    for (const Case& c : cases) {
        const QString key = QSOKeyText(c.day);
        EXPECT_EQ(GridDateTimeText(key), c.grid) << key.toStdString();
        EXPECT_EQ(QSOKeyDate(key), c.date) << key.toStdString();
        EXPECT_EQ(QSOKeyTime(key), c.time) << key.toStdString();
    }
    EXPECT_EQ(GridDateTimeText(QStringLiteral("not a key")), "30 Dec 99  00:00");
}

} // namespace

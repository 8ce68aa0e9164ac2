#include "logbook_fixture.h"

#include "platform/widgets/menuitem.h"

#include <QLineEdit>

namespace {

using PreviousQsos = LogbookFixture;

TEST_F(PreviousQsos, CountsTheQsosAndTakesTheNewestOne)
{
    // Put out of time order: the newest is found by its key, not by when it was stored.
    putQso("DL1ABC", kNoon2024 - 10, "W1OP", "Hans");
    putQso("DL1ABC", kNoon2024 + 14 * 3600 * kSecond + 7 * 60 * kSecond, "K9OTHER", "Hansi");
    putQso("DL1ABC", kNoon2024 - 400, "W1OP", "Old Hans");
    putQso("DL1ABCD", kNoon2024 + 1, "W1OP", "Someone else");
    Sondrel& w = main();
    w.NameBox->setText(QStringLiteral("typed"));
    w.CallsignBox->setText(QStringLiteral("DL1ABC"));
    EXPECT_EQ(PreviousQSOCall, "DL1ABC");
    EXPECT_EQ(PreviousQSOs[1], "3");
    EXPECT_EQ(PreviousQSOs[2], "02 Jan 2024");
    EXPECT_EQ(PreviousQSOs[3], "02:07"); // 12:00 + 14:07
    EXPECT_EQ(PreviousQSOs[4], "20");
    EXPECT_EQ(PreviousQSOs[5], "BPSK");
    EXPECT_EQ(w.NameBox->text(), "Hansi");
    EXPECT_EQ(w.QTHBox->text(), "QTH of Hansi");
    EXPECT_EQ(w.NotesBox->text(), "notes Hansi");
    EXPECT_EQ(OtherName, "Hansi");
    EXPECT_EQ(QSOComment, "notes Hansi");
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST_F(PreviousQsos, AnUnknownCallEmptiesWhatTheOperatorTyped)
{
    putQso("DL1ABC", kNoon2024, "W1OP", "Hans");
    Sondrel& w = main();
    w.CallsignBox->setText(QStringLiteral("DL1ABC"));
    w.NameBox->setText(QStringLiteral("typed"));
    w.NotesBox->setText(QStringLiteral("typed"));
    w.CallsignBox->setText(QStringLiteral("DL1ABX"));
    EXPECT_EQ(PreviousQSOs, (std::array<QString, 6>{"", "0", "", "", "", ""}));
    EXPECT_TRUE(w.NameBox->text().isEmpty());
    EXPECT_TRUE(w.QTHBox->text().isEmpty());
    EXPECT_TRUE(w.NotesBox->text().isEmpty());
    EXPECT_EQ(LogbookStatus, VmxNotFound);
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST_F(PreviousQsos, AnUnusableLogbookIsReportedOnceNotAtEveryKey)
{
    const std::int32_t handle = LogbookHandle;
    VmxClose(handle);
    Sondrel& w = main();
    for (const char* text : {"DL1", "DL1A", "DL1AB", "DL1ABC"})
        w.CallsignBox->setText(QString::fromLatin1(text));
    EXPECT_EQ(messageTexts(), QStringList{"Logbook Error = " + QString::fromStdString(VmxReturnCode(VmxBadHandle)) + "\r\n\r\nLogbook file: " + LogbookPath()});
    EXPECT_EQ(PreviousQSOs[1], "0");
    // A logbook that works again is reported again when it fails again.
    OpenLogbook();
    w.CallsignBox->setText(QStringLiteral("DL1ABCD"));
    VmxClose(LogbookHandle);
    w.CallsignBox->setText(QStringLiteral("DL1ABCDE"));
    EXPECT_EQ(boxes.messages().size(), 2);
}

TEST_F(PreviousQsos, TheCallSignBoxLooksUpFromTheThirdCharacter)
{
    Sondrel& w = main();
    PreviousPageOpen = QStringLiteral("True");
    w.mnu("mnuAutoCDLookup").setChecked(true);
    for (const char* text : {"D", "DL", "DL1", "DL1A", "DL1AB"})
        w.CallsignBox->setText(QString::fromLatin1(text));
    EXPECT_EQ(hooks, QStringList({"UnloadCDDisplay", "UnloadCDDisplay", "PreviousPageChanged", "DoCDLookup",
                                  "PreviousPageChanged", "DoCDLookup", "PreviousPageChanged", "DoCDLookup"}));
    hooks.clear();
    w.CallsignBox->setText(QStringLiteral("DL"));
    EXPECT_EQ(hooks, QStringList{"UnloadCDDisplay"});
    EXPECT_EQ(PreviousQSOCall, "DL1AB");
    PreviousPageOpen = QStringLiteral("False");
    w.mnu("mnuAutoCDLookup").setChecked(false);
    hooks.clear();
    w.CallsignBox->setText(QStringLiteral("DL1"));
    EXPECT_TRUE(hooks.isEmpty());
}

TEST_F(PreviousQsos, ThePageListsUpToTwentyQsosOfEveryOperator)
{
    for (int i = 0; i < 25; ++i)
        putQso("DL1ABC", kNoon2024 + i, i % 2 ? "W1OP" : "K9OTHER", QStringLiteral("n%1").arg(i));
    for (int i = 0; i < 3; ++i)
        putQso("K2XYZ", kNoon2024 + 100 + i, "W1OP", QStringLiteral("k%1").arg(i));

    PreviousQSOCall = QStringLiteral("DL1ABC");
    PreviousQSOPage();
    EXPECT_EQ(PreviousQSOsPage.caption, "Previous QSOs with DL1ABC");
    for (int r = 1; r <= 20; ++r) {
        EXPECT_EQ(PreviousQSOsPage.cell(r, 7), QStringLiteral("n%1").arg(r - 1));
        EXPECT_EQ(PreviousQSOsPage.cell(r, 0), QSOKeyText(kNoon2024 + r - 1));
    }
    EXPECT_EQ(PreviousQSOsPage.cell(1, 1), "01 Jan 24  12:00");
    EXPECT_EQ(LogbookStatus, 0);
    EXPECT_EQ(LogbookKeyOut, QSOKeyText(kNoon2024 + 20));

    PreviousQSOCall = QStringLiteral("K2XYZ");
    PreviousQSOPage();
    EXPECT_EQ(PreviousQSOsPage.cell(3, 7), "k2");
    for (int r = 4; r <= 20; ++r)
        for (int c = 0; c < LogbookGrid::kColumns; ++c)
            EXPECT_TRUE(PreviousQSOsPage.cell(r, c).isEmpty()) << r << "," << c;

    PreviousQSOCall = QStringLiteral("N0NE");
    PreviousQSOPage();
    EXPECT_EQ(PreviousQSOsPage.caption, "Previous QSOs with ");
    EXPECT_TRUE(PreviousQSOsPage.cell(1, 2).isEmpty());
    EXPECT_EQ(PreviousQSOsPage.cell(0, 1), "Date/Time UTC");
    EXPECT_EQ(hooks.count("PreviousPageChanged"), 3);
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST_F(PreviousQsos, ExactlyTwentyQsosLeaveTheStatusOfTheTwentyFirstRead)
{
    for (int i = 0; i < 20; ++i)
        putQso("DL1ABC", kNoon2024 + i);
    PreviousQSOCall = QStringLiteral("DL1ABC");
    PreviousQSOPage();
    EXPECT_EQ(PreviousQSOsPage.cell(20, 2), "DL1ABC");
    EXPECT_EQ(LogbookStatus, VmxNotFound);
}

} // namespace

#include "logbook_fixture.h"

#include "platform/vb/text1252.h"
#include "platform/widgets/menuitem.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

const char* const kCallMsg = "Invalid callsign.  Valid callsigns are between 4 and 15 characters in length.  "
                             "No two letter callsigns are allowed.";
const char* const kBandMsg = "Invalid Band.  Valid Amateur Bands are between 2 and 160 Meters.";
const char* const kReportMsg = "Invalid Report.  Valid reports are between 111 and 599.";
const char* const kUserMsg = "Invalid User.  Click SETTINGS | DEFAULT CALLSIGN and enter your current callsign.";
const char* const kModeMsg = "Current Mode appears invalid.";

using Logging = LogbookFixture;

TEST_F(Logging, ChecksThePanelInOrderAndStopsAtTheFirstFault)
{
    struct Case {
        const char* call; const char* band; const char* my; const char* his; const char* user; const char* mode;
        const char* message;           // nullptr: logged
        const char* myAfter; const char* hisAfter;
    };
    const Case cases[] = {
        {"K1A", "20", "579", "589", "W1OP", "BPSK", kCallMsg, "579", "589"},
        {"K1AB", "20", "579", "589", "W1OP", "BPSK", nullptr, "", ""},
        {" K1AB", "20", "579", "589", "W1OP", "BPSK", nullptr, "", ""},
        {"DL1ABCDEFGHIJKL", "20", "579", "589", "W1OP", "BPSK", nullptr, "", ""},
        {"     ", "20", "579", "589", "W1OP", "BPSK", kCallMsg, "579", "589"},
        {"K1A", "1.25", "", "", "", "", kCallMsg, "", ""},
        {"K1AB", "160", "579", "589", "W1OP", "BPSK", nullptr, "", ""},
        {"K1AB", "999", "579", "589", "W1OP", "BPSK", nullptr, "", ""},
        {"K1AB", "1.25", "579", "589", "W1OP", "BPSK", kBandMsg, "579", "589"},
        {"K1AB", "", "579", "589", "W1OP", "BPSK", kBandMsg, "579", "589"},
        {"K1AB", "20", "", "", "W1OP", "BPSK", nullptr, "", ""},
        {"K1AB", "20", "0", "abc", "W1OP", "BPSK", nullptr, "", ""},
        {"K1AB", "20", "111", "599", "W1OP", "BPSK", nullptr, "", ""},
        {"K1AB", "20", "59", "", "W1OP", "BPSK", kReportMsg, "59", ""},
        {"K1AB", "20", "5nn", "589", "W1OP", "BPSK", kReportMsg, "5nn", "589"},
        {"K1AB", "20", "600", "589", "W1OP", "BPSK", kReportMsg, "600", "589"},
        {"K1AB", "20", "", "59", "W1OP", "BPSK", kReportMsg, "599", "59"},
        {"K1AB", "20", "", "", "W1", "BPSK", kUserMsg, "599", "599"},
        {"K1AB", "20", "579", "589", "", "BPSK", kUserMsg, "579", "589"},
        {"K1AB", "20", "579", "589", "W1OPXXXXXXXXXXXX", "BPSK", kUserMsg, "579", "589"},
        {"K1AB", "20", "579", "589", "K1A", "BPSK", nullptr, "", ""},
        {"K1AB", "20", "", "", "W1OP", "", kModeMsg, "599", "599"},
    };
    Sondrel& w = main();
    int logged = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.call) + "|" + c.band + "|" + c.my + "|" + c.his + "|" + c.user + "|" + c.mode);
        boxes.clear();
        clock.advanceMs(1000);
        w.CallsignBox->setText(QString::fromLatin1(c.call));
        w.BandBox->setEditText(QString::fromLatin1(c.band));
        w.MyRSTBox->setText(QString::fromLatin1(c.my));
        w.HisRSTBox->setText(QString::fromLatin1(c.his));
        DefaultCallsign = QString::fromLatin1(c.user);
        LogMode = QString::fromLatin1(c.mode);
        LogAndClear();
        if (c.message) {
            ASSERT_EQ(boxes.messages().size(), 1);
            EXPECT_EQ(boxes.messages()[0].text, QString::fromLatin1(c.message));
            EXPECT_EQ(boxes.messages()[0].title, QStringLiteral("\u00bfQue Pasa?"));
            EXPECT_EQ(boxes.messages()[0].style, dlg::Exclamation | dlg::OKOnly);
            EXPECT_EQ(w.CallsignBox->text(), QString::fromLatin1(c.call));
        } else {
            EXPECT_TRUE(boxes.messages().isEmpty()) << messageTexts().join("|").toStdString();
            ++logged;
            EXPECT_EQ(stored(QSOKey)[fCallsign], vb::Trim(QString::fromLatin1(c.call)));
            EXPECT_TRUE(w.CallsignBox->text().isEmpty());
        }
        EXPECT_EQ(w.MyRSTBox->text(), QString::fromLatin1(c.myAfter));
        EXPECT_EQ(w.HisRSTBox->text(), QString::fromLatin1(c.hisAfter));
        EXPECT_EQ(QSOCounter, QString::number(logged + 1));
    }
}

TEST_F(Logging, StoresEveryFieldUnderTheUtcKeyAndClearsThePanel)
{
    Sondrel& w = main();
    clock.setOffsetSeconds(7200); // local time two hours ahead of UTC
    QSOOffsetCounter = 1;
    fillPanel(" dl1abc ");
    w.RFFrequencyBox->setText(QStringLiteral("14070.15"));
    LogAndClear();
    EXPECT_TRUE(boxes.calls().isEmpty());
    EXPECT_EQ(QSOKey, QStringLiteral(" 45292.5"));
    const QSORecord r = stored(QSOKey);
    const QStringList expected = {"dl1abc", "W1OP", "20", "BPSK", "589", "579", "Hans", "Bonn", "first QSO",
                                  "", "", "14.07015", " 45292.5", "", "", "", "", "", ""};
    for (int i = 0; i < kQSOFieldCount; ++i)
        EXPECT_EQ(r[i], expected[i]) << "field " << i;
    EXPECT_EQ(LogbookStatus, 0);
    EXPECT_EQ(QSOCounter, "2");
    EXPECT_EQ(w.mnu("mnuSerialNum").caption(), "QSO # 1");
    for (QLineEdit* box : {w.CallsignBox, w.NameBox, w.QTHBox, w.MyRSTBox, w.HisRSTBox, w.NotesBox})
        EXPECT_TRUE(box->text().isEmpty()) << box->objectName().toStdString();
    EXPECT_EQ(w.BandBox->currentText(), "20");
    EXPECT_TRUE(NewQSO[fTimeOn].isEmpty());
    EXPECT_EQ(OtherName, "");
    EXPECT_EQ(MyRST, "");
}

TEST_F(Logging, AQsoWithoutARadioFrequencyHasNoneRatherThanTheLastOne)
{
    Sondrel& w = main();
    fillPanel();
    w.RFFrequencyBox->setText(QStringLiteral("7035.5"));
    LogAndClear();
    EXPECT_EQ(stored(QSOKey)[fFrequency], "7.0355");
    for (const char* khz : {"0", "1800", ""}) {
        clock.advanceMs(1000);
        fillPanel();
        w.RFFrequencyBox->setText(QString::fromLatin1(khz));
        LogAndClear();
        EXPECT_EQ(stored(QSOKey)[fFrequency], "") << khz;
    }
}

TEST_F(Logging, ASecondQsoInTheSameSecondIsRefusedAndStaysInThePanel)
{
    Sondrel& w = main();
    fillPanel();
    LogAndClear();
    const QString first = QSOKey;
    fillPanel(QStringLiteral("K2XYZ"));
    NewQSO[fTimeOn] = QStringLiteral(" 45292.4");
    LogAndClear();
    EXPECT_EQ(messageTexts(), QStringList{"Logbook Error = " + QString::fromStdString(VmxReturnCode(VmxDuplicateKey)) + "\r\n\r\nLogbook file: " + LogbookPath()});
    EXPECT_EQ(LogbookStatus, VmxDuplicateKey);
    EXPECT_EQ(QSOKey, first);
    EXPECT_EQ(stored(first)[fCallsign], "DL1ABC");
    EXPECT_EQ(w.CallsignBox->text(), "K2XYZ");
    EXPECT_EQ(QSOCounter, "2");
    EXPECT_TRUE(NewQSO[fTimeOn].isEmpty());
}

TEST_F(Logging, TheStartTimeIsAMacroStampOrTheTimeOfTheAttemptThatLogs)
{
    // A stamp of the start-time macro is kept.
    fillPanel();
    NewQSO[fTimeOn] = QStringLiteral(" 45292.4");
    LogAndClear();
    EXPECT_EQ(stored(QSOKey)[fTimeOn], " 45292.4");

    // A refused mode stamps nothing for the next attempt.
    clock.advanceMs(1000);
    fillPanel(QStringLiteral("K2XYZ"));
    LogMode.clear();
    LogAndClear();
    EXPECT_EQ(messageTexts(), QStringList{kModeMsg});
    EXPECT_TRUE(NewQSO[fTimeOn].isEmpty());
    clock.advanceMs(60000);
    LogMode = QStringLiteral("RTTY");
    LogAndClear();
    EXPECT_EQ(stored(QSOKey)[fTimeOn], QSOKey);
    EXPECT_EQ(QSOKey, QSOKeyText(oledate::fromDateTime(QDateTime(QDate(2024, 1, 1), QTime(12, 1, 1), Qt::UTC))));
    EXPECT_EQ(stored(QSOKey)[fMode], "RTTY");
}

TEST_F(Logging, WithTheMiniLogOpenTheQsoBecomesTheTopRow)
{
    MiniLogOpen = QStringLiteral("True");
    for (int r = 1; r <= 20; ++r)
        MiniLogPage.cell(r, 2) = QStringLiteral("r%1").arg(r);
    fillPanel();
    LogAndClear();
    EXPECT_EQ(MiniLogPage.cell(1, 0), QSOKey);
    EXPECT_EQ(MiniLogPage.cell(1, 1), "01 Jan 24  12:00");
    EXPECT_EQ(MiniLogPage.cell(1, 2), "DL1ABC");
    EXPECT_EQ(MiniLogPage.cell(1, 9), "first QSO");
    EXPECT_EQ(MiniLogPage.cell(2, 2), "r1");
    EXPECT_EQ(MiniLogPage.cell(20, 2), "r19");
    EXPECT_EQ(MiniLogPage.cell(0, 2), "Callsign");
    EXPECT_TRUE(hooks.contains("MiniLogPageChanged"));
    EXPECT_EQ(CurrentQSO[fTimeOn], QSOKey);
}

TEST_F(Logging, TheUtcOffsetFollowsTheTimeZone)
{
    clock.setOffsetSeconds(-4 * 3600); // daylight time four hours west of Greenwich
    doGMTCalculations();
    EXPECT_DOUBLE_EQ(UTCOffsetDays, 240.0 / 1440);
    EXPECT_EQ(CurrentQSOKey(), " 45292.5");
    clock.setUtc(QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(CurrentQSOKey(), " 45292");
}

TEST_F(Logging, TheKeyIsTheTextOfTheUtcSecondInEveryTimeZone)
{
    // Whatever the zone, the key of a second is the one an import or a typed date and time
    // forms for that UTC second, so the store sees the two as the same QSO.
    for (const int offset : {-5 * 3600, 3600, 2 * 3600, 5 * 3600 + 1800}) {
        clock.setOffsetSeconds(offset);
        doGMTCalculations();
        int wrong = 0;
        QString example;
        const QDateTime start(QDate(2024, 1, 1), QTime(23, 0), Qt::UTC);
        for (int s = 0; s < 3600; ++s) {
            const QDateTime utc = start.addSecs(s);
            clock.setUtc(utc);
            const QString expected = QSOKeyText(oledate::fromDateTime(utc));
            const QString key = CurrentQSOKey();
            if (key != expected) {
                ++wrong;
                example = key + " for " + expected;
            }
        }
        EXPECT_EQ(wrong, 0) << "offset " << offset << ": " << example.toStdString();
    }
}

} // namespace

// The Logger link: the sender with its liveness check, the hello, the parser of the Logger's
// texts and the standalone switch.
#include "radio_support.h"

#include "core/logger_link/logger_link.h"
#include "core/messages/hookmodule.h"
#include "core/receive/rx_links.h"
#include "core/transmit/txhooks.h"
#include "displays/spectrum/display_hooks.h"
#include "platform/vb/vbnum.h"
#include "platform/processes/winmsg.h"
#include "state/psk_api.h"

#include <QLabel>
#include <QLineEdit>
#include <functional>

namespace {

// The Logger's main window: a titled window that keeps every text written to it.
struct FakeLogger {
    explicit FakeLogger(const QString& title = "Logger32")
    {
        handle = win::registerWindow(&box, title);
        QObject::connect(&box, &QLineEdit::textChanged, [this](const QString& t) { got << t; });
    }
    QLineEdit box;
    win::WinHandle handle = 0;
    QStringList got;
};

class LoggerLink : public RadioFixture {
protected:
    void SetUp() override
    {
        RadioFixture::SetUp();
        ResetRxLinks();
        ResetTxHooks();
        ResetDisplayHooks();
        // these tests work with the Logger: the program is not standalone
        main().mnu("mnuStandalone").setChecked(false);
    }
    void TearDown() override
    {
        ResetPsk();
        RadioFixture::TearDown();
    }
    // The Logger writes a text into the hidden box.
    void write(const QString& text)
    {
        main().FreqHolder->setText(QString());
        main().FreqHolder->setText(text);
    }
    const QString lostText = "I have lost low level message connection with the Logger program.  If you stopped "
                             "Logger, then no problem.  If Logger is still running, then we could be in serious "
                             "trouble here.  Try stopping Logger, and restarting it";
};

TEST_F(LoggerLink, EachTextOfTheLoggerLandsInItsValue)
{
    main().mnu("mnuRadioAuto").setChecked(true);
    struct Case {
        const char* text;
        std::function<QString()> value;
        const char* expected;
    };
    auto dial = [] {
        return QString("%1 %2 %3 %4").arg(vb::Text(DialFrequency)).arg(DialKHz).arg(DialHzPart).arg(SidebandOrientation);
    };
    const Case cases[] = {
        {"FREQUENCY=14070.15USB", dial, "14070.15 14070 150 Normal"},
        {"FREQUENCY=14070.15LSB", dial, "14070.15 14070 150 Reverse"},
        {"FREQUENCY=0", dial, "0 0 0 Reverse"},
        {"FREQUENCY=7040.0625 USB", dial, "7040.0625 7040 62 Normal"},
        {"FREQUENCY=1E30LSB", dial, "7040.0625 7040 62 Normal"}, // not a dial frequency: dropped
        {"FREQUENCY=radio", dial, "0 0 0 Reverse"},
        {"CALLSIGN= w1aw", [] { return PreviousQSOCall; }, " w1aw"},
        {"callsign=K1ABC", [] { return PreviousQSOCall; }, " w1aw"},
        {"HisRST=599 ", [] { return HisRST; }, "599 "},
        {"MyRST=579", [] { return MyRST; }, "579"},
        {"LoggerCaption=Logger32 v3", [] { return LoggerWindowCaption; }, "Logger32 v3"},
        {"COMMENTS=  John Smith Boston ", [] { return QSOComment + "|" + OtherName; }, "John Smith Boston|John"},
        {"COMMENTS= Bob ", [] { return QSOComment + "|" + OtherName; }, "Bob|Bob"},
        {"LoggerBand= 20 ", [] { return CurrentBand; }, "20"},
        {"Serialnum= 42", [] { return QSOCounter; }, "42"},
        {"MYCALLSIGN= N0CALL ", [] { return DefaultCallsign; }, "N0CALL"},
    };
    for (const Case& c : cases) {
        write(c.text);
        EXPECT_EQ(c.value(), c.expected) << c.text;
    }
    // Without "Display frequency from radio" the frequency is not taken.
    main().mnu("mnuRadioAuto").setChecked(false);
    write("FREQUENCY=3580.5USB");
    EXPECT_EQ(dial(), "0 0 0 Reverse");
    EXPECT_EQ(main().Label1000->text(), "1000");
}

TEST_F(LoggerLink, PreviousQSOsTakeOnlyCommaEndedFields)
{
    struct Case {
        const char* text;
        QStringList fields;
    };
    const Case cases[] = {
        {"Previous QSOs= 3,12-Mar-2024,1405,20,BPSK, ", {"3", "12-Mar-2024", "1405", "20", "BPSK"}},
        {"Previous QSOs=4,13-Mar-2024", {"4", "b", "c", "d", "e"}},
        {"Previous QSOs=5", {"a", "b", "c", "d", "e"}},
        {"Previous QSOs=6, 1 ,,x,y,z,", {"6", " 1 ", "", "x", "y"}},
        {"Clear Previous QSOs", {"", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        for (std::size_t k = 1; k <= 5; ++k)
            PreviousQSOs[k] = QString(QChar('a' + int(k) - 1));
        write(c.text);
        const QStringList got{PreviousQSOs[1], PreviousQSOs[2], PreviousQSOs[3], PreviousQSOs[4], PreviousQSOs[5]};
        EXPECT_EQ(got, c.fields) << c.text;
    }
}

TEST_F(LoggerLink, TheRadioArrivingAtAClickedFrequencyTunesTheSignalIn)
{
    QStringList engine;
    Psk().fnSetRXFrequency = [&](std::int32_t hz, std::int32_t, std::int32_t channel) {
        engine << QString("%1/%2").arg(hz).arg(channel);
        return 0;
    };
    PSKModeActive = true;
    PresetRxAudioFreq = "1500.00";
    main().mnu("mnuRadioAuto").setChecked(true);
    PendingQSYFrequency = "14071.50";
    write("FREQUENCY=14071.4USB");
    EXPECT_EQ(PendingQSYFrequency, "14071.50");
    EXPECT_TRUE(engine.isEmpty());
    write("FREQUENCY=14071.500USB");
    EXPECT_EQ(PendingQSYFrequency, "0");
    EXPECT_EQ(engine, QStringList({"1500/0"}));
    EXPECT_EQ(main().Label1000->text(), "14072");
}

TEST_F(LoggerLink, TextsGoToTheLoggerWhileItIsThere)
{
    FakeLogger logger;
    LoggerhWnd = logger.handle;
    LoggerWindowCaption = "Logger32";
    RxLinks().SendToLogger("Turn PTT On");
    TxHooks().SendToLogger("Turn PTT Off");
    DisplayHooks().SendToLogger("Set Frequency=14070.50");
    SendToLogger(QString()); // liveness check only
    EXPECT_EQ(logger.got, QStringList({"Turn PTT On", "Turn PTT Off", "Set Frequency=14070.50"}));
    EXPECT_TRUE(boxes.messages().isEmpty());

    // No link, or standalone: nothing is looked for, sent or shown.
    LoggerWindowCaption = "Gone";
    main().mnu("mnuStandalone").setChecked(true);
    SendToLogger("LogQSO");
    main().mnu("mnuStandalone").setChecked(false);
    LoggerhWnd = 0;
    SendToLogger("LogQSO");
    EXPECT_EQ(logger.got.size(), 3);
    EXPECT_TRUE(boxes.messages().isEmpty());
}

TEST_F(LoggerLink, ALostLoggerIsReportedOnceAndTheTextDropped)
{
    FakeLogger logger;
    LoggerhWnd = logger.handle;
    LoggerPollCount = 7;
    LoggerWindowCaption = "Logger33"; // the Logger said it is called so; no such window now
    SendToLogger("Clear");
    SendToLogger("Clear");
    SendToLogger(QString());
    EXPECT_TRUE(logger.got.isEmpty());
    EXPECT_EQ(LoggerhWnd, 0);
    EXPECT_EQ(LoggerPollCount, 0);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].text, lostText);
    EXPECT_EQ(boxes.messages()[0].title, "Important Message from Sondrel ... Who turned the lights off?");
    EXPECT_EQ(boxes.messages()[0].style, dlg::OKOnly | dlg::Exclamation);
}

TEST_F(LoggerLink, TheHelloIsAnsweredAndTheLoggerWritesBack)
{
    FakeLogger logger;
    ASSERT_NE(SoundCardMessage, 0u);
    EXPECT_EQ(MainWindowProc(SoundCardMessage, logger.handle, 0), std::optional<std::intptr_t>(0));
    const win::WinHandle box = win::handleOf(main().FreqHolder);
    ASSERT_NE(box, 0);
    EXPECT_EQ(logger.got, QStringList({QString("SondrelhWndToUse=%1").arg(box), "Reset"}));
    win::SetWindowText(box, "HisRST=559");
    EXPECT_EQ(HisRST, "559");
    // "Display frequency from radio" asks the Logger again.
    logger.box.blockSignals(true);
    logger.box.clear();
    logger.box.blockSignals(false);
    main().mnu("mnuRadioAuto").click();
    EXPECT_EQ(logger.got.size(), 3);
    EXPECT_EQ(logger.got.last(), "Reset");
}

TEST_F(LoggerLink, TheStandaloneSwitchTurnsTheOwnRadioAndLogbookOnAndOff)
{
    Sondrel& w = main();
    ASSERT_FALSE(w.mnu("mnuStandalone").checked());
    w.mnu("mnuMiniLog").setChecked(true);
    w.mnu("mnuStandalone").click();
    EXPECT_TRUE(w.mnu("mnuStandalone").checked());
    EXPECT_EQ(ini("Settings", "Standalone Program"), "True");
    for (const char* name : {"mnuMiniLog", "mnuAutoCDLookup", "mnuRadioControl", "mnuPortState", "mnuShowRadioDebug"})
        EXPECT_TRUE(w.mnu(name).enabled()) << name;
    EXPECT_TRUE(w.mnu("mnuSerialNum").visible());
    EXPECT_FALSE(w.vsElastic3->isHidden());
    EXPECT_EQ(w.vsElastic3->maximumHeight(), 50);
    EXPECT_EQ(rig, QStringList({"getCommPortState()"}));
    EXPECT_EQ(calls, QStringList({"SetupRadioPort"}));
    EXPECT_EQ(w.FreqHolder->text(), "FREQUENCY=0");

    rig.clear();
    calls.clear();
    answers["getCommPortState"] = true;
    w.mnu("mnuShowRadioDebug").setChecked(true);
    DialFrequency = 14070;
    w.mnu("mnuStandalone").click();
    EXPECT_FALSE(w.mnu("mnuStandalone").checked());
    EXPECT_EQ(ini("Settings", "Standalone Program"), "False");
    for (const char* name : {"mnuMiniLog", "mnuAutoCDLookup", "mnuRadioControl", "mnuPortState", "mnuShowRadioDebug"})
        EXPECT_FALSE(w.mnu(name).enabled()) << name;
    EXPECT_FALSE(w.mnu("mnuSerialNum").visible());
    EXPECT_FALSE(w.mnu("mnuShowRadioDebug").checked());
    EXPECT_TRUE(w.vsElastic3->isHidden());
    EXPECT_EQ(rig, QStringList({"getCommPortState()", "PortOpen(False)", "setDebugWindow()"}));
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_EQ(DialFrequency, 0);
}

} // namespace

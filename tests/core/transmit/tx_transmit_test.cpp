#include "tx_support.h"

#include "core/transmit/labelcolors.h"

#include <QTest>

namespace {

using TxStart = TxFixture;

const QString kNoRadio = "The radio does not appear to be connected/responding.  You have a split TX/RX "
                         "frequency of 500 Hz set.  To avoid transmitting on your receive freq, I have "
                         "abandoned the Transmit request.  Please clear the QSX Macro, execute a $simplex$ "
                         "Macro, or connect the Radio.";
const QString kStartTimeout = "The radio did not acknowledge the QSY instruction.  To avoid transmitting on "
                              "your receive freq, I have abandoned the Transmit request.";

TEST_F(TxStart, KeysPTTTheConfiguredWayThenStartsTheEngine)
{
    struct Case {
        bool standalone;
        const char* mode;
        const char* line;
        QStringList keying;
    };
    const Case cases[] = {
        {true, "Serial Port", "RTS & DTR", {}},
        {true, "By Command", "DTR", {"rig.setPTTByCommandOn"}},
        {true, "By Shared Port", "RTS & DTR", {"rig.RTSEnable", "rig.DTREnable"}},
        {true, "By Shared Port", "RTS", {"rig.RTSEnable"}},
        {true, "By Shared Port", "DTR", {"rig.DTREnable"}},
        {false, "Serial Port", "RTS", {}},
        {false, "By Command", "RTS", {"Logger Turn PTT On"}},
        {false, "By Shared Port", "RTS & DTR", {"Logger Turn Shared PTT On"}},
    };
    for (const Case& c : cases) {
        calls.clear();
        rigArgs.clear();
        check("mnuStandalone", c.standalone);
        PTTMode = c.mode;
        PTTKeyingLine = c.line;
        ToggleTransmit();
        EXPECT_EQ(calls, c.keying + QStringList({"fnSendTXCharacter 3 -1", "fnStartTX 0"})) << c.mode << c.line;
        for (const QVariantList& args : rigArgs) {
            if (!args.isEmpty()) {
                EXPECT_EQ(args, QVariantList({true}));
            }
        }
        EXPECT_FALSE(TxActive); // only the engine's report changes it
    }
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST_F(TxStart, NetAndLongSquelchShapeTheEngineCalls)
{
    struct Case {
        bool net, longSquelch;
        int mode;
        QStringList calls;
    };
    const Case cases[] = {
        {false, false, 0, {"fnSendTXCharacter 3 -1", "fnStartTX 0"}},
        {true, false, 1, {"fnSetTXFrequency 1234", "fnSendTXCharacter 3 -1", "fnStartTX 1"}},
        {false, true, 2, {"fnStartTX 2"}},
        {true, true, 3, {"fnSetTXFrequency 1234", "fnStartTX 3"}},
    };
    EngineFreqParam = 1234;
    for (const Case& c : cases) {
        calls.clear();
        TxAudioFreqText = "1500";
        NetOn = c.net;
        LongSquelch = c.longSquelch;
        PSKMode = c.mode;
        ToggleTransmit();
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(TxAudioFreqText, c.net ? "1234" : "1500");
    }
}

TEST_F(TxStart, RttyIsAskedByItsMessage)
{
    PSKModeActive = false;
    ToggleTransmit();
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_EQ(rttyMessages(), QList<QList<qint64>>({{MMTTYMessage, 3, 2}}));
}

TEST_F(TxStart, AFailedPTTPortStopsTheStart)
{
    PTTPortFailed = true;
    PTTPortNum = 3;
    PTTMode = "Serial Port";
    ToggleTransmit();
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].text, "Failed to open Comm  3.");
    EXPECT_EQ(boxes.messages()[0].title, "Serial port error");
    EXPECT_EQ(boxes.messages()[0].style, 0);
    EXPECT_TRUE(calls.isEmpty());
}

TEST_F(TxStart, SplitQsyAsksForTheTransmitFrequencyAndWaitsForIt)
{
    struct Case {
        bool standalone;
        int offset;
        int answersAfterMs; // -1: never
        QString asked;
        bool started;
        bool refused = false; // the component refuses the frequency (and has said why)
    };
    const Case cases[] = {
        {true, 500, 2000, "14070.5", true},
        {true, -1000, 300, "14069", true},
        {false, 500, 2000, "14070.5", true},
        {true, 500, -1, "14070.5", false},
        {false, 2500, -1, "14072.5", false},
        {true, 500, 2000, "14070.5", false, true},
    };
    for (const Case& c : cases) {
        calls.clear();
        rigArgs.clear();
        boxes.clear();
        clock.advanceMs(777); // the wait counts from wherever the clock stands
        const qint64 start = clock.monotonicMs();
        check("mnuStandalone", c.standalone);
        frequencyResult = c.refused ? 1 : 0;
        PTTMode = "By Command";
        SplitOffset = c.offset;
        DialFrequency = 14070;
        labelcolor::setBack(w->DuplexBox, 0xC0C0C0);
        onYield = [&] {
            if (c.answersAfterMs >= 0 && clock.monotonicMs() - start >= c.answersAfterMs)
                DialFrequency = 14070 + c.offset / 1000.0;
        };
        ToggleTransmit();
        QStringList expected;
        if (c.standalone)
            expected << "rig.setRadioFrequency";
        else
            expected << "Logger Set Frequency=" + c.asked;
        if (c.started)
            expected << (c.standalone ? "rig.setPTTByCommandOn" : "Logger Turn PTT On") << "fnSendTXCharacter 3 -1"
                     << "fnStartTX 0";
        EXPECT_EQ(calls, expected) << c.offset;
        if (c.standalone) {
            EXPECT_EQ(rigArgs.front(), QVariantList({c.asked}));
        }
        if (c.started) {
            EXPECT_TRUE(boxes.calls().isEmpty());
            EXPECT_EQ(labelcolor::back(w->DuplexBox), 0xFF);
            EXPECT_EQ(labelcolor::fore(w->DuplexBox), 0xFFFFFF);
        } else if (c.refused) {
            // Abandoned at once, without blaming the radio for not answering.
            ASSERT_EQ(boxes.messages().size(), 1);
            EXPECT_EQ(boxes.messages()[0].text, "The radio was not tuned to the split transmit frequency of 14070.5 kHz.  "
                                                "To avoid transmitting on your receive freq, I have abandoned the Transmit "
                                                "request.  Please clear the QSX Macro, or execute a $simplex$ Macro.");
            EXPECT_EQ(boxes.messages()[0].title, "QSY refused");
            EXPECT_EQ(clock.monotonicMs(), start);
            EXPECT_EQ(labelcolor::back(w->DuplexBox), 0xC0C0C0);
        } else {
            ASSERT_EQ(boxes.messages().size(), 1);
            EXPECT_EQ(boxes.messages()[0].text, kStartTimeout);
            EXPECT_EQ(boxes.messages()[0].title, "Timeout");
            const qint64 waited = clock.monotonicMs() - start;
            EXPECT_GT(waited, 4000);
            EXPECT_LE(waited, 5000);
            EXPECT_EQ(labelcolor::back(w->DuplexBox), 0xC0C0C0);
        }
    }
}

TEST_F(TxStart, SplitWithoutADialFrequencyIsRefused)
{
    SplitOffset = 500;
    DialFrequency = 0;
    PTTMode = "By Command";
    check("mnuStandalone", true);
    ToggleTransmit();
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].text, kNoRadio);
    EXPECT_EQ(boxes.messages()[0].title, "Is your radio connected?");
    EXPECT_TRUE(calls.isEmpty());
}

TEST_F(TxStart, AnAbortOrTheProgramClosingAbandonsAWaitingStart)
{
    for (const char* how : {"Esc", "Abort label", "closing"}) {
        calls.clear();
        boxes.clear();
        SplitOffset = 500;
        DialFrequency = 14070;
        check("mnuStandalone", true);
        PTTMode = "By Command";
        int passes = 0;
        onYield = [&] {
            if (++passes != 3)
                return;
            if (QString(how) == "Esc")
                key(27, 0, 27);
            else if (QString(how) == "Abort label")
                AbortTransmit();
            else
                events::SetProgramClosing(true);
        };
        ToggleTransmit();
        EXPECT_FALSE(calls.contains("rig.setPTTByCommandOn")) << how;
        EXPECT_FALSE(calls.contains("fnStartTX 0")) << how;
        EXPECT_TRUE(boxes.calls().isEmpty()) << how;
        EXPECT_EQ(passes, 3) << how;
        events::SetProgramClosing(false);
    }
}

TEST_F(TxStart, ASecondStartDuringTheWaitIsTheSameRequest)
{
    SplitOffset = 500;
    DialFrequency = 14070;
    check("mnuStandalone", true);
    int passes = 0;
    onYield = [&] {
        ++passes;
        if (passes == 2)
            key(19); // Pause again while the radio moves
        if (passes == 4)
            DialFrequency = 14070.5;
    };
    ToggleTransmit();
    EXPECT_EQ(calls.count("rig.setRadioFrequency"), 1);
    EXPECT_EQ(calls.count("fnStartTX 0"), 1);
}

TEST_F(TxStart, EndingWaitsForTheBufferAndTurnsTheIndicatorBlue)
{
    GoToTransmit();
    calls.clear();
    ToggleTransmit();
    EXPECT_EQ(calls, QStringList({"fnSendTXCharacter 1 -1"}));
    EXPECT_EQ(labelcolor::fore(w->TxRxBox), 0xFF0000);
    EXPECT_EQ(w->TxRxBox->text(), "Transmit");
    EXPECT_TRUE(TxActive);

    PSKModeActive = false;
    calls.clear();
    ToggleTransmit();
    EXPECT_TRUE(RTTYStopPending);
    EXPECT_TRUE(rttyMessages().isEmpty());
    RequestRTTYRxAfterTx();
    RequestRTTYRxAfterTx();
    EXPECT_EQ(rttyMessages(), QList<QList<qint64>>({{MMTTYMessage, 3, 1}}));
    EXPECT_FALSE(RTTYStopPending);
}

TEST_F(TxStart, AnAbortDuringAMacroStopsTheTypingAndClearsTheMacroState)
{
    // A macro that types one character per pass and yields, as the macro interpreter does.
    RxLinks().Command1_Mouseup = [this](int, int, int, int, int) {
        AbortMacro = false;
        ReceiveAfterTx = true;
        MacroBuffer = "rest of the macro";
        ScratchText = "scratch";
        RTTYStopPending = true;
        for (QChar c : QString("CQ CQ CQ DE TEST")) {
            if (AbortMacro)
                break;
            std::int16_t code = static_cast<std::int16_t>(c.unicode());
            TypeCharToTxWindow(code);
            if (sent.size() == 4)
                key(27, 0, 27); // the operator presses Esc while the macro types
        }
    };
    key(112);
    EXPECT_EQ(sent, std::vector<int>({'C', 'Q', ' ', 'C'}));
    EXPECT_EQ(tx->text(), "");
    EXPECT_TRUE(calls.contains("fnAbortTX"));
    EXPECT_TRUE(AbortMacro);
    EXPECT_FALSE(ReceiveAfterTx);
    EXPECT_FALSE(RTTYStopPending);
    EXPECT_TRUE(MacroBuffer.isEmpty());
    EXPECT_TRUE(ScratchText.isEmpty());
    EXPECT_EQ(calls.count("BreakMacroLoop"), 3); // F1, Esc, and the abort itself

    PSKModeActive = false;
    AbortTransmit();
    EXPECT_EQ(rttyMessages(), QList<QList<qint64>>({{MMTTYMessage, 3, 0}}));
}

TEST_F(TxStart, LabelsStartAndAbort)
{
    QTest::mouseClick(w->TxRxBox, Qt::LeftButton);
    EXPECT_TRUE(calls.contains("fnStartTX 0"));
    QTest::mouseClick(w->Label4, Qt::LeftButton);
    EXPECT_TRUE(calls.contains("fnAbortTX"));
}

} // namespace

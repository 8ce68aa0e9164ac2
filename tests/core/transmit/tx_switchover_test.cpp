#include "tx_support.h"

#include "core/transmit/labelcolors.h"

#include <QTimer>

namespace {

using TxSwitch = TxFixture;

const QString kReturnTimeout = "The radio did not acknowledge the QSY instruction.  You may still be receiving "
                               "on your QSX frequency.";

TEST_F(TxSwitch, TransmitReportShowsTransmit)
{
    TxCharPointer = 9;
    GoToTransmit();
    EXPECT_TRUE(TxActive);
    EXPECT_EQ(TxCharPointer, 1);
    EXPECT_EQ(w->TxRxBox->text(), "Transmit");
    EXPECT_EQ(labelcolor::fore(w->TxRxBox), 0xFF);
    EXPECT_EQ(w->Image2->pixmap().cacheKey(), w->Green->cacheKey());
}

TEST_F(TxSwitch, ReceiveReportReleasesPTTTheConfiguredWay)
{
    struct Case {
        bool standalone;
        const char* mode;
        const char* line;
        QStringList release;
    };
    const Case cases[] = {
        {true, "Serial Port", "RTS & DTR", {}},
        {true, "By Command", "RTS", {"rig.setPTTByCommandOff"}},
        {true, "By Shared Port", "RTS & DTR", {"rig.RTSEnable", "rig.DTREnable"}},
        {true, "By Shared Port", "RTS", {"rig.RTSEnable"}},
        {true, "By Shared Port", "DTR", {"rig.DTREnable"}},
        {false, "Serial Port", "DTR", {}},
        {false, "By Command", "DTR", {"Logger Turn PTT Off"}},
        {false, "By Shared Port", "DTR", {"Logger Turn Shared PTT Off"}},
    };
    for (const Case& c : cases) {
        check("mnuStandalone", c.standalone);
        PTTMode = c.mode;
        PTTKeyingLine = c.line;
        GoToTransmit();
        preload("sent text");
        calls.clear();
        rigArgs.clear();
        GoToReceive();
        EXPECT_EQ(calls, c.release) << c.mode << c.line;
        for (const QVariantList& args : rigArgs) {
            if (!args.isEmpty()) {
                EXPECT_EQ(args, QVariantList({false}));
            }
        }
        EXPECT_FALSE(TxActive);
        EXPECT_EQ(w->TxRxBox->text(), "Receive");
        EXPECT_EQ(labelcolor::fore(w->TxRxBox), 0xFF0000);
        EXPECT_EQ(tx->text(), "");
        EXPECT_EQ(TxSentMark, 0);
        EXPECT_EQ(w->Image2->pixmap().cacheKey(), w->Red->cacheKey());
    }
}

TEST_F(TxSwitch, ReceiveReArmsTheRepeatAndLogsWhereTheQSOPanelSays)
{
    struct Case {
        std::int16_t countdown;
        bool logAfter, panelShown, standalone;
        bool timerOn;
        QStringList calls;
    };
    const Case cases[] = {
        {0, false, true, true, false, {}},
        {4, false, true, true, true, {}},
        {2, true, true, false, true, {"LogAndClear"}},
        {0, true, false, true, false, {"Logger LogQSO"}},
        {0, true, false, false, false, {"Logger LogQSO"}},
    };
    for (const Case& c : cases) {
        w->Timer1->stop();
        calls.clear();
        check("mnuStandalone", c.standalone);
        LoopCountdown = c.countdown;
        LogAfterTx = c.logAfter;
        w->vsElastic3->setVisible(c.panelShown);
        GoToReceive();
        EXPECT_EQ(w->Timer1->isActive(), c.timerOn) << c.countdown;
        EXPECT_EQ(calls, c.calls);
        EXPECT_FALSE(LogAfterTx);
    }
}

TEST_F(TxSwitch, ReturnsFromTheSplitOncePerTransmission)
{
    struct Case {
        bool standalone;
        int offset;
        double dialAtReceive;
        int answersAfterMs; // -1 never
        QString asked;      // empty: no QSY
        bool refused = false; // the component refuses the frequency
    };
    const Case cases[] = {
        {true, 2000, 14072.5, 1500, "14070.5"},
        {false, 500, 14070.5, 100, "14070"},
        {true, -1000, 14069, 2000, "14070"},
        {true, 500, 14070.5, -1, "14070"},
        {true, 500, 0, -1, ""},
        {true, 500, 14070.5, 100, "14070", true},
    };
    for (const Case& c : cases) {
        check("mnuStandalone", c.standalone);
        frequencyResult = c.refused ? 1 : 0;
        SplitOffset = c.offset;
        labelcolor::setBack(w->DuplexBox, 0xFF);
        labelcolor::setFore(w->DuplexBox, 0xFFFFFF);
        GoToTransmit();
        DialFrequency = c.dialAtReceive;
        calls.clear();
        rigArgs.clear();
        boxes.clear();
        const qint64 start = clock.monotonicMs();
        onYield = [&] {
            if (c.answersAfterMs >= 0 && clock.monotonicMs() - start >= c.answersAfterMs)
                DialFrequency = c.dialAtReceive - c.offset / 1000.0;
        };
        GoToReceive();
        QStringList expected;
        if (!c.asked.isEmpty())
            expected << (c.standalone ? QString("rig.setRadioFrequency") : "Logger Set Frequency=" + c.asked);
        EXPECT_EQ(calls, expected) << c.offset;
        if (c.standalone && !c.asked.isEmpty()) {
            EXPECT_EQ(rigArgs.front(), QVariantList({c.asked}));
        }
        if (c.refused) {
            ASSERT_EQ(boxes.messages().size(), 1);
            EXPECT_EQ(boxes.messages()[0].text, "The radio was not tuned back to the receive frequency of 14070 kHz.  "
                                                "You may still be receiving on your QSX frequency.");
            EXPECT_EQ(boxes.messages()[0].title, "QSY refused");
            EXPECT_EQ(clock.monotonicMs(), start);
        } else if (c.answersAfterMs < 0 && !c.asked.isEmpty()) {
            ASSERT_EQ(boxes.messages().size(), 1);
            EXPECT_EQ(boxes.messages()[0].text, kReturnTimeout);
            EXPECT_EQ(boxes.messages()[0].title, "Timeout");
            const qint64 waited = clock.monotonicMs() - start;
            EXPECT_GT(waited, 4000);
            EXPECT_LE(waited, 5000);
        } else {
            EXPECT_TRUE(boxes.calls().isEmpty());
        }
        EXPECT_EQ(labelcolor::fore(w->DuplexBox), 0xFF0000);
        EXPECT_EQ(labelcolor::back(w->DuplexBox), 0xC0C0C0);

        // a repeated receive report does not move the radio another split away
        calls.clear();
        GoToReceive();
        EXPECT_FALSE(calls.contains("rig.setRadioFrequency"));
        EXPECT_FALSE(calls.join(' ').contains("Set Frequency"));
    }
}

TEST_F(TxSwitch, EngineReportsMayArriveInsideTheReturnWait)
{
    check("mnuStandalone", true);
    PTTMode = "By Command";
    SplitOffset = 500;
    GoToTransmit();
    DialFrequency = 14070.5;
    int passes = 0;
    onYield = [&] {
        ++passes;
        if (passes == 2)
            GoToReceive(); // the engine repeats its report
        if (passes == 3)
            GoToTransmit(); // and a new transmission begins
        if (passes == 5)
            DialFrequency = 14070;
    };
    calls.clear();
    GoToReceive();
    EXPECT_EQ(calls.count("rig.setRadioFrequency"), 1);
    EXPECT_EQ(calls.count("rig.setPTTByCommandOff"), 2);
    EXPECT_TRUE(TxActive); // the last report wins
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST_F(TxSwitch, TheReturnWaitEndsWhenTheProgramCloses)
{
    check("mnuStandalone", true);
    SplitOffset = 500;
    GoToTransmit();
    DialFrequency = 14070.5;
    onYield = [&] { events::SetProgramClosing(true); };
    GoToReceive();
    EXPECT_EQ(clock.monotonicMs(), 100);
    EXPECT_TRUE(boxes.calls().isEmpty());
}

} // namespace

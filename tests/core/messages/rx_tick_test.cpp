// The engine tick's own steps: counters, hold flag, radio poll, Logger check, overload light
// and the flush of pending text.
#include "support/receive_fixture.h"

#include "core/messages/engine_tick.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

namespace {

using Tick = ReceiveFixture;

TEST_F(Tick, WhileHeldOnlyTheCountersMove)
{
    load();
    RxCharBuffer = "r";
    OverloadCountdown = 5;
    IMDClearCount = 3;
    SpectrumHold = true;
    const std::int16_t cycles[] = {2, 1, 2, 1};
    bool toggle = SpectrumToggle;
    for (std::int16_t expected : cycles) {
        OnEngineTick();
        toggle = !toggle;
        EXPECT_EQ(TickCycle, expected);
        EXPECT_EQ(SpectrumToggle, toggle);
    }
    EXPECT_EQ(RxCharBuffer, "r");
    EXPECT_EQ(OverloadCountdown, 5);
    EXPECT_EQ(IMDClearCount, 3);
    TickCycle = 7; // out of its range: back to 1
    OnEngineTick();
    EXPECT_EQ(TickCycle, 1);
}

TEST_F(Tick, StandaloneHandsTheRadioReadingToTheFrequencyBox)
{
    load();
    main().mnu("mnuStandalone").setChecked(true);
    struct Case {
        const char* model;
        bool portOpen;
        int debug;
        const char* text;
    };
    const Case cases[] = {
        {"Kenwood - all", false, 0, "FREQUENCY=0"},
        {"Kenwood - all", true, 1, "FREQUENCY=14070.150USB"},
        {"Kachina 505", false, 0, "FREQUENCY=14070.150USB"}, // read from its file with the port closed
    };
    for (const Case& c : cases) {
        RadioModel = c.model;
        Links().rig = [c](const QString& member, QVariantList&) -> QVariant {
            if (member == "getCommPortState")
                return c.portOpen;
            if (member == "getDebugWindowState")
                return c.debug;
            if (member == "getRadioFreq")
                return "14070.150";
            if (member == "getRadioMode")
                return "USB";
            return {};
        };
        OnEngineTick();
        EXPECT_EQ(main().FreqHolder->text(), c.text) << c.model;
        EXPECT_EQ(main().mnu("mnuPortState").checked(), c.portOpen);
        EXPECT_EQ(main().mnu("mnuShowRadioDebug").checked(), c.debug != 0);
    }
    LoggerhWnd = 9;
    for (int i = 0; i < 30; ++i)
        OnEngineTick();
    EXPECT_TRUE(loggerTexts.isEmpty()); // standalone: no Logger check
}

TEST_F(Tick, TheLoggerIsCheckedEveryEleventhTick)
{
    load();
    main().mnu("mnuStandalone").setChecked(false);
    for (int i = 0; i < 30; ++i)
        OnEngineTick();
    EXPECT_EQ(LoggerPollCount, 0); // no Logger: the counter does not move
    LoggerhWnd = 9;
    QList<int> checkedAt;
    for (int tick = 1; tick <= 33; ++tick) {
        OnEngineTick();
        if (!loggerTexts.isEmpty())
            checkedAt << tick;
        loggerTexts.clear();
    }
    EXPECT_EQ(checkedAt, QList<int>({11, 22, 33}));
}

TEST_F(Tick, TheOverloadLightLastsTenTicks)
{
    load();
    for (bool saver : {false, true}) {
        EnergySaverOn = saver;
        const QPixmap rest = saver ? *main().Orange : *main().Green;
        OverloadCountdown = 10;
        main().Image1->setPixmap(*main().Red);
        for (int i = 0; i < 9; ++i)
            OnEngineTick();
        EXPECT_EQ(main().Image1->pixmap().toImage(), main().Red->toImage());
        OnEngineTick();
        EXPECT_EQ(OverloadCountdown, 0);
        EXPECT_EQ(main().Image1->pixmap().toImage(), rest.toImage());
    }
}

TEST_F(Tick, PendingTextGoesToItsWindowOrIsDropped)
{
    load();
    Aux1TextColor = 16711680;
    RxCharBuffer = "rx";
    SentText = "tx";
    Aux1CharBuffer = "one";
    Aux2CharBuffer = "two";
    Aux1Open = true;
    Aux2Open = false; // its text is thrown away
    OnEngineTick();
    EXPECT_EQ(rxText(), "rxtx");
    main().Rx->setSelection(2, 2);
    EXPECT_EQ(main().Rx->selColor(), 255);
    EXPECT_EQ(aux1->text(), "one");
    aux1->setSelection(0, 3);
    EXPECT_EQ(aux1->selColor(), 16711680);
    EXPECT_TRUE(RxCharBuffer.isEmpty() && SentText.isEmpty() && Aux1CharBuffer.isEmpty() && Aux2CharBuffer.isEmpty());

    // Closed: the next tick drops the text.
    Aux1Open = false;
    Aux1CharBuffer = "lost";
    OnEngineTick();
    EXPECT_EQ(aux1->text(), "one");
    EXPECT_TRUE(Aux1CharBuffer.isEmpty());

    // Frozen: everything waits and comes at once afterwards; the energy saver never holds text.
    RxFreeze = true;
    EnergySaverOn = true;
    RxCharBuffer = "a";
    OnEngineTick();
    RxCharBuffer += "b";
    OnEngineTick();
    EXPECT_EQ(rxText(), "rxtx");
    RxFreeze = false;
    OnEngineTick();
    EXPECT_EQ(rxText(), "rxtxab");
}

} // namespace

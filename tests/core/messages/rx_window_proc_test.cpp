// The window procedure: every engine message and sub-case against the state it leaves.
#include "support/receive_fixture.h"

#include "core/messages/hookmodule.h"
#include "core/receive/notifications.h"
#include "platform/system/events.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "state/mmtty_block.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QToolBar>
#include <cstring>

namespace {

using WindowProc = ReceiveFixture;

TEST_F(WindowProc, PskCharactersGoToTheirChannelOrAreDropped)
{
    struct Case {
        std::intptr_t channel;
        bool aux1Open, aux2Open;
        QString rx, aux1, aux2, sent;
    };
    const Case cases[] = {
        {0, false, false, "A", "", "", ""},
        {1, false, false, "", "", "", ""},  // closed auxiliary channel: lost, not queued
        {1, true, false, "", "A", "", ""},
        {2, false, false, "", "", "", ""},
        {2, false, true, "", "", "A", ""},
        {-1, false, false, "", "", "", "A"}, // echo of a transmitted character
        {3, true, true, "", "", "", ""},
        {-2, true, true, "", "", "", ""},
    };
    for (const Case& c : cases) {
        RxCharBuffer.clear(), Aux1CharBuffer.clear(), Aux2CharBuffer.clear(), SentText.clear();
        Aux1Open = c.aux1Open;
        Aux2Open = c.aux2Open;
        EXPECT_EQ(send(2025, 'A', c.channel), 0) << c.channel;
        EXPECT_EQ(RxCharBuffer, c.rx) << c.channel;
        EXPECT_EQ(Aux1CharBuffer, c.aux1) << c.channel;
        EXPECT_EQ(Aux2CharBuffer, c.aux2) << c.channel;
        EXPECT_EQ(SentText, c.sent) << c.channel;
    }
    // a byte above 127 is a Windows-1252 character
    send(2025, 0x80, 0);
    EXPECT_EQ(RxCharBuffer, QString(QChar(0x20AC)));
}

TEST_F(WindowProc, DataReadyStoresAlwaysAndTicksUnlessHeld)
{
    load();
    RxCharBuffer = "hi";
    SpectrumHold = true;
    EXPECT_EQ(send(2024, 1234, 77), 0);
    EXPECT_EQ(EngineFreqParam, 1234);
    EXPECT_EQ(SignalLevel, 77);
    EXPECT_EQ(TickCycle, 1); // no tick at all
    EXPECT_EQ(RxCharBuffer, "hi");
    EXPECT_TRUE(rxText().isEmpty());

    SpectrumHold = false;
    send(2024, 1500, 12);
    EXPECT_EQ(TickCycle, 2);
    EXPECT_EQ(rxText(), "hi");
    EXPECT_TRUE(RxCharBuffer.isEmpty());
}

TEST_F(WindowProc, StatusMessages)
{
    load();
    EXPECT_EQ(send(2026, 1, 0), 0);
    EXPECT_TRUE(TxActive);
    EXPECT_EQ(send(2026, 0, 0), 0);
    EXPECT_FALSE(TxActive);
    EXPECT_EQ(send(2026, 2, 0), 0);
    EXPECT_EQ(OverloadCountdown, 10);
    EXPECT_TRUE(boxes.calls().isEmpty());
    EXPECT_EQ(send(2026, 17, 0), 0);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].title, "DLL Error  17");
    EXPECT_EQ(send(2026, 99, 0), 0); // unknown code: the unknown-code text
    ASSERT_EQ(boxes.messages().size(), 2);
    EXPECT_TRUE(boxes.messages()[1].text.endsWith("Unknown error."));
}

TEST_F(WindowProc, ImdAndUnknownMessages)
{
    for (std::intptr_t channel : {0, 1, 2, 3, -1})
        EXPECT_EQ(send(2027, -28, channel), 0) << channel;
    EXPECT_FALSE(MainWindowProc(2028, 0, 0).has_value());
    EXPECT_FALSE(MainWindowProc(15, 0, 0).has_value());
}

TEST_F(WindowProc, PostedMessagesArriveThroughTheHookAlsoInsideAYieldingLoop)
{
    load();
    ASSERT_TRUE(MainWindowHooked());
    win::PostMessage(MainWindowHandle, 2025, 'x', 0);
    win::PostMessage(MainWindowHandle, 2025, 'y', 0);
    events::DoEvents(); // as a macro typing loop yields
    EXPECT_EQ(RxCharBuffer, "xy");
}

TEST_F(WindowProc, LoggerHello)
{
    load();
    main().mnu("mnuStandalone").setChecked(true);
    EXPECT_EQ(send(SoundCardMessage, 4711, 0), 0);
    EXPECT_EQ(LoggerhWnd, 0);
    EXPECT_TRUE(loggerTexts.isEmpty());

    main().mnu("mnuStandalone").setChecked(false);
    send(SoundCardMessage, 4711, 0);
    EXPECT_EQ(LoggerhWnd, 4711);
    const win::WinHandle box = win::handleOf(main().FreqHolder);
    ASSERT_NE(box, 0);
    EXPECT_EQ(loggerTexts, QStringList({"SondrelhWndToUse=" + QString::number(box), "Reset"}));
}

class Rtty : public ReceiveFixture {
protected:
    void SetUp() override
    {
        ReceiveFixture::SetUp();
        load();
        PSKModeActive = false;
        engine = std::make_unique<MessageSink>();
        MMTTYhWnd = engine->handle;
    }
    void TearDown() override
    {
        engine.reset();
        ReceiveFixture::TearDown();
    }
    // Posts a notification to the main window and lets it through.
    void notify(int code, std::intptr_t l)
    {
        win::PostMessage(MainWindowHandle, MMTTYMessage, 0x8000 + code, l);
        deliver();
    }
    static std::int32_t blockLong(int offset)
    {
        std::int32_t v;
        std::memcpy(&v, MMTTYView + offset, 4);
        return v;
    }
    static void setBlockLong(int offset, std::int32_t v) { std::memcpy(MMTTYView + offset, &v, 4); }
    std::unique_ptr<MessageSink> engine;
};

TEST_F(Rtty, NotificationsLeaveTheirState)
{
    notify(0, 321);
    EXPECT_EQ(MMTTYhWnd, 321);
    MMTTYhWnd = engine->handle;
    notify(7, 2125);
    notify(8, 2295);
    notify(0x12, 170);
    EXPECT_EQ(RTTYMarkHz, 2125);
    EXPECT_EQ(RTTYSpaceHz, 2295);
    EXPECT_EQ(RTTYShiftHz, 170);
    notify(7, 70000); // no audio frequency: ignored
    EXPECT_EQ(RTTYMarkHz, 2125);

    notify(3, 'R');
    EXPECT_EQ(RxCharBuffer, "R");
    TxActive = true;
    notify(3, 'T');
    EXPECT_EQ(SentText, "T");
    EXPECT_EQ(RxCharBuffer, "R");

    notify(4, 7); // not a PTT state: ignored
    EXPECT_TRUE(TxActive);
    notify(4, 0);
    EXPECT_FALSE(TxActive);
    EXPECT_EQ(XYScopeScale, 1100);
    notify(4, 1);
    EXPECT_TRUE(TxActive);
    EXPECT_EQ(XYScopeScale, 12000);

    // codes the program does not handle are answered and dropped
    for (int code : {1, 2, 5, 0x0C, 0x13, -3})
        EXPECT_EQ(send(MMTTYMessage, 0x8000 + code, 9), 0) << code;
    EXPECT_EQ(MMTTYhWnd, engine->handle);
}

TEST_F(Rtty, LevelTickServicesTheBlockAndSetsTheSquelchOnce)
{
    main().mnu("mnuTuningWindow").setChecked(true);
    struct Case {
        std::int32_t l;
        std::int32_t level;
    };
    // (1024 in the low bits gives 100; more is capped)
    for (const Case& c : {Case{1024, 100}, Case{5000, 100}, Case{512, 50}, Case{5, 0}, Case{6, 1}}) {
        notify(0x0B, (16 * 20) << 16 | c.l);
        EXPECT_EQ(SignalLevel, c.level) << c.l;
    }
    EXPECT_FLOAT_EQ(RTTYSquelchLevel, 45); // 65 - 320 / 16, only the first time
    EXPECT_EQ(hooks.count("squelch line 45"), 1);

    RTTYSquelchLevel = 0;
    notify(0x0B, static_cast<std::int32_t>(0xFFF00000u)); // a negative high word
    EXPECT_FLOAT_EQ(RTTYSquelchLevel, 66);

    setBlockLong(mmtty::kSpectrumReady, 1);
    setBlockLong(mmtty::kXYReady, 1);
    setBlockLong(mmtty::kOverload, 3);
    setBlockLong(mmtty::kLostSound, 2);
    notify(0x0B, 0);
    EXPECT_EQ(blockLong(mmtty::kSpectrumReady), 0);
    EXPECT_EQ(blockLong(mmtty::kXYReady), 1); // XY scope off: left alone
    EXPECT_EQ(OverloadFlag, 3);
    EXPECT_EQ(OverloadCountdown, 9); // the red light, already one tick old
    XYScopeOn = true;
    notify(0x0B, 0);
    EXPECT_EQ(blockLong(mmtty::kXYReady), 0);
}

TEST_F(Rtty, FirstSwitchWordIsPostedBackThenShown)
{
    std::vector<bool> wordMarkSeen;
    main().mnu("mnuRTTYWord").setHandler([&] {
        wordMarkSeen.push_back(main().mnu("mnuRTTYWord").checked());
        main().mnu("mnuRTTYWord").setChecked(!main().mnu("mnuRTTYWord").checked());
    });
    WordBoundary = false;
    MMTTYSwitchSyncPending = true;
    notify(9, 0x0001F0A4); // AFC, band-pass, squelch, bit 16 set
    ASSERT_EQ(engine->got.size(), 1);
    EXPECT_EQ(engine->got[0].msg, MMTTYMessage);
    EXPECT_EQ(engine->got[0].w, 11);
    EXPECT_EQ(static_cast<std::uint32_t>(engine->got[0].l), (0x0001F0A4u & 0x7FFF) | 0xFFFE8000u);
    EXPECT_EQ(wordMarkSeen, std::vector<bool>{true}); // checked when WordBoundary is False
    EXPECT_FALSE(MMTTYSwitchSyncPending);
    EXPECT_EQ(main().AFCBox->text(), "AFC On");

    notify(9, 0x4);
    EXPECT_EQ(engine->got.size(), 1); // later words are only shown
    EXPECT_EQ(MMTTYFlags, 0x4);
}

TEST_F(Rtty, SwitchWordChangesOnlyWhatDiffers)
{
    main().AFCBox->setText("AFC Off");
    main().NetBox->setText("Net Off");
    MMTTYBPFOn = MMTTYSquelchOn = MMTTYPolarityFlag = true;
    MMTTYSwitch200Latch = false;
    main().Toolbar->show();
    RTTYMarkLast = 900;

    notify(9, 0x4 | 0x8 | 0x40 | 0x100 | 0x200); // BPF and squelch off
    EXPECT_EQ(main().AFCBox->text(), "AFC On");
    EXPECT_EQ(main().NetBox->text(), "Net On");
    EXPECT_TRUE(notchShown);
    EXPECT_FALSE(MMTTYBPFOn);
    EXPECT_FALSE(MMTTYSquelchOn);
    EXPECT_FALSE(MMTTYPolarityFlag);
    EXPECT_TRUE(MMTTYSwitch200Latch);
    EXPECT_EQ(RTTYMarkLast, 0);
    EXPECT_EQ(rxText(), "<AFC ON><NET ON><BPF OFF><SQUELCH OFF><REVERSE><UOS ON>");
    EXPECT_TRUE(hooks.contains("button 13 down AFC On"));
    EXPECT_TRUE(hooks.contains("button 3 down Reverse"));
    EXPECT_TRUE(hooks.contains("button 2 up BPF Off"));
    // the notes are in the control-code colour
    main().Rx->setSelection(0, 1);
    EXPECT_EQ(main().Rx->selColor(), 4194368);

    // The same word again: nothing changes, nothing is noted.
    hooks.clear();
    const QString before = rxText();
    notify(9, 0x4 | 0x8 | 0x40 | 0x100 | 0x200);
    EXPECT_EQ(rxText(), before);
    EXPECT_TRUE(hooks.isEmpty());

    // Toolbar hidden and notes off: labels change, buttons and notes do not.
    main().Toolbar->hide();
    ShowCommands = false;
    notify(9, 0);
    EXPECT_EQ(main().AFCBox->text(), "AFC Off");
    EXPECT_TRUE(MMTTYPolarityFlag);
    EXPECT_EQ(rxText(), before);
    EXPECT_FALSE(notchShown);
    EXPECT_EQ(hooks, QStringList({"notch 0"}));
}

TEST_F(Rtty, ViewWordAndNotch)
{
    main().Toolbar->show();
    notify(0x0A, 0x1000);
    EXPECT_TRUE(XYScopeOn);
    notify(0x0A, 0x1000);
    notify(0x0A, 0);
    EXPECT_FALSE(XYScopeOn);
    EXPECT_EQ(rxText(), "<SCOPE ON><SCOPE OFF>");
    EXPECT_EQ(hooks, QStringList({"button 4 down XY On", "button 4 up XY Off"}));

    hooks.clear();
    MMTTYFlags = 0x4000; // the notch needs both bits
    notify(0x11, 1000);
    EXPECT_TRUE(hooks.isEmpty());
    MMTTYFlags = 0x4020;
    HzPerTwip = 0.4;
    notify(0x11, 0x7FFF0000 | 1000); // the frequency is in the low 16 bits
    EXPECT_EQ(NotchFreq, 1000);
    EXPECT_EQ(hooks, QStringList({"notch 1", "notch at 2500"}));
    notify(0x11, 40000); // no frequency of the passband: ignored
    EXPECT_EQ(NotchFreq, 1000);
    notify(0x11, 0);
    EXPECT_FALSE(notchShown);
}

using Echo = ReceiveFixture;

TEST_F(Echo, MarksTransmittedCharactersInTheTransmitWindow)
{
    main().mnu("mnuTransmitBuffer").setChecked(true);
    main().mnu("mnuZero").setChecked(true);
    main().Tx->setText(QString("ab") + QChar(216) + "\r\nAB");
    struct Step {
        std::int16_t ch;
        int pointerAfter;
    };
    // a, then b, then "0" found as the slashed zero, the line break is skipped, then A
    for (const Step& s : {Step{'a', 2}, Step{'B', 3}, Step{'0', 4}, Step{13, 4}, Step{10, 4}, Step{'a', 7}}) {
        std::int16_t ch = s.ch;
        EchoTxChar(ch);
        EXPECT_EQ(TxCharPointer, s.pointerAfter) << s.ch;
    }
    EXPECT_EQ(SentText, "aB0\r\na"); // "0" stays "0" in the echo
    for (int p : {0, 1, 2, 5}) {
        main().Tx->setSelection(p, 1);
        EXPECT_EQ(main().Tx->selColor(), 255) << p;
    }
    main().Tx->setSelection(6, 1);
    EXPECT_NE(main().Tx->selColor(), 255);
    // not in the rest of the window: nothing changes
    std::int16_t z = 'z';
    EchoTxChar(z);
    EXPECT_EQ(TxCharPointer, 7);
    std::int16_t bs = 8;
    EchoTxChar(bs);
    EXPECT_EQ(TxCharPointer, 6);
    main().mnu("mnuTransmitBuffer").setChecked(false);
    TxCharPointer = 1;
    std::int16_t a = 'a';
    EchoTxChar(a);
    EXPECT_EQ(TxCharPointer, 1);
}

} // namespace

// The main window's own menu switches and commands.
#include "support/main_window_fixture.h"

#include "main_window/menus/menu_commands.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "platform/processes/winmsg.h"
#include "state/psk_api.h"

#include <QCoreApplication>
#include <QLabel>

namespace {

// Collects what is posted to the RTTY engine's window.
struct RttyEngine : QObject {
    std::vector<std::pair<std::intptr_t, std::intptr_t>> posted;
    bool event(QEvent* e) override
    {
        if (e->type() != win::WindowMessageEvent::eventType())
            return QObject::event(e);
        auto* m = static_cast<win::WindowMessageEvent*>(e);
        posted.emplace_back(m->wParam(), m->lParam());
        return true;
    }
};

class MenuCommands : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(main().Form_Load());
        Psk().fnSetSquelchThreshold = [this](std::int32_t t, std::int32_t s, std::int32_t ch) {
            calls << QStringLiteral("fnSetSquelchThreshold %1 %2 %3").arg(t).arg(s).arg(ch);
            return 0;
        };
        Psk().fnSetFFTMode = [this](std::int32_t a, std::int32_t b, std::int32_t c) {
            calls << QStringLiteral("fnSetFFTMode %1 %2 %3").arg(a).arg(b).arg(c);
            return 0;
        };
        Psk().fnClearTXBuffer = [this] { calls << "fnClearTXBuffer"; return 0; };
        calls.clear();
    }
    void TearDown() override
    {
        if (MMTTYhWnd)
            win::unregisterWindow(MMTTYhWnd);
        MMTTYhWnd = 0;
        PSKModeActive = true;
        ResetPsk();
        MainWindowFixture::TearDown();
    }
    MenuItem& item(const char* name) { return main().mnu(name); }
};

TEST_F(MenuCommands, TogglesInvertTheirMarkAndStoreTheirWords)
{
    const struct { const char* item; const char* section; const char* key; const char* off; const char* on; } toggles[] = {
        {"mnuLinewrap", "Settings", "LineWrap", "LineWrap False", "LineWrap True"},
        {"mnuZero", "Settings", "Slashed Zero", "Slashed Zero False", "Slashed Zero True"},
        {"mnuLongSquelch", "Settings", "Long Squelch", "Long Squelch False", "Long Squelch True"},
        {"mnuOverload", "Settings", "Overload Warning", "False", "True"},
        {"mnuTransmitBuffer", "Settings", "Transmit Buffer Indicator", "False", "True"},
        {"mnuRxwindowMouseover", "Settings", "Rx Window Mouseover", "False", "True"},
        {"mnuEnergySaver", "Settings", "EnergySaver", "Off", "On"},
        {"mnuControlCodes", "Settings", "Show Control Codes", "False", "True"},
        {"mnuTxEcho", "Settings", "TX Echo", "False", "True"},
        {"mnuAutoCDLookup", "Form View", "Auto CD Lookup", "False", "True"},
        {"mnustatusbar", "Form View", "StatusBar", "StatusBar False", "StatusBar True"},
        {"mnuMiniLog", "Mini-Log", "Visible", "False", "True"},
    };
    for (const auto& t : toggles) {
        SCOPED_TRACE(t.item);
        const bool before = item(t.item).checked();
        item(t.item).click();
        EXPECT_EQ(item(t.item).checked(), !before);
        EXPECT_EQ(ini(t.section, t.key), before ? t.off : t.on);
        item(t.item).click();
        EXPECT_EQ(item(t.item).checked(), before);
        EXPECT_EQ(ini(t.section, t.key), before ? t.on : t.off);
    }
}

TEST_F(MenuCommands, SwitchesSetWhatTheyControl)
{
    item("mnuLongSquelch").setChecked(true);
    item("mnuLongSquelch").click();
    EXPECT_FALSE(LongSquelch);
    item("mnuEnergySaver").setChecked(false);
    item("mnuEnergySaver").click();
    EXPECT_TRUE(EnergySaverOn);
    EXPECT_EQ(main().Image1->pixmap().toImage(), main().Orange->toImage());
    item("mnustatusbar").setChecked(true);
    item("mnustatusbar").click();
    EXPECT_FALSE(main().DummyStatusBar->isVisibleTo(&main()));
    item("mnuMiniLog").setChecked(false);
    item("mnuMiniLog").click();
    EXPECT_TRUE(main().vsElastic3->isVisibleTo(&main()));
    EXPECT_TRUE(item("mnuSerialNum").visible());
    item("mnuMiniLog").click();
    EXPECT_FALSE(main().vsElastic3->isVisibleTo(&main()));
    EXPECT_FALSE(item("mnuSerialNum").visible());
}

TEST_F(MenuCommands, ChoicesCheckOneItemSetTheirVariableAndStoreTheirWord)
{
    const struct { const char* item; const char* section; const char* key; const char* word; std::function<int()> var; int value; } choices[] = {
        {"mnuSquelchFast", "Main Tuning Window", "Squelch Speed", "Fast", [] { return int(SquelchSpeed); }, 0},
        {"mnuSquelchSlow", "Main Tuning Window", "Squelch Speed", "Slow", [] { return int(SquelchSpeed); }, 1},
        {"mnuMediumDisplay", "Settings", "Display Smoothing", "Medium Smoothing", [] { return int(FFTModeParam1); }, 3},
        {"mnuSlowDisplay", "Settings", "Display Smoothing", "Heavy Smoothing", [] { return int(FFTModeParam1); }, 6},
        {"mnuFastDisplay", "Settings", "Display Smoothing", "No Smoothing", [] { return int(FFTModeParam1); }, 1},
        {"mnu19WPM", "Settings", "CW ID Speed", "19 WPM", [] { return int(CWIDSpeed); }, 2},
        {"mnu9WPM", "Settings", "CW ID Speed", "9 WPM", [] { return int(CWIDSpeed); }, 4},
        {"mnuAllCaps", "Settings", "Typing Preference", "ALL CAPS", [] { return int(TxCaseMode); }, 2},
        {"mnulowercase", "Settings", "Typing Preference", "all lowercase", [] { return int(TxCaseMode); }, 3},
        {"mnuRAC", "CD Lookup", "CD Type", "RAC", [] { return 0; }, 0},
    };
    for (const auto& c : choices) {
        SCOPED_TRACE(c.item);
        item(c.item).click();
        EXPECT_TRUE(item(c.item).checked());
        EXPECT_EQ(ini(c.section, c.key), c.word);
        EXPECT_EQ(c.var(), c.value);
    }
    for (const char* off : {"mnuSquelchFast", "mnuMediumDisplay", "mnuSlowDisplay", "mnu19WPM", "mnuAsTyped", "mnuAllCaps",
                            "mnuCDNone"})
        EXPECT_FALSE(item(off).checked()) << off;
    // the squelch is set again at the level in force (100 - 52 * 1.5625 = 18.75)
    EXPECT_TRUE(calls.contains("fnSetSquelchThreshold 19 0 0"));
    EXPECT_TRUE(calls.contains("fnSetSquelchThreshold 19 1 0"));
    EXPECT_TRUE(calls.contains("fnSetFFTMode 6 100 0"));
}

TEST_F(MenuCommands, CallbookNoneDisablesTheLookupAndOthersEnableItOnlyWithTheMiniLog)
{
    item("mnuAutoCDLookup").setChecked(true);
    item("mnuCDNone").click();
    EXPECT_FALSE(item("mnuAutoCDLookup").checked());
    EXPECT_FALSE(item("mnuAutoCDLookup").enabled());
    item("mnuMiniLog").setChecked(false);
    item("mnuQRZ").click();
    EXPECT_FALSE(item("mnuAutoCDLookup").enabled());
    item("mnuMiniLog").setChecked(true);
    item("mnuHamCall").click();
    EXPECT_TRUE(item("mnuAutoCDLookup").enabled());
    EXPECT_FALSE(item("mnuAutoCDLookup").checked());
    EXPECT_EQ(ini("CD Lookup", "CD Type"), "Hamcall");
}

TEST_F(MenuCommands, DefaultCallsign)
{
    const struct { std::optional<QString> answer; const char* kept; } cases[] = {
        {QString("w1aw/15chars12"), "W1AW/15CHARS12"},
        {QString("AB1CDE/ABCDEFGH"), "AB1CDE/ABCDEFGH"}, // 15 characters
        {QString("AB1CDE/ABCDEFGHI"), "AB1CDE/ABCDEFGH"}, // 16: the old one stays
        {QString(""), "AB1CDE/ABCDEFGH"},
        {std::nullopt, "AB1CDE/ABCDEFGH"},
    };
    for (const auto& c : cases) {
        boxes.clear();
        boxes.answerInput(c.answer);
        item("mnuCWID").click();
        EXPECT_EQ(DefaultCallsign, c.kept);
        EXPECT_EQ(ini("Settings", "Default CW ID"), c.kept);
        ASSERT_EQ(boxes.calls().size(), 1);
        EXPECT_EQ(boxes.calls()[0].title, "CW ID");
        EXPECT_TRUE(boxes.calls()[0].text.startsWith("Please enter the Callsign for your CWID, $call$ Macro"));
    }
}

TEST_F(MenuCommands, QsoNumberCounters)
{
    QSOCounter = "58";
    item("mnuSetCounter").click();
    EXPECT_EQ(item("mnuSerialNum").caption(), "QSO # 1");
    EXPECT_EQ(ini("Settings", "QSOOffsetCounter"), "57");
    QSOCounter = "59";
    item("mnuSetCounter").click();
    QSOCounter = "60"; // one more QSO logged
    item("mnuResetCounter").click();
    EXPECT_EQ(item("mnuSerialNum").caption(), "QSO # 60");
    EXPECT_EQ(ini("Settings", "QSOOffsetCounter"), "0");
}

TEST_F(MenuCommands, ClearCommandsEmptyTheWindowsAndTheActiveEnginesBuffer)
{
    RttyEngine engine;
    MMTTYhWnd = win::registerWindow(&engine);
    main().Rx->setText("received");
    main().Tx->setText("typed");
    item("mnuClearBoth").click();
    EXPECT_EQ(main().Rx->text(), "");
    EXPECT_EQ(main().Tx->text(), "");
    EXPECT_EQ(calls, QStringList{"fnClearTXBuffer"});
    calls.clear();
    PSKModeActive = false;
    main().Rx->setText("kept");
    item("mnuClearTx").click();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_EQ(main().Rx->text(), "kept");
    EXPECT_EQ(engine.posted, (std::vector<std::pair<std::intptr_t, std::intptr_t>>{{3, 4}}));
}

TEST_F(MenuCommands, RttyNotchIsPlacedOnlyInsideThePassbandAndOnlyInRtty)
{
    RttyEngine engine;
    MMTTYhWnd = win::registerWindow(&engine);
    using Posts = std::vector<std::pair<std::intptr_t, std::intptr_t>>;
    const float at3500 = static_cast<float>(3500.5 / HzPerTwip);
    SetNotchAt(at3500);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(engine.posted.empty()); // PSK engine active
    PSKModeActive = false;
    MMTTYFlags = 0;
    SetNotchAt(at3500);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(engine.posted, (Posts{{23, 3501}, {23, 3500}, {11, 0x40}}));
    engine.posted.clear();
    SetNotchAt(at3500); // notch already on
    SetNotchAt(static_cast<float>(3501.5 / HzPerTwip));
    SetNotchAt(static_cast<float>(299.5 / HzPerTwip));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(engine.posted, (Posts{{23, 3501}, {23, 3500}}));
}

TEST_F(MenuCommands, HelpAndVolumeControlStayInactive)
{
    for (const char* name : {"mnuHelp", "mnuSCinput", "mnuSCoutput"}) {
        EXPECT_FALSE(item(name).enabled()) << name;
        EXPECT_FALSE(item(name).caption().isEmpty()) << name;
    }
}

} // namespace

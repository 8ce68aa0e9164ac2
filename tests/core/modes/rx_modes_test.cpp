// Mode selection, the PSK engine's start, AFC and Net, and the macro set of a mode.
#include "support/receive_fixture.h"

#include "core/macros/macro_buttons.h"
#include "core/macros/macro_services.h"
#include "core/macros/macrobutton.h"
#include "core/messages/hookmodule.h"
#include "core/modes/modeselection.h"
#include "core/receive/rx_links.h"
#include "platform/system/inifile.h"
#include "platform/widgets/menuitem.h"

#include <QLabel>
#include <QTest>
#include <QToolBar>

namespace {

class Modes : public ReceiveFixture {
protected:
    void SetUp() override
    {
        ReceiveFixture::SetUp();
        load();
        PSKModeActive = false; // before the first start
        psk.clear();
    }
    void write(const char* section, const char* key, const QString& value)
    {
        ini::write(home->file("Sondrel.INI"), section, key, value);
    }
    QStringList checkedModes()
    {
        QStringList on;
        for (const char* n : {"mnuBPSK", "mnuQPSK", "mnuQPSKInv", "mnuCW", "mnuTune"})
            if (main().mnu(n).checked())
                on << n;
        for (int i = 0; i <= 10; ++i)
            if (main().mnu("mnuRTTY", i).checked())
                on << QStringLiteral("mnuRTTY(%1)").arg(i);
        return on;
    }
};

TEST_F(Modes, FirstStartHandsTheEngineEverySettingInOrder)
{
    PSKSquelchLevel = 24; // 100 - 37.5 = 62.5: halves go to even
    Aux1CursorX = 3582;   // 1400 Hz at ScaleWidth 10
    Aux1AFCRange = 0;
    ClockErrorPPM = -12;
    PTTPortNum = 3;
    main().mnu("mnuRTTY", 2).setChecked(true);
    mnuBPSK_Click();
    const QString h = QString::number(MainWindowHandle);
    EXPECT_EQ(psk, QStringList({"fnStartSoundCard(" + h + ",-1,3)", "fnSetFFTMode(1,100,0)", "fnSetAFCLimit(100,0)",
                                "fnSetClockErrorAdjustment(-12)", "fnSetRXFrequency(1500,45,0)",
                                "fnSetRXFrequency(1400,0,1)", "fnSetRXFrequency(1600,45,2)",
                                "fnSetSquelchThreshold(62,1,0)", "fnGetDLLVersion()", "fnSetComPort(3,2)",
                                "fnSetRXPSKMode(0,0)"}));
    EXPECT_TRUE(PSKModeActive);
    EXPECT_EQ(PSKDLLVersion, 100);
    EXPECT_EQ(checkedModes(), QStringList({"mnuBPSK"}));
    EXPECT_EQ(main().ModeLabel->text(), "BPSK");
    EXPECT_EQ(ModeText, "BPSK");
    EXPECT_EQ(LogMode, "BPSK");
    EXPECT_EQ(ini("Mode", "Mode"), "BPSK");
    for (const char* n : {"mnuRTTYToolbar", "mnuRTTYCommands", "mnuSetupRTTYProfiles"})
        EXPECT_FALSE(main().mnu(n).enabled()) << n;
    EXPECT_TRUE(main().mnu("mnuAux1").enabled());
    EXPECT_TRUE(main().Toolbar->isHidden());
    EXPECT_EQ(hooks, QStringList({"notch 0"}));
}

TEST_F(Modes, BetweenPskModesOnlyTheCommonTailRuns)
{
    mnuBPSK_Click();
    struct Case {
        void (*command)();
        const char* item;
        const char* label;
        const char* logText;
        int mode;
    };
    const Case cases[] = {
        {mnuQPSK_Click, "mnuQPSK", "QPSK", "QPSK", 1},
        {mnuQPSKInv_Click, "mnuQPSKInv", "QPSK-I", "QPSK", 2},
        {mnuTune_Click, "mnuTune", "Tune", "", 3},
        {mnuBPSK_Click, "mnuBPSK", "BPSK", "BPSK", 0},
    };
    for (const Case& c : cases) {
        psk.clear();
        c.command();
        EXPECT_EQ(psk, QStringList({"fnSetComPort(0,2)", QStringLiteral("fnSetRXPSKMode(%1,0)").arg(c.mode)})) << c.label;
        EXPECT_EQ(checkedModes(), QStringList({c.item}));
        EXPECT_EQ(main().ModeLabel->text(), c.label);
        EXPECT_EQ(ini("Mode", "Mode"), c.label);
        EXPECT_EQ(ModeText, c.logText);
        EXPECT_EQ(LogMode, c.logText);
    }
}

TEST_F(Modes, NothingChangesWhileTransmitting)
{
    mnuBPSK_Click();
    psk.clear();
    TxActive = true;
    mnuQPSK_Click();
    main().ModeLabel->setText("BPSK");
    ModeBox_Click();
    EXPECT_TRUE(psk.isEmpty());
    EXPECT_EQ(PSKMode, 0);
    EXPECT_EQ(ini("Mode", "Mode"), "BPSK");
}

TEST_F(Modes, TheModeLabelSteps)
{
    mnuBPSK_Click();
    DefaultProfile = 4;
    const std::pair<const char*, const char*> steps[] = {
        {"BPSK", "QPSK"}, {"QPSK", "QPSK-I"}, {"RTTY", "Tune"}, {"Tune", "BPSK"}, {"Nonsense", "Nonsense"}};
    for (const auto& [from, to] : steps) {
        main().ModeLabel->setText(from);
        ModeBox_Click();
        EXPECT_EQ(main().ModeLabel->text(), to) << from;
    }
    main().ModeLabel->setText("QPSK-I");
    ModeBox_Click();
    EXPECT_EQ(hooks.last(), "mnuRTTY_Click(4)");
}

TEST_F(Modes, ClicksOnTheStatusBarLabels)
{
    mnuBPSK_Click();
    main().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
    // through the window, as a real click is routed
    auto click = [this](QWidget* label, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(main().windowHandle(), button, {}, label->mapTo(&main(), label->rect().center()));
    };
    click(main().ModeLabel);
    EXPECT_EQ(main().ModeLabel->text(), "QPSK");
    click(main().AFCBox);
    EXPECT_EQ(main().AFCBox->text(), "AFC Off");
    click(main().NetBox);
    EXPECT_EQ(main().NetBox->text(), "Net Off");
    click(main().NetBox, Qt::RightButton); // only the left button clicks
    EXPECT_EQ(main().NetBox->text(), "Net Off");
}

TEST_F(Modes, TheStartFrequency)
{
    struct Case {
        const char* presetOn;
        const char* preset;
        const char* last;
        int hz;
    };
    const Case cases[] = {
        {"True", "1500.00", "1800", 1500},
        {"False", "1500.00", "1800", 1800},
        {"False", "1500.00", "1800.5", 1800}, // halves to even
        {"False", "1500.00", "1801.5", 1802},
        {"False", "1200", "70000", 1200},     // does not fit 16 bits: the preset
        {"False", "1200", "100", 1200},       // below the passband
        {"False", "1200", "3600", 1200},
        {"False", "1200", "", 1200},          // never stored
        {"True", "abc", "", 1500},            // no preset either
        {"Maybe", "1200", "1700", 1700},
    };
    for (const Case& c : cases) {
        PresetAudioDefaultsOn = c.presetOn;
        PresetRxAudioFreq = c.preset;
        LastRxAudioFreq = c.last;
        EXPECT_EQ(StartRxFrequency(), c.hz) << c.presetOn << " " << c.preset << " " << c.last;
    }
}

TEST_F(Modes, AStartErrorIsShownAndEndsTheProgram)
{
    startResult = 21;
    mnuQPSK_Click();
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].text, "Bad device ID or Soundcard not present.");
    EXPECT_EQ(boxes.messages()[0].title, "DLL Error  21");
    EXPECT_EQ(hooks.last(), "EndProgram");
    EXPECT_EQ(psk.size(), 1);
}

TEST_F(Modes, EndingReleasesTheLogbookAndTheHook)
{
    ASSERT_TRUE(MainWindowHooked());
    LogbookHandle = 5;
    ReleaseBeforeEnd();
    EXPECT_EQ(calls, QStringList({"VmxClose"}));
    EXPECT_FALSE(MainWindowHooked());
    EXPECT_TRUE(SpectrumHold);
}

TEST_F(Modes, AuxiliaryWindowsReopenOnTheFirstStart)
{
    QStringList opened;
    main().mnu("mnuAux1").setHandler([&] { opened << "Aux1"; });
    main().mnu("mnuAux2").setHandler([&] { opened << "Aux2"; });
    Aux2Reopen = true;
    mnuBPSK_Click();
    mnuQPSK_Click();
    EXPECT_EQ(opened, QStringList({"Aux2"}));
}

TEST_F(Modes, TheSavedModeIsStarted)
{
    struct Case {
        const char* saved;
        const char* label;
        QString hook;
    };
    DefaultProfile = 2;
    for (const Case& c : {Case{"QPSK-I", "QPSK-I", ""}, Case{"Tune", "Tune", ""}, Case{"RTTY", "", "mnuRTTY_Click(2)"},
                          Case{"QPSK", "QPSK", ""}, Case{"BPSK", "BPSK", ""}}) {
        hooks.clear();
        main().ModeLabel->clear();
        ModeName = c.saved;
        SetModeFromINI();
        EXPECT_EQ(main().ModeLabel->text(), c.label) << c.saved;
        EXPECT_EQ(hooks.filter("mnuRTTY").join(""), c.hook) << c.saved;
    }
    // Not yet loaded: read from the settings file.
    ModeName.clear();
    write("Mode", "Mode", "QPSK");
    SetModeFromINI();
    EXPECT_EQ(main().ModeLabel->text(), "QPSK");

    ModeName = "bpsk";
    SetModeFromINI();
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].text,
              "Error reading 'Mode' part of the .INI file.  bpsk does not appear to be a valid entry");
    EXPECT_EQ(boxes.messages()[0].title, ".INI Error");
}

TEST_F(Modes, AfcAndNet)
{
    write("Settings", "AFC On/Off", "Off");
    write("Settings", "Net", "Net Off");
    mnuBPSK_Click();
    EXPECT_EQ(main().AFCBox->text(), "AFC Off");
    EXPECT_TRUE(psk.contains("fnSetAFCLimit(0,0)"));
    EXPECT_EQ(main().NetBox->text(), "Net Off");
    EXPECT_FALSE(NetOn);

    psk.clear();
    EngineFreqParam = 1234;
    AFCBox_Click();
    EXPECT_EQ(main().AFCBox->text(), "AFC On");
    EXPECT_EQ(ini("Settings", "AFC On/Off"), "On");
    EXPECT_EQ(psk, QStringList({"fnSetAFCLimit(100,0)", "fnSetRXFrequency(1234,45,0)"}));
    AFCBox_Click();
    EXPECT_EQ(ini("Settings", "AFC On/Off"), "Off");
    EXPECT_EQ(AFCRange, 0);

    NetBox_Click();
    EXPECT_EQ(main().NetBox->text(), "Net On");
    EXPECT_TRUE(NetOn);
    EXPECT_EQ(ini("Settings", "Net"), "Net On");
    main().NetBox->setText("Odd");
    NetBox_Click();
    EXPECT_EQ(main().NetBox->text(), "Odd");

    // In RTTY the engine is told, with the bit turned over; the label follows its report.
    PSKModeActive = false;
    MessageSink engine;
    MMTTYhWnd = engine.handle;
    MMTTYFlags = 0x24;
    AFCBox_Click();
    NetBox_Click();
    deliver();
    ASSERT_EQ(engine.got.size(), 2);
    EXPECT_EQ(engine.got[0].w, 11);
    EXPECT_EQ(engine.got[0].l, 0x20);
    EXPECT_EQ(engine.got[1].l, 0x2C);
    EXPECT_EQ(main().NetBox->text(), "Odd");
    MMTTYhWnd = 0;
}

TEST_F(Modes, AnUnknownNetWordIsReported)
{
    write("Settings", "Net", "Net Maybe");
    LoadAFCSettings();
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].text,
              "Error reading 'Settings' part of the .INI file.  Net Maybe does not appear to be a valid entry");
}

TEST_F(Modes, TheMacroSetOfAMode)
{
    write("Macro", "Macro #1", "CQ CQ~de me");
    write("Macro", "Macro Caption #1", "CQ & call");
    write("Macro", "Macro BackColor #1", "255");
    write("Macro", "Macro Fontsize #1", "10");
    write("Macro", "Macro Fontbold #1", "True");
    write("Macro", "Macro MouseOver Fontitalic #1", "True");
    write("RTTY Macro", "Macro #1", "RYRYRY");
    LoadMacroSet("Macro");
    EXPECT_EQ(MacroTexts[1], "CQ CQ\r\nde me");
    EXPECT_EQ(MacroCaptions[1], "CQ & call");
    EXPECT_EQ(main().Command1[1]->text(), "CQ && call");
    EXPECT_EQ(MacroBackColor[1], 255);
    EXPECT_EQ(MacroFontSize[1], 10);
    EXPECT_TRUE(MacroFontBold[1]);
    EXPECT_FALSE(MacroFontItalic[1]);
    EXPECT_TRUE(MacroMouseOverFontItalic[1]);
    // the defaults
    EXPECT_EQ(MacroTexts[36], "");
    EXPECT_EQ(MacroCaptions[36], "");
    EXPECT_EQ(MacroBackColor[36], 14671839);
    EXPECT_EQ(MacroFontName[36], "MS Sans Serif");
    EXPECT_EQ(MacroFontSize[36], 8);
    LoadMacroSet("RTTY Macro");
    EXPECT_EQ(MacroTexts[1], "RYRYRY");
}

} // namespace

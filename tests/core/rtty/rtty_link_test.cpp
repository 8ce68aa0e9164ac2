// The RTTY engine link: the engine's start and RTTY selection, the way back to PSK, the
// commands of the profile menus, the toolbar and the RTTY menus, against a stand-in for the
// engine's window.
#include "support/receive_fixture.h"

#include "core/modes/modeselection.h"
#include "core/receive/rx_links.h"
#include "core/rtty/rtty_link.h"
#include "platform/system/inifile.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/picturebox.h"
#include "state/mmtty_block.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTextEdit>
#include <QToolBar>
#include <cstring>

namespace {

using Post = std::pair<std::intptr_t, std::intptr_t>;

class RttyLink : public ReceiveFixture {
protected:
    void SetUp() override
    {
        ReceiveFixture::SetUp();
        load();
        win::SetWindowText(engine.handle, QStringLiteral("MMTTY Engine"));
        RttyLinks().StartProcess = [this](const QString& line, int& number, QString& text) {
            started << line;
            number = startError;
            text = QStringLiteral("File not found");
            return startError == 0;
        };
        RttyLinks().UnloadAuxWindow = [this](int ch) { hooks << QStringLiteral("unload aux %1").arg(ch); };
        RttyLinks().ShowAddProfile = [this] { hooks << QStringLiteral("add profile %1").arg(ProfileSlot); };
        MMTTYRunning = false;
        ProfilesAvailable = false;
        ToolbarOn = false;
        WatchdogTime = 0;
        RTTYShiftHz = 0;
        ShowCommands = false;
    }
    void TearDown() override
    {
        ResetRttyLinks();
        MMTTYRunning = false;
        ReceiveFixture::TearDown();
    }
    // The commands the engine window has been posted, (code, value).
    QList<Post> posts()
    {
        deliver();
        QList<Post> out;
        for (const auto& m : engine.got)
            if (m.msg == MMTTYMessage)
                out.append({m.w, m.l});
        engine.got.clear();
        return out;
    }
    void runningEngine()
    {
        MMTTYRunning = true;
        PSKModeActive = false;
        MMTTYhWnd = engine.handle;
    }
    QString blockText(int offset, int n) { return QString::fromLatin1(reinterpret_cast<const char*>(MMTTYView + offset), n); }
    QAction* toolbarAction(const QString& name) { return main().Toolbar->findChild<QAction*>(name); }
    void writeProfiles(std::initializer_list<std::pair<int, const char*>> names)
    {
        for (const auto& [n, name] : names)
            ini::write(home->file("UserPara.INI"), QStringLiteral("Define%1").arg(n), "Name", name);
    }

    MessageSink engine;
    QStringList started;
    int startError = 0;
};

TEST_F(RttyLink, SwitchingToRttyAndBackToPsk)
{
    mnuBPSK_Click();
    psk.clear();
    calls.clear();
    EngineFreqParam = 1432;
    Aux1Open = true;
    ToolbarOn = true;
    PTTPortNum = 2;
    WatchdogTime = 30;
    main().mnu("mnuRTTYWatchdog").setChecked(true);
    main().mnu("mnuDisplay").setChecked(true);

    main().mnu("mnuRTTY", 0).click();

    EXPECT_EQ(LastRxAudioFreq, "1432");
    EXPECT_TRUE(calls.contains("fnStopSoundCard"));
    EXPECT_TRUE(hooks.contains("unload aux 1"));
    EXPECT_FALSE(hooks.contains("unload aux 2"));
    EXPECT_TRUE(Aux1Reopen);
    EXPECT_FALSE(SpectrumHold);
    EXPECT_FALSE(main().mnu("mnuAux1").enabled());
    for (const char* n : {"mnuRTTYToolbar", "mnuRTTYCommands", "mnuSetupRTTYProfiles"})
        EXPECT_TRUE(main().mnu(n).enabled()) << n;
    EXPECT_TRUE(main().mnu("mnuRTTYToolbar").checked());
    EXPECT_FALSE(main().Toolbar->isHidden());
    EXPECT_FALSE(PSKModeActive);
    EXPECT_EQ(blockText(mmtty::kPortName, 8), QString("COM2") + QChar(0) + "   ");
    EXPECT_TRUE(MMTTYSwitchSyncPending);
    EXPECT_EQ(started, QStringList({"MMTTY.EXE -m -p"}));
    EXPECT_EQ(main().ModeLabel->text(), "RTTY");
    EXPECT_EQ(ModeText, "RTTY");
    EXPECT_EQ(LogMode, "RTTY");
    EXPECT_EQ(ini("Mode", "Mode"), "RTTY");
    EXPECT_EQ(MMTTYhWnd, engine.handle);
    EXPECT_EQ(posts(), (QList<Post>{{0, MainWindowHandle}, {1, 0}, {25, 30}, {12, 0}}));
    EXPECT_TRUE(MMTTYRunning);
    EXPECT_EQ(PSKMode, 4);
    EXPECT_TRUE(main().mnu("mnuRTTY", 0).checked());
    EXPECT_EQ(RTTYShiftHz, 170);
    EXPECT_TRUE(iniText().contains("Default Profile= 0\r\n"));

    // Back to PSK: the engine is told to quit and the PSK engine starts again.
    mnuQPSK_Click();
    EXPECT_EQ(posts(), (QList<Post>{{2, 0}}));
    EXPECT_FALSE(MMTTYRunning);
    EXPECT_TRUE(PSKModeActive);
    EXPECT_TRUE(psk.contains(QStringLiteral("fnStartSoundCard(%1,-1,3)").arg(MainWindowHandle)));
    EXPECT_TRUE(main().Toolbar->isHidden());
    EXPECT_FALSE(main().mnu("mnuRTTYToolbar").enabled());
    EXPECT_EQ(main().ModeLabel->text(), "QPSK");
}

TEST_F(RttyLink, ProfileWhileRunningPostsOnlyTheSelection)
{
    runningEngine();
    ProfilesAvailable = true;
    main().mnu("mnuRTTY", 3).click();
    EXPECT_TRUE(started.isEmpty());
    EXPECT_EQ(posts(), (QList<Post>{{24, 3}}));
    EXPECT_TRUE(iniText().contains("Default Profile= 3\r\n"));
    EXPECT_EQ(DefaultProfile, 3);
    // Nothing while transmitting.
    TxActive = true;
    mnuRTTY_Click(4);
    EXPECT_TRUE(posts().isEmpty());
    EXPECT_EQ(DefaultProfile, 3);
}

TEST_F(RttyLink, EngineThatCannotStartIsReportedAndTheSwitchCompletes)
{
    startError = 53;
    PTTPortNum = 0;
    mnuRTTY_Click(0);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].text, "Error # 53 File not found\r\n\r\nUnable to start MMTTY RTTY Engine.");
    EXPECT_EQ(boxes.messages()[0].style, 0);
    EXPECT_EQ(blockText(mmtty::kPortName, 8), QString("NONE") + QChar(0) + "   ");
    EXPECT_EQ(main().ModeLabel->text(), "RTTY");
    EXPECT_EQ(ini("Mode", "Mode"), "RTTY");
    EXPECT_TRUE(MMTTYRunning);
    EXPECT_TRUE(main().Toolbar->isHidden());
}

TEST_F(RttyLink, ProfileNamesFromTheEngineFile)
{
    // No file: only the first entry, with its design caption.
    LoadRTTYProfiles();
    EXPECT_FALSE(ProfilesAvailable);
    EXPECT_TRUE(main().mnu("mnuRTTY", 0).visible());
    EXPECT_EQ(main().mnu("mnuRTTY", 0).caption(), "RTTY 170Hz shift");
    for (int n = 1; n <= 10; ++n) {
        EXPECT_FALSE(main().mnu("mnuRTTY", n).visible()) << n;
        EXPECT_FALSE(toolbarAction(QStringLiteral("ButtonMenu%1").arg(n + 1))->isVisible()) << n;
    }
    EXPECT_EQ(toolbarAction("ButtonMenu1")->text(), "RTTY 170Hz shift");

    writeProfiles({{0, "  Standard 170 "}, {3, "Contest 45"}});
    LoadRTTYProfiles();
    EXPECT_TRUE(ProfilesAvailable);
    EXPECT_EQ(main().mnu("mnuRTTY", 0).caption(), "Standard 170");
    EXPECT_TRUE(main().mnu("mnuRTTY", 3).visible());
    EXPECT_EQ(main().mnu("mnuRTTY", 3).caption(), "Contest 45");
    EXPECT_EQ(main().mnu("mnuAssignProfile", 3).caption(), "Contest 45");
    EXPECT_EQ(main().mnu("mnuDeleteProfile", 3).caption(), "Contest 45");
    EXPECT_EQ(main().mnu("mnuAssignProfile", 2).caption(), "");
    EXPECT_EQ(toolbarAction("ButtonMenu4")->text(), "Contest 45");
    EXPECT_TRUE(toolbarAction("ButtonMenu4")->isVisible());
    EXPECT_EQ(ProfileNames[3], QString("Contest 45") + QChar(0) + QString(21, u' '));

    // A name only in a later slot is enough.
    writeProfiles({{0, ""}});
    LoadRTTYProfiles();
    EXPECT_TRUE(ProfilesAvailable);
}

TEST_F(RttyLink, ProfileMenus)
{
    runningEngine();
    writeProfiles({{0, "Std"}, {5, "Five"}});
    LoadRTTYProfiles();
    main().mnu("mnuDeleteProfile", 5).click();
    EXPECT_FALSE(main().mnu("mnuRTTY", 5).visible());
    EXPECT_EQ(main().mnu("mnuRTTY", 5).caption(), "");
    EXPECT_FALSE(toolbarAction("ButtonMenu6")->isVisible());
    EXPECT_EQ(toolbarAction("ButtonMenu6")->text(), "");
    main().mnu("mnuDeleteProfile", 0).click();
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].title, "Can't do this");
    EXPECT_TRUE(boxes.messages()[0].text.endsWith("\r\n\r\n a) Stop Sondrel\r\n b) Rename or delete UserPara.ini\r\n c) Run Sondrel."));
    EXPECT_EQ(main().mnu("mnuRTTY", 0).caption(), "Std");
    main().mnu("mnuLoadProfile").click();
    main().mnu("mnuSaveProfile").click();
    main().mnu("mnuAssignProfile", 7).click();
    EXPECT_EQ(posts(), (QList<Post>{{24, 131077}, {24, 196608}, {24, 262144}}));
    EXPECT_TRUE(hooks.contains("add profile 7"));
    // The drop-down selects a profile.
    ProfilesAvailable = true;
    toolbarAction("ButtonMenu3")->trigger();
    EXPECT_EQ(posts(), (QList<Post>{{24, 2}}));
}

TEST_F(RttyLink, ToolbarButtonsPostTheirCommands)
{
    runningEngine();
    MMTTYFlags = 0x80 | 0x4;
    MMTTYViewWord = 0x40;
    struct Case {
        int button;
        QList<Post> expected;
    } cases[] = {
        {1, {{11, 0x04}}}, {2, {{11, 0xA4}}}, {3, {{11, 0x184}}}, {4, {{14, 0x1040}}}, {5, {{11, 0x284}}},
        {7, {{17, 1}}},    {8, {{17, 0}}},    {10, {{13, 0}}},     {12, {{11, 0x8C}}}, {13, {{11, 0x80}}},
        {17, {}},
    };
    for (const Case& c : cases) {
        toolbarAction(QStringLiteral("Button%1").arg(c.button))->trigger();
        EXPECT_EQ(posts(), c.expected) << "button " << c.button;
    }
    // The words change only when the engine reports back; the pressed look likewise.
    EXPECT_EQ(MMTTYFlags, 0x84);
    EXPECT_FALSE(toolbarAction("Button1")->isChecked());
    SetToolbarButton(1, true, "SQ Off");
    EXPECT_TRUE(toolbarAction("Button1")->isChecked());
    EXPECT_EQ(toolbarAction("Button1")->text(), "SQ Off");
    // Shift notes with "Show RTTY commands" on.
    ShowCommands = true;
    Toolbar_ButtonClick(7);
    Toolbar_ButtonClick(8);
    EXPECT_TRUE(rxText().endsWith("<FIGS><LTRS>"));
}

TEST_F(RttyLink, RttyMenus)
{
    runningEngine();
    MMTTYViewWord = 0x10C0;
    main().mnu("mnuRTTYLittleSmoothing").click();
    main().mnu("mnuRTTYHeavySmoothing").click();
    main().mnu("mnuRTTYNoSmoothing").click();
    EXPECT_EQ(posts(), (QList<Post>{{14, 0x1040}, {14, 0x1080}, {14, 0x1000}}));
    EXPECT_TRUE(main().mnu("mnuRTTYNoSmoothing").checked());
    EXPECT_FALSE(main().mnu("mnuRTTYHeavySmoothing").checked());
    EXPECT_EQ(ini("RTTY", "Display Smoothing"), "No Smoothing");

    const bool shown = main().mnu("mnuRTTYCommands").checked();
    main().mnu("mnuRTTYCommands").click();
    EXPECT_EQ(ShowCommands, !shown);
    EXPECT_EQ(ini("RTTY", "Show Commands"), shown ? "Off" : "On");

    main().mnu("mnuRTTYToolbar").click();
    EXPECT_TRUE(ToolbarOn);
    EXPECT_FALSE(main().Toolbar->isHidden());
    EXPECT_EQ(ini("RTTY", "Toolbar"), "On");
    main().mnu("mnuRTTYToolbar").click();
    EXPECT_TRUE(main().Toolbar->isHidden());
    EXPECT_EQ(ini("RTTY", "Toolbar"), "Off");

    MMTTYFlags = 0x40084;
    main().mnu("mnuRTTYWord").click();
    EXPECT_EQ(MMTTYFlags, 0x20084);
    EXPECT_TRUE(WordBoundary);
    main().mnu("mnuRTTYWord").click();
    EXPECT_EQ(MMTTYFlags, 0x84);
    EXPECT_EQ(ini("RTTY", "Word boundary"), "Off");
    EXPECT_EQ(posts(), (QList<Post>{{11, 0x20084}, {11, 0x84}}));

    boxes.answerColour(255);
    boxes.answerColour(std::nullopt);
    main().mnu("mnuRTTYScopeColor").click();
    main().mnu("mnuRTTYScopeColor").click();
    EXPECT_EQ(XYScopeColor, 255);
    EXPECT_EQ(ini("RTTY", "XY Scope Color"), "255");
}

TEST_F(RttyLink, WatchdogDelayAnswers)
{
    runningEngine();
    struct Case {
        std::optional<QString> answer;
        int time;
        bool sent;
    } cases[] = {
        {QString("0"), 30, false}, {QString("1000"), 30, false}, {QString(""), 30, false},
        {std::nullopt, 30, false}, {QString("999"), 999, true},   {QString("45"), 45, true},
    };
    main().mnu("mnuRTTYWatchdog").setChecked(true);
    for (const Case& c : cases) {
        WatchdogTime = 30;
        boxes.answerInput(c.answer);
        main().mnu("mnuWatchdogDelay").click();
        const std::string what = c.answer.value_or("cancel").toStdString();
        EXPECT_EQ(WatchdogTime, c.time) << what;
        const QList<Post> expected = c.sent ? QList<Post>{{25, c.time}} : QList<Post>{};
        EXPECT_EQ(posts(), expected) << what;
    }
    EXPECT_EQ(boxes.calls().back().title, "Watchdog Timer setting");
    // Unchecked: the time is stored but not sent.
    main().mnu("mnuRTTYWatchdog").click();
    EXPECT_EQ(posts(), (QList<Post>{{25, 0}}));
    EXPECT_EQ(ini("RTTY", "Watchdog"), "Off");
    boxes.answerInput(QString("12"));
    main().mnu("mnuWatchdogDelay").click();
    EXPECT_EQ(WatchdogTime, 12);
    EXPECT_EQ(ini("RTTY", "Watchdog Time"), "12");
    EXPECT_TRUE(posts().isEmpty());
}

TEST_F(RttyLink, ShiftResetAndNotch)
{
    runningEngine();
    RTTYMarkHz = 1275;
    RTTYSpaceHz = 1445;
    RTTYShiftHz = 170;
    ResetRTTYShift();
    EXPECT_EQ(posts(), (QList<Post>{{10, 1445}, {9, 1275}}));

    // The notch: a frequency of the passband, then the notch switch on.
    MMTTYFlags = 0x4;
    HzPerTwip = 0.5;
    SetNotchAt(2001.9f);
    EXPECT_EQ(posts(), (QList<Post>{{23, 1001}, {23, 1000}, {11, 0x44}}));
    SetNotchAt(400.0f); // 200 Hz
    EXPECT_TRUE(posts().isEmpty());

    // The marker: a right click switches the notch off.
    SetNotchVisible(true);
    EXPECT_TRUE(NotchVisible());
    NotchPosition_MouseDown(2, 0, 30, 0);
    NotchPosition_Click();
    EXPECT_EQ(posts(), (QList<Post>{{11, 0x4}}));
    PlaceNotch(1500);
    auto* marker = main().Graticule->findChild<QLabel*>("NotchPosition");
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->x() + marker->width() / 2, 100);
}

} // namespace

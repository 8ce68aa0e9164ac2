#include "child_windows_fixture.h"

#include "core/receive/rx_links.h"
#include "displays/drawing/surfaces.h"
#include "displays/spectrum/aux_channels.h"
#include "displays/windows/aux1.h"
#include "displays/windows/aux2.h"
#include "displays/windows/tuning_window.h"
#include "displays/windows/tuning_window_aux1.h"
#include "displays/windows/tuning_window_aux2.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/picturebox.h"
#include "settings/inistuff.h"
#include "state/declarations.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLineEdit>

namespace {

using TuningWindows = ChildWindowsFixture;

TEST(SquelchConversion, LinePositionToEngineThreshold)
{
    const struct { double y; int psk; int rtty; } cases[] = {
        {52, 19, 205}, {24, 62, 647}, {64, 0, 16}, {0, 100, 1025}, {32, 50, 520}, {40, 38, 394},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PskSquelchThreshold(c.y), c.psk) << c.y;
        EXPECT_EQ(RttySquelchValue(c.y), c.rtty) << c.y;
    }
}

TEST_F(TuningWindows, MainWindowToggleShowsAndUnloads)
{
    MenuItem& m = main().mnu("mnuTuningWindow");
    m.click();
    TuningWindow* t = TuningWindow::existing();
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(m.checked());
    EXPECT_TRUE(t->isVisible());
    EXPECT_EQ(t->windowTitle(), "Main Tx/Rx Tuning window");
    EXPECT_EQ(ini("Main Tuning Window", "Tuning Window"), "Tuning Window True");
    // Its load set the line and the main channel's squelch.
    EXPECT_EQ(takeCalls(), QStringList({"fnSetSquelchThreshold 19 1 0"}));
    EXPECT_EQ(stored("Main Tuning Window", "Squelch Setting"), " 52");
    EXPECT_EQ(t->SqSetting->y(), 52);
    EXPECT_EQ(ScopeCentreX, 30);
    EXPECT_EQ(XYScopeCentreY, 30);
    EXPECT_EQ(ScopeHeight, 60);
    EXPECT_EQ(TuningSurface(0).ScopePic.data(), t->ScopePic);
    t->move(30, 45);
    m.click();
    EXPECT_EQ(TuningWindow::existing(), nullptr);
    EXPECT_FALSE(m.checked());
    EXPECT_EQ(ini("Main Tuning Window", "Tuning Window"), "Tuning Window False");
    EXPECT_EQ(stored("Main Tuning Window", "Tuning Window Top"), " 675");
    EXPECT_EQ(stored("Main Tuning Window", "Tuning Window Left"), " 450");
    EXPECT_EQ(TuningSurface(0).ScopePic.data(), nullptr);
}

TEST_F(TuningWindows, LevelBarClickSetsTheSquelch)
{
    main().mnu("mnuTuningWindow").click();
    main().mnu("mnuAux1").click();
    ShowAuxTuningWindow(1);
    takeCalls();
    TuningWindow* t = TuningWindow::existing();
    t->Receive_MouseDown(1, 0, 0, 24 * 15);
    EXPECT_EQ(PSKSquelchLevel, 24);
    EXPECT_EQ(stored("Main Tuning Window", "Squelch Setting"), " 24");
    TuningWindowAux1* a = TuningWindowAux1::existing();
    a->Receive_MouseDown(1, 0, 0, 64 * 15);
    EXPECT_EQ(Aux1SquelchLevel, 64);
    EXPECT_EQ(stored("Aux 1", "Squelch Setting"), " 64");
    EXPECT_EQ(a->SqSetting->y(), 64);
    EXPECT_EQ(takeCalls(), QStringList({"fnSetSquelchThreshold 62 1 0", "fnSetSquelchThreshold 0 1 1"}));
}

TEST_F(TuningWindows, RttySquelchGoesToTheRttyEngineOnly)
{
    PostedMessages engine;
    MMTTYhWnd = win::registerWindow(&engine);
    MMTTYMessage = win::RegisterWindowMessage("MMTTY");
    main().mnu("mnuTuningWindow").click();
    PSKModeActive = false;
    WriteINI("Main Tuning Window", "Squelch Setting", "40");
    takeCalls();
    TuningWindow::existing()->Receive_MouseDown(1, 0, 0, 52 * 15);
    QCoreApplication::sendPostedEvents(&engine);
    EXPECT_EQ(RTTYSquelchLevel, 52);
    EXPECT_EQ(ini("Main Tuning Window", "Squelch Setting"), "40");
    EXPECT_TRUE(takeCalls().isEmpty());
    ASSERT_EQ(engine.messages.size(), 1);
    EXPECT_EQ(engine.messages[0], (QList<qint64>{MMTTYMessage, 15, 205}));
    // The RTTY engine's first level only moves the line.
    RxLinks().SetTuningSquelchLine(47.5);
    EXPECT_EQ(TuningWindow::existing()->squelchLineY(), 47.5);
    QCoreApplication::sendPostedEvents(&engine);
    EXPECT_EQ(engine.messages.size(), 1);
    win::unregisterWindow(MMTTYhWnd);
    MMTTYhWnd = 0;
}

TEST_F(TuningWindows, PskSquelchLineHookIsTheWholeSetting)
{
    RxLinks().SetTuningSquelchLine(30); // no window: nothing
    EXPECT_TRUE(takeCalls().isEmpty());
    main().mnu("mnuTuningWindow").click();
    takeCalls();
    RxLinks().SetTuningSquelchLine(24);
    EXPECT_EQ(takeCalls(), QStringList({"fnSetSquelchThreshold 62 1 0"}));
    EXPECT_EQ(PSKSquelchLevel, 24);
}

TEST_F(TuningWindows, AuxiliaryWindowLoadsTheMainOneHidden)
{
    main().mnu("mnuAux2").click();
    takeCalls();
    Aux2::existing()->mnu("mnuTuningWindow").click();
    TuningWindowAux2* a = TuningWindowAux2::existing();
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->isVisible());
    EXPECT_EQ(a->windowTitle(), "Aux 2 Rx Tuning window");
    EXPECT_TRUE(TuningWindowAux2Open);
    EXPECT_TRUE(Aux2::existing()->mnu("mnuTuningWindow").checked());
    EXPECT_EQ(ini("Aux 2", "Tuning Window"), "Tuning Window True");
    ASSERT_NE(TuningWindow::existing(), nullptr);
    EXPECT_FALSE(TuningWindow::existing()->isVisible());
    EXPECT_FALSE(main().mnu("mnuTuningWindow").checked());
    EXPECT_EQ(takeCalls(), QStringList({"fnSetSquelchThreshold 19 1 0", "fnSetSquelchThreshold 19 1 2"}));
    // Closed alone it is recorded as closed.
    a->Unload();
    EXPECT_FALSE(TuningWindowAux2Open);
    EXPECT_FALSE(Aux2::existing()->mnu("mnuTuningWindow").checked());
    EXPECT_EQ(ini("Aux 2", "Tuning Window"), "Tuning Window False");
}

TEST_F(TuningWindows, ClosingTheChannelWindowKeepsItsTuningWindowForNextTime)
{
    main().mnu("mnuAux1").click();
    Aux1::existing()->mnu("mnuTuningWindow").click();
    TuningWindowAux1::existing()->move(15, 30);
    Aux1::existing()->mnu("mnuClose").click();
    EXPECT_EQ(TuningWindowAux1::existing(), nullptr);
    EXPECT_FALSE(TuningWindowAux1Open);
    EXPECT_EQ(ini("Aux 1", "Tuning Window"), "Tuning Window True");
    EXPECT_EQ(stored("Aux 1", "Tuning Window Top"), " 450");
    EXPECT_EQ(stored("Aux 1", "Tuning Window Left"), " 225");
    EXPECT_EQ(ini("Settings", "Aux 1 Open"), "False");
    // Both come back together, where they were.
    main().mnu("mnuAux1").click();
    ASSERT_NE(TuningWindowAux1::existing(), nullptr);
    EXPECT_EQ(TuningWindowAux1::existing()->pos(), QPoint(15, 30));
    EXPECT_TRUE(Aux1::existing()->mnu("mnuTuningWindow").checked());
}

TEST_F(TuningWindows, ClickInTheZoomedSpectrumRetunes)
{
    main().mnu("mnuAux1").click();
    Aux1::existing()->mnu("mnuTuningWindow").click();
    Aux1::existing()->AuxStatusBarAudioFreq->setText(" 1400.0 Hz ");
    TuningWindowAux1* a = TuningWindowAux1::existing();
    takeCalls();
    const double centre = a->ScopePic->width() / 2.0 * 15;
    a->ScopePic_MouseDown(1, 0, centre, 0); // the centre: nothing
    EXPECT_TRUE(takeCalls().isEmpty());
    a->ScopePic_MouseDown(1, 0, centre + 10 * 15, 0); // 10 pixels right: 19.54 Hz, 20 up
    EXPECT_EQ(takeCalls(), QStringList({"fnSetRXFrequency 1420 45 1"}));

    // The main window in RTTY: the full bin and half the shift back.
    main().mnu("mnuTuningWindow").click();
    TuningWindow* t = TuningWindow::existing();
    PSKModeActive = false;
    RTTYShownShiftHz = 170;
    RTTYShiftHz = 170;
    main().AudioFreqBox->setText("2125.0 Hz");
    PostedMessages engine;
    MMTTYhWnd = win::registerWindow(&engine);
    t->ScopePic_MouseDown(1, 0, centre + 15, 0); // 4 - 85 = -81 Hz
    EXPECT_EQ(RxCursorX, 5230);                  // 2044 Hz
    win::unregisterWindow(MMTTYhWnd);
    MMTTYhWnd = 0;
}

} // namespace

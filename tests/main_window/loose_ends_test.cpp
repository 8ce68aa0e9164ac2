// What the running program showed wrong: auxiliary windows left open in RTTY, no socket for the
// Logger before RTTY, the cursor left where RTTY put it, dialogs wider than the screen, a shown
// shortcut mark, and windows and boxes cut by the screen or their size.
#include "support/receive_fixture.h"

#include "core/radio/frmsplitfreq.h"
#include "core/rtty/rtty_link.h"
#include "displays/spectrum/readouts.h"
#include "displays/windows/aux_window.h"
#include "platform/widgets/menuitem.h"
#include "platform/processes/peerlink.h"
#include "platform/widgets/screen_fit.h"

#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QLocalSocket>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

namespace {

class LooseEnds : public ReceiveFixture {
protected:
    void SetUp() override
    {
        ReceiveFixture::SetUp();
        load();
    }
    void TearDown() override
    {
        ResetRttyLinks();
        ReceiveFixture::TearDown();
    }
};

TEST_F(LooseEnds, SwitchingToRttyUnloadsTheAuxiliaryWindows)
{
    // Only the process start is held back; the window unloading is the program's own.
    RttyLinks().StartProcess = [](const QString&, int&, QString&) { return true; };
    main().mnu("mnuAux1").click();
    ASSERT_NE(AuxWindow::existing(1), nullptr);
    ASSERT_TRUE(Aux1Open);
    main().mnu("mnuRTTY", 0).click();
    EXPECT_EQ(AuxWindow::existing(1), nullptr);
    EXPECT_FALSE(Aux1Open);
    EXPECT_TRUE(Aux1Reopen);
    EXPECT_FALSE(Aux2Reopen);
}

TEST_F(LooseEnds, TheLoggerCanConnectFromStartUpToShutDown)
{
    const QString name = peer::PeerServer::resolveName(peer::PeerServer::defaultName());
    {
        QLocalSocket logger;
        logger.connectToServer(name);
        EXPECT_TRUE(logger.waitForConnected(2000)); // PSK only: no RTTY engine was ever started
    }
    main().Form_Unload();
    QLocalSocket late;
    late.connectToServer(name);
    EXPECT_FALSE(late.waitForConnected(500));
}

TEST_F(LooseEnds, BackFromRttyTheCursorFollowsTheReceiverAgain)
{
    Sondrel& w = main();
    auto follow = [](bool psk, std::int32_t hz, std::int16_t mark, std::int16_t space) {
        PSKModeActive = psk;
        EngineFreqParam = hz;
        RTTYMarkHz = mark;
        RTTYSpaceHz = space;
        TrackRxFrequency();
    };
    follow(true, 1500, 0, 0);
    EXPECT_EQ(w.AudioFreqBox->text(), "1500.0 Hz");
    follow(false, 1500, 2125, 2295);
    EXPECT_NE(w.AudioFreqBox->text(), "1500.0 Hz");
    EXPECT_NEAR(RxCursorX * HzPerTwip, 2210, 1);
    // BPSK again, and the engine reports the frequency it had before RTTY
    follow(true, 1500, 2125, 2295);
    EXPECT_NEAR(RxCursorX * HzPerTwip, 1500, 1);
    EXPECT_EQ(w.AudioFreqBox->text(), "1500.0 Hz");
}

TEST_F(LooseEnds, TheSplitDialogShowsItsAmpersand)
{
    frmSplitFreq dialog;
    EXPECT_EQ(QString(dialog.Option1->text()).replace("&&", "&"), "Simplex (Tx & Rx on the same frequency)");
    EXPECT_TRUE(QKeySequence::mnemonic(dialog.Option1->text()).isEmpty());
}

TEST_F(LooseEnds, TheDisplayWidthBoxFitsTheScreen)
{
    dlg::Dialogs::install(nullptr); // the real box
    QRect shown;
    QRect screen;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        shown = box->frameGeometry();
        screen = box->screen()->availableGeometry();
        static_cast<QDialog*>(box)->reject();
    });
    main().mnu("mnuDisplayWidth").click();
    dlg::Dialogs::install(&boxes);
    ASSERT_FALSE(shown.isNull());
    EXPECT_TRUE(screen.contains(shown)) << shown.width() << "x" << shown.height() << " on " << screen.width();
    EXPECT_DOUBLE_EQ(ScaleWidth, 10); // cancelled: nothing changed
}

TEST_F(LooseEnds, AWindowIsKeptOnItsScreen)
{
    const QRect screen(0, 0, 1400, 1000);
    const QMargins frame(4, 30, 4, 4);
    struct Case {
        const char* name;
        QRect inside;
        QRect expected;
    };
    const Case cases[] = {
        {"title bar above the top", QRect(7, 7, 467, 333), QRect(7, 30, 467, 333)},
        {"already on the screen", QRect(100, 100, 800, 600), QRect(100, 100, 800, 600)},
        {"off the right and bottom", QRect(1300, 900, 800, 600), QRect(596, 396, 800, 600)},
        {"wider and taller than the screen", QRect(-50, -50, 1640, 1200), QRect(4, 30, 1392, 966)},
        {"on a monitor that is gone", QRect(3000, 200, 400, 300), QRect(996, 200, 400, 300)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitInside(c.inside, frame, screen), c.expected) << c.name;
}

TEST_F(LooseEnds, AtItsSmallestTheMainWindowShowsWholeReadoutsAndBoxes)
{
    Sondrel& w = main();
    w.show();
    w.resize(1, 1); // as small as its layout lets it be
    QApplication::processEvents();
    const struct {
        QLineEdit* box;
        const char* text;
    } cases[] = {
        {w.AudioFreqBox, "3500.0 Hz"}, {w.RFFrequencyBox, "144070.150 KHz"}, {w.IMDBox, "-170 Hz"},
        {w.CallsignBox, "W1AW/QRP"},   {w.NameBox, "Miriam"},                 {w.QTHBox, "Newington"},
        {w.MyRSTBox, "599"},           {w.HisRSTBox, "599"},
    };
    for (const auto& c : cases)
        EXPECT_GE(c.box->width(), c.box->fontMetrics().horizontalAdvance(QString::fromLatin1(c.text)) + 4)
            << c.box->objectName().toStdString() << " " << c.text;
    w.hide();
}

} // namespace

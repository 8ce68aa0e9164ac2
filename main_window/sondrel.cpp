#include "main_window/sondrel.h"

#include "core/macros/macro_buttons.h"
#include "core/messages/hookmodule.h"
#include "core/modes/modeselection.h"
#include "core/radio/radio_port.h"
#include "core/receive/errors.h"
#include "core/rtty/engine_process.h"
#include "core/rtty/rtty_link.h"
#include "core/transmit/ptt_keying.h"
#include "core/transmit/transmit.h"
#include "displays/setup/display_menus.h"
#include "displays/spectrum/scale.h"
#include "logbook/qso/qso_panel.h"
#include "main_window/frmabout.h"
#include "main_window/frmsplash.h"
#include "main_window/menus/menu_commands.h"
#include "main_window/settings_loader/settings_loader.h"
#include "platform/processes/shared_block.h"
#include "platform/processes/single_instance.h"
#include "platform/processes/winmsg.h"
#include "platform/system/comobject.h"
#include "platform/system/events.h"
#include "platform/system/places.h"
#include "platform/system/safefile.h"
#include "platform/system/signals.h"
#include "platform/vb/units.h"
#include "platform/vb/vberror.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/links.h"
#include "state/mmtty_block.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QSplitter>
#include <QTextEdit>

namespace {

std::unique_ptr<SingleInstance> g_instanceLock;
std::unique_ptr<SharedBlock> g_block;

void SplashRepaint(frmSplash* s)
{
    if (s) {
        s->repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

// Settings values that are written with a leading blank before non-negative numbers.
QString twipText(int pixels)
{
    return vb::Str(twips::fromPixels(pixels));
}


// The parts below the main window make it through MainWindow() when they reach it first.
const bool kMakerInstalled = (SetMainWindowMaker([]() -> MainWindowControls& { return Sondrel::instance(); }), true);

} // namespace

Sondrel& Sondrel::instance()
{
    if (!existing())
        new Sondrel();
    return *existing();
}

Sondrel* Sondrel::existing()
{
    return static_cast<Sondrel*>(ExistingMainWindow());
}

void Sondrel::destroyInstance()
{
    delete existing();
    MMTTYView = nullptr;
    MMTTYBlockName.clear();
    g_block.reset();
}

Sondrel::Sondrel() : MainWindowControls(this)
{
    buildControls();
    // The radio control component sits on the main window for the whole run.
    rigObject_ = ComObject::create(QStringLiteral("Varnel.RigControl"), &RigControlError);
    RigControl = rigObject_.get();
    mnu(QStringLiteral("mnuAbout")).setHandler([] { ShowAbout(); });
    mnu(QStringLiteral("mnuExit")).setHandler([this] { close(); });
    ConnectReceiveRoad(*this);
    ConnectTransmitRoad(*this);
    ConnectDisplays(*this);
    ConnectLogbook(*this);
    ConnectRadioControl(*this);
    ConnectMenuCommands(*this);
    ConnectMacroButtons(*this);
    ConnectRttyLink(*this);
}

Sondrel::~Sondrel()
{
    forgetWindow();
}

bool Sondrel::Form_Load()
{
    starting_ = true;
    // 1. One running instance per program folder.
    g_instanceLock = std::make_unique<SingleInstance>();
    if (!g_instanceLock->acquire()) {
        if (g_instanceLock->failure() == SingleInstance::Failure::CannotCreate) {
            // Not a second instance: the folder that holds the settings and the logbook is not
            // writable, and nothing could be saved.
            const QString folder = places::programFolder();
            dlg::MsgBox(QStringLiteral("Cannot write to the program folder ") + folder + QStringLiteral(":\r\n")
                            + vberror::fromErrno(g_instanceLock->error()).text()
                            + QStringLiteral("\r\n\r\nSondrel keeps its settings and logbook there. Make the folder "
                                             "writable, or set SONDREL_HOME to a folder you can write to, and "
                                             "start Sondrel again."),
                        dlg::Critical, QString());
            exitCode_ = 1;
        }
        g_instanceLock.reset();
        starting_ = false;
        startupEndedEarly_ = true;
        Form_Unload();
        return false;
    }

    // Temporary files of ours left by a process that was killed while writing (this instance
    // now holds the folder, so none of them is in use).
    safefile::removeStaleTemporaries(places::programFolder(), QStringLiteral("Sondrel.INI"));
    safefile::removeStaleTemporaries(places::programFolder(), QStringLiteral("Logbook"));

    // 2. The splash window, owned by the main window.
    QPointer<frmSplash> splash = new frmSplash(this);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->Form_Load();
    splash->show();
    SplashRepaint(splash);

    // 3.
    ProgramVersion = QStringLiteral("1.24");

    // 4. The block shared with the RTTY engine.
    g_block = std::make_unique<SharedBlock>(QString::fromLatin1(mmtty::kBlockName), mmtty::kBlockSize);
    if (!g_block->create()) {
        dlg::MsgBox(QStringLiteral("CreateFileMapping API failed."), dlg::OKOnly,
                    QStringLiteral("You can't get there from here"));
        g_block.reset();
        exitCode_ = 1;
        if (splash)
            splash->close();
        starting_ = false;
        startupEndedEarly_ = true;
        Form_Unload();
        return false;
    }
    MMTTYView = static_cast<unsigned char*>(g_block->data());
    MMTTYBlockName = g_block->fullName();
    mmtty::Seed(MMTTYView);

    // 5..7.
    CDDrive = Links().FindCDDrive();
    LogbookAccessCode = QStringLiteral("QH71MZTRA4B9KX20PE");
    SplitOffset = 0;
    WordOverX = 0;
    WordOverY = 0;
    Links().OpenLogbook();

    // 8..11.
    XYScopeColor = 16777215;
    Links().LoadDefaultPalette();
    ProfilesAvailable = false;
    Links().LoadRTTYProfiles();
    PendingQSYFrequency = QStringLiteral("0");
    MarkerWidth = 1;
    MMTTYPolarityFlag = MMTTYSquelchOn = MMTTYBPFOn = true;
    SpectrumSensitivity = SmallSpectrumSensitivity = 10;

    // 12.
    BandBox->setEditText(QStringLiteral("20"));
    Links().LoadBands();

    // 13.
    FFTBinHz = 8000.0 / 2047.0;
    SpectrumScale = 100;
    ScaleWidth = 10;
    FFTModeParam3 = 0;
    ComputeHzPerTwip();

    // 14.
    SidebandOrientation = QStringLiteral("Normal");
    TxRxBox->setText(QStringLiteral("Receive"));
    CaptureFileOpen = false;
    mnu(QStringLiteral("mnuOutputClose")).setEnabled(false);
    mnu(QStringLiteral("mnuZero")).setCaption(QStringLiteral("Use ") + QChar(216) + QStringLiteral(" for zero"));

    // 15..16.
    LoadSettings();
    repaint();

    // 17..18.
    SoundCardMessage = win::RegisterWindowMessage(QStringLiteral("SoundCard"));
    MMTTYMessage = win::RegisterWindowMessage(QStringLiteral("MMTTY"));
    MainWindowHandle = win::registerWindow(this, QStringLiteral("Sondrel"));
    HookMainWindow();

    // 19..20.
    if (EnergySaverOn)
        SetLights();
    Image2->setPixmap(*Red);

    // 21..22. The radio control component learns the radio type; standalone with a radio, its
    // port is opened.
    {
        QVariantList args{RadioModel};
        APIResult = Links().rig(QStringLiteral("SetRadioType"), args).toInt();
        if (!RigControl && RadioModel != QLatin1String("No Radio"))
            dlg::MsgBox(QStringLiteral("The radio control component could not be loaded, so the radio "
                                       "cannot be controlled.\r\n\r\n")
                            + RigControlError,
                        dlg::Exclamation, QStringLiteral("Radio control"));
    }
    if (mnu(QStringLiteral("mnuStandalone")).checked() && vb::Val(RadioPortNumber) > 0
        && RadioModel != QLatin1String("No Radio"))
        Links().SetupRadioPort();

    // 23. The saved mode starts its engine.
    Links().SetModeFromINI();

    // 24.
    loaded_ = true;
    starting_ = false;
    TxWindow->setFocus();
    repaint();
    if (splash)
        splash->close();
    if (closeRequested_) {
        close();
        return false;
    }
    return true;
}

void Sondrel::Form_QueryUnload()
{
    SpectrumHold = true;
}

void Sondrel::Form_Terminate()
{
    SpectrumHold = true;
}

void Sondrel::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    SpectrumHold = true;
    events::SetProgramClosing(true);
    StartReleaseDeadline();

    // A start-up that ended early has started, opened and loaded nothing: nothing to release,
    // and nothing is written over the running instance's settings.
    if (startupEndedEarly_)
        return;

    // The transmitter goes first, before anything it depends on is taken down: PTT that the
    // program keyed is released as at the end of a transmission, and the radio control
    // component ends, which puts that release on the wire before it closes its port.
    if (TxActive || ProgramPTTKeyed())
        ReleaseProgramPTT();
    RigControl = nullptr;
    rigObject_.reset();

    // 2. Stop the engine that runs (it drops its own PTT line).
    if (PSKModeActive) {
        Links().fnStopSoundCard();
    } else {
        win::PostMessage(MMTTYhWnd, MMTTYMessage, 2, 0);
        EndEngineProcesses(2000); // told to quit: given up to 2 s before it is killed
        if (g_block && g_block->unmap())
            g_block->close();
        MMTTYView = nullptr;
    }
    // 3..6.
    UnhookMainWindow();
    LogbookStatus = Links().VmxClose(LogbookHandle);
    Links().CloseCaptureFile();
    Links().UnloadChildWindows();

    // 7. The last audio frequencies; one that was never set is not written, so the next start
    // never tunes to 0 Hz.
    LastRxAudioFreq = QString::number(EngineFreqParam);
    const QString settings = QStringLiteral("Settings");
    if (EngineFreqParam > 0)
        WriteINI(settings, QStringLiteral("Last Used Rx Audio"), LastRxAudioFreq);
    if (vb::Val(TxAudioFreqText) > 0)
        WriteINI(settings, QStringLiteral("Last Used Tx Audio"), TxAudioFreqText);
    if (Aux1RxFreq > 0)
        WriteINI(settings, QStringLiteral("Last Used Aux 1 Audio"), QString::number(Aux1RxFreq));
    if (Aux2RxFreq > 0)
        WriteINI(settings, QStringLiteral("Last Used Aux 2 Audio"), QString::number(Aux2RxFreq));

    // 8. The geometry, only in the normal window state.
    if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const QString form = QStringLiteral("Sondrel Form");
        const QRect g = geometry();
        WriteINI(form, QStringLiteral("Top"), twipText(g.top()));
        WriteINI(form, QStringLiteral("Left"), twipText(g.left()));
        WriteINI(form, QStringLiteral("Width"), twipText(g.width()));
        WriteINI(form, QStringLiteral("Height"), twipText(g.height()));
        WriteINI(form, QStringLiteral("Splitter Pos"), twipText(RxWindow->height()));
        WriteINI(settings, QStringLiteral("Display Height"), twipText(Label->height()));
    }
    win::unregisterWindow(MainWindowHandle);
    MainWindowHandle = 0;
    g_instanceLock.reset();
}

void Sondrel::Form_Resize()
{
    if (onResize)
        onResize();
}

void Sondrel::closeEvent(QCloseEvent* e)
{
    // Closing while start-up yields (a termination signal, a splash repaint) waits for the end of
    // start-up, so shut-down never writes or releases a half-started program's state.
    if (starting_) {
        closeRequested_ = true;
        e->ignore();
        return;
    }
    Form_QueryUnload();
    Form_Unload();
    e->accept();
}

void Sondrel::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    Form_Resize();
}

void Sondrel::focusInEvent(QFocusEvent* e)
{
    QMainWindow::focusInEvent(e);
    if (TxWindow)
        TxWindow->setFocus();
}

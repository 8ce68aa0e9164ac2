// The RTTY engine's start, RTTY selection, the shift reset and the notch.
#include "core/rtty/rtty_link.h"

#include "core/modes/modeselection.h"
#include "core/receive/rx_links.h"
#include "core/rtty/engine_process.h"
#include "core/rtty/frmaddprofile.h"
#include "displays/windows/aux_window.h"
#include "engines/rtty/engine_window.h"
#include "platform/processes/peerlink.h"
#include "platform/processes/winmsg.h"
#include "platform/system/events.h"
#include "platform/vb/resume_next.h"
#include "platform/vb/text1252.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/picturebox.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/links.h"
#include "state/main_window_controls.h"
#include "state/mmtty_block.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTextEdit>
#include <QThread>
#include <QToolBar>
#include <cmath>
#include <memory>

namespace {

constexpr int kLowestNotchHz = 300;
constexpr int kHighestNotchHz = 3500;

RttyLinkHooks realHooks()
{
    RttyLinkHooks h;
    h.StartProcess = [](const QString& commandLine, int& number, QString& description) {
        return StartEngineProcess(commandLine, number, description);
    };
    h.UnloadAuxWindow = [](int channel) { UnloadAuxWindow(channel); };
    h.ShowAddProfile = [] { ::ShowAddProfile(); };
    return h;
}

RttyLinkHooks& current()
{
    static RttyLinkHooks hooks = realHooks();
    return hooks;
}

std::unique_ptr<peer::PeerServer>& peerServer()
{
    static std::unique_ptr<peer::PeerServer> server;
    return server;
}

MenuItem* menu(const QString& name)
{
    MainWindowControls* w = ExistingMainWindow();
    return w && w->hasMenu(name) ? &w->mnu(name) : nullptr;
}

void setEnabled(const char* name, bool on)
{
    if (MenuItem* m = menu(QString::fromLatin1(name)))
        m->setEnabled(on);
}

void focusTx()
{
    if (MainWindowControls* w = ExistingMainWindow())
        if (w->TxWindow)
            w->TxWindow->setFocus();
}

QLabel* notchMarker()
{
    MainWindowControls* w = ExistingMainWindow();
    return w && w->Graticule ? w->Graticule->findChild<QLabel*>(QStringLiteral("NotchPosition")) : nullptr;
}

} // namespace

RttyLinkHooks& RttyLinks()
{
    return current();
}

void ResetRttyLinks()
{
    current() = realHooks();
}

QString RttyEngineProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/sondrel-rtty");
}

bool EnsurePeerServer()
{
    auto& server = peerServer();
    // The link's name follows the program folder (tests change folders).
    if (server && server->fullName() != peer::PeerServer::resolveName(peer::PeerServer::defaultName()))
        server.reset();
    if (!server) {
        server = std::make_unique<peer::PeerServer>();
        if (!server->listen()) {
            server.reset();
            return false;
        }
    }
    return true;
}

void ClosePeerServer()
{
    peerServer().reset();
}

bool StartEngineProcess(const QString& commandLine, int& errorNumber, QString& description, int waitMs)
{
    QStringList parts = commandLine.split(u' ', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return false;
    QString program = parts.takeFirst();
    if (program.compare(QLatin1String("MMTTY.EXE"), Qt::CaseInsensitive) == 0)
        program = RttyEngineProgram();
    if (!QFileInfo(program).isExecutable()) {
        errorNumber = 53;
        description = QStringLiteral("File not found");
        return false;
    }
    EnsurePeerServer();
    if (!MMTTYBlockName.isEmpty())
        parts << QStringLiteral("--block") << MMTTYBlockName;
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start(program, parts);
    if (!process->waitForStarted(5000)) {
        process->deleteLater();
        errorNumber = 75;
        description = QStringLiteral("Path/File access error");
        return false;
    }
    KeepEngineProcess(process);
    // The engine's window comes up once it has linked to the program; the commands that follow
    // the start need it.
    const QString title = rtty::EngineTitle(MMTTYView);
    QElapsedTimer waited;
    waited.start();
    while (win::FindWindow(title) == 0 && process->state() == QProcess::Running && waited.elapsed() < waitMs
           && !events::ProgramClosing())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    return true;
}

void PostMMTTY(std::int32_t code, std::int32_t value)
{
    APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, code, value);
}

void StartRTTYEngine(const QString& logText, const QString& displayName)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    BusyPointer busy;
    // 2. Leave the PSK engine.
    if (PSKModeActive) {
        ResumeNext([] { LastRxAudioFreq = QString::number(EngineFreqParam); });
        ResumeNext([] { APIResult = Links().fnStopSoundCard(); });
        const bool held = SpectrumHold;
        SpectrumHold = true;
        ResumeNext([] {
            if (Aux1Open) {
                RttyLinks().UnloadAuxWindow(1);
                Aux1Reopen = true;
            }
        });
        ResumeNext([] {
            if (Aux2Open) {
                RttyLinks().UnloadAuxWindow(2);
                Aux2Reopen = true;
            }
        });
        SpectrumHold = held; // a program that is closing stays closing
        setEnabled("mnuAux1", false);
        setEnabled("mnuAux2", false);
        QThread::msleep(100);
    }
    // 3..5.
    for (const char* name : {"mnuRTTYToolbar", "mnuRTTYCommands", "mnuSetupRTTYProfiles"})
        setEnabled(name, true);
    if (ToolbarOn) {
        w->mnu(QStringLiteral("mnuRTTYToolbar")).setChecked(true);
        w->Toolbar->show();
        if (w->mnu(QStringLiteral("mnuDisplay")).checked())
            if (auto* xy = w->Toolbar->findChild<QAction*>(QStringLiteral("Button4")))
                xy->setEnabled(true);
    } else {
        w->Toolbar->hide();
    }
    VerticalAdjustLayout();
    PSKModeActive = false;
    ResumeNext([] { RxLinks().LoadMacroSet(kRttyMacroSection); });
    if (w->IMDBox) {
        QPalette p = w->IMDBox->palette();
        p.setColor(QPalette::Text, Qt::black);
        w->IMDBox->setPalette(p);
    }
    // 6..7.
    if (MMTTYView) {
        const QByteArray port = PTTPortNum > 0 ? "COM" + QByteArray::number(PTTPortNum) : QByteArray("NONE");
        mmtty::PutPaddedText(MMTTYView + mmtty::kPortName, port.constData(), 8);
    }
    MMTTYSwitchSyncPending = true;
    // 8.
    int number = 0;
    QString description;
    if (!RttyLinks().StartProcess(QStringLiteral("MMTTY.EXE -m -p"), number, description))
        dlg::MsgBox(QStringLiteral("Error # %1 %2\r\n\r\nUnable to start MMTTY RTTY Engine.").arg(number).arg(description),
                    dlg::OKOnly, dlg::applicationTitle());
    // 9..10.
    const QString shown = vb::Trim(displayName);
    w->ModeLabel->setText(shown);
    ModeText = LogMode = vb::Trim(logText);
    WriteINI(QStringLiteral("Mode"), QStringLiteral("Mode"), shown);
    RTTYMarkLast = 0;
    MMTTYhWnd = win::FindWindow(rtty::EngineTitle(MMTTYView));
    // 11..13.
    PostMMTTY(0, MainWindowHandle);
    PostMMTTY(1, 0);
    if (w->mnu(QStringLiteral("mnuRTTYWatchdog")).checked())
        PostMMTTY(25, WatchdogTime);
    focusTx();
    MMTTYRunning = true;
}

void mnuRTTY_Click(int index)
{
    if (TxActive || index < 0 || index > 10)
        return;
    PSKMode = 4;
    CheckModeMenu(QStringLiteral("mnuRTTY(%1)").arg(index));
    if (!MMTTYRunning)
        StartRTTYEngine(QStringLiteral("RTTY"), QStringLiteral("RTTY"));
    if (ProfilesAvailable)
        PostMMTTY(24, index);
    else
        PostMMTTY(12, 0);
    if (RTTYShiftHz == 0)
        RTTYShiftHz = 170;
    WriteINI(QStringLiteral("RTTY"), QStringLiteral("Default Profile"), vb::Str(index));
    DefaultProfile = static_cast<std::int16_t>(index);
}

void ResetRTTYShift()
{
    const double centre = (RTTYMarkHz + RTTYSpaceHz) / 2.0;
    ResumeNext([&] { PostMMTTY(10, vb::CInt(centre + RTTYShiftHz / 2.0)); });
    ResumeNext([&] { PostMMTTY(9, vb::CInt(centre - RTTYShiftHz / 2.0)); });
    focusTx();
}

bool NotchVisible()
{
    QLabel* m = notchMarker();
    return m && !m->isHidden();
}

void SetNotchVisible(bool visible)
{
    if (QLabel* m = notchMarker())
        m->setVisible(visible);
}

void PlaceNotch(double centreTwips)
{
    QLabel* m = notchMarker();
    if (!m || !std::isfinite(centreTwips) || std::abs(centreTwips) > 1e7)
        return;
    m->move(twips::toPixels(centreTwips) - m->width() / 2, m->y());
}

void NotchPosition_MouseDown(int button, int, float x, float)
{
    QLabel* m = notchMarker();
    LastMouseX = static_cast<float>((m ? twips::fromPixels(m->x()) : 0) + x);
    LastMouseButton = static_cast<std::int16_t>(button);
}

void NotchPosition_Click()
{
    if (LastMouseButton == 1) {
        PlaceNotch(LastMouseX);
        SetNotchAt(LastMouseX);
    } else if (MMTTYFlags & 0x40) {
        PostMMTTY(11, MMTTYFlags & ~0x40);
    }
}

namespace {
constexpr std::int32_t kSwitchesCommand = 11;
constexpr std::int32_t kNotchFrequencyCommand = 23;
constexpr std::int32_t kNotchOnSwitch = 0x40;
} // namespace

void SetNotchAt(float x)
{
    if (PSKModeActive)
        return;
    const double hz = std::trunc(static_cast<double>(x) * HzPerTwip);
    if (!(hz >= 300 && hz <= 3500))
        return;
    const auto notch = static_cast<std::int32_t>(hz);
    APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, kNotchFrequencyCommand, notch + 1);
    APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, kNotchFrequencyCommand, notch);
    if (!(MMTTYFlags & kNotchOnSwitch)) {
        MMTTYFlags |= kNotchOnSwitch;
        APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, kSwitchesCommand, MMTTYFlags);
    }
}

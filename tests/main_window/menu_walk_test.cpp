// The program as it runs, with every one of its own links (the PSK engine on silence, the
// logbook, the radio control component, the RTTY engine program): each menu command that has a
// handler is clicked and must show what it did - a window, a box, a stored key, a check mark or
// a command posted to the RTTY engine. A command whose hook does nothing fails here.
#include "core/rtty/engine_process.h"
#include "displays/windows/aux_window.h"
#include "main_window/sondrel.h"
#include "platform/widgets/dialogs.h"
#include "platform/system/events.h"
#include "platform/system/inifile.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "platform/widgets/scripted_dialogs.h"
#include "platform/processes/winmsg.h"
#include "state/declarations.h"
#include "state/links.h"
#include "support/qt_print.h"
#include "support/temp_home.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QSet>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

using Check = std::function<bool()>;
using Effect = std::function<Check(MenuItem&)>;

// A stand-in window for the RTTY engine before the real one runs: keeps what it is posted.
class EngineWindow : public QObject {
public:
    EngineWindow() : handle(win::registerWindow(this)) {}
    ~EngineWindow() override { win::unregisterWindow(handle); }
    win::WinHandle handle;
    QList<std::pair<std::intptr_t, std::intptr_t>> got;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != win::WindowMessageEvent::eventType())
            return QObject::event(e);
        const auto* m = static_cast<win::WindowMessageEvent*>(e);
        if (m->message() == MMTTYMessage)
            got.append({m->wParam(), m->lParam()});
        return true;
    }
};

class MenuWalk : public testing::Test {
protected:
    void SetUp() override
    {
        events::SetProgramClosing(false);
        SpectrumHold = false;
        dlg::setModalRunner([this](QDialog& d) {
            modals << d.objectName();
            d.reject();
            return d.result();
        });
    }
    void TearDown() override
    {
        if (Sondrel* w = Sondrel::existing())
            if (w->loaded() && !w->unloaded())
                w->Form_Unload();
        EndEngineProcesses(0);
        Sondrel::destroyInstance();
        dlg::setModalRunner({});
        if (pty >= 0)
            ::close(pty);
    }
    Sondrel& main() { return Sondrel::instance(); }
    QString ini(const char* section, const char* key)
    {
        return ini::read(home.file("Sondrel.INI"), QString::fromLatin1(section), QString::fromLatin1(key),
                         QStringLiteral("<missing>"), 3000);
    }

    // ---- effects ----
    static Effect mark()
    {
        return [](MenuItem& m) -> Check {
            const bool before = m.checked();
            return [&m, before] { return m.checked() != before; };
        };
    }
    static Effect choice()
    {
        return [](MenuItem& m) -> Check {
            m.setChecked(false);
            return [&m] { return m.checked(); };
        };
    }
    Effect box(dlg::BoxCall::Kind kind)
    {
        return [this, kind](MenuItem&) -> Check {
            boxes.clear();
            return [this, kind] {
                for (const auto& c : boxes.calls())
                    if (c.kind == kind)
                        return true;
                return false;
            };
        };
    }
    Effect modal(const char* name)
    {
        return [this, name](MenuItem&) -> Check {
            modals.clear();
            return [this, name] { return modals.contains(QString::fromLatin1(name)); };
        };
    }
    static Effect window(const char* name)
    {
        return [name](MenuItem&) -> Check {
            return [name] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (w->objectName() == QLatin1String(name) && w->isVisible())
                        return true;
                return false;
            };
        };
    }
    Effect key(const char* section, const char* k)
    {
        return [this, section, k](MenuItem&) -> Check {
            ini::write(home.file("Sondrel.INI"), section, k, "<before>");
            return [this, section, k] { return ini(section, k) != "<before>"; };
        };
    }
    Effect post(std::intptr_t code, std::intptr_t value)
    {
        return [this, code, value](MenuItem&) -> Check {
            MMTTYhWnd = engine.handle;
            engine.got.clear();
            return [this, code, value] {
                QCoreApplication::processEvents();
                return engine.got.contains({code, value});
            };
        };
    }
    static Effect custom(std::function<void()> prepare, Check check)
    {
        return [prepare, check](MenuItem&) -> Check {
            if (prepare)
                prepare();
            return check;
        };
    }
    // The radio control component's port on a pseudo-terminal, as port 1.
    void radioOnPty()
    {
        pty = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(pty, 0);
        ASSERT_EQ(::grantpt(pty), 0);
        ASSERT_EQ(::unlockpt(pty), 0);
        ::setenv("SONDREL_COM1", ::ptsname(pty), 1);
        RadioPortNumber = QStringLiteral("1");
        QVariantList port{1};
        RigCall(QStringLiteral("CommPort"), port);
    }
    bool rigPortOpen() { return RigCall(QStringLiteral("getCommPortState")).toBool(); }

    TempHome home;
    dlg::ScriptedDialogs boxes;
    QStringList modals;
    EngineWindow engine;
    int pty = -1;
};

struct Step {
    const char* item;
    int index; // -1: not an indexed item
    Effect effect;
};

TEST_F(MenuWalk, EveryCommandShowsWhatItDid)
{
    ASSERT_TRUE(main().Form_Load());
    main().show();
    ASSERT_NE(main().RigControl, nullptr) << main().RigControlError.toStdString();
    using K = dlg::BoxCall::Kind;
    bool portBefore = false;
    int debugBefore = 0;

    const std::vector<Step> steps = {
        // File
        {"mnuinput", -1, box(K::Open)},
        {"mnuOutput", -1, box(K::Save)},
        {"mnuOutputClose", -1, custom([this] {
             boxes.answerSave(home.file("capture"));
             main().mnu("mnuOutput").click();
         }, [] { return !CaptureFileOpen; })},
        // Settings
        {"mnuSquelchSlow", -1, choice()}, {"mnuSquelchFast", -1, choice()},
        {"mnuFastDisplay", -1, choice()}, {"mnuMediumDisplay", -1, choice()}, {"mnuSlowDisplay", -1, choice()},
        {"mnuRTTYNoSmoothing", -1, choice()}, {"mnuRTTYLittleSmoothing", -1, choice()},
        {"mnuRTTYHeavySmoothing", -1, choice()},
        {"mnuDisplayPen1", -1, choice()}, {"mnuDisplayPen2", -1, choice()},
        {"mnu37WPM", -1, choice()}, {"mnu19WPM", -1, choice()}, {"mnu12WPM", -1, choice()}, {"mnu9WPM", -1, choice()},
        {"mnuAsTyped", -1, choice()}, {"mnuAllCaps", -1, choice()}, {"mnulowercase", -1, choice()},
        {"mnuRTTYWord", -1, mark()},
        {"mnuCDNone", -1, choice()}, {"mnuQRZ", -1, choice()}, {"mnuRAC", -1, choice()}, {"mnuHamCall", -1, choice()},
        {"mnuLinewrap", -1, mark()}, {"mnuZero", -1, mark()}, {"mnuLongSquelch", -1, mark()},
        {"mnuOverload", -1, mark()}, {"mnuRTTYWatchdog", -1, mark()}, {"mnuTransmitBuffer", -1, mark()},
        {"mnuRxwindowMouseover", -1, mark()}, {"mnuStandalone", -1, mark()}, {"mnuStandalone", -1, mark()},
        {"mnuCWID", -1, box(K::Input)},
        {"mnuPTTOptions", -1, modal("frmSerialPort")},
        {"mnuRadioControl", -1, modal("frmRadioCommand")},
        {"mnuDisplayWidth", -1, box(K::Input)},
        {"mnuWaterfallSensitivity", -1, modal("frmWaterfallSensitivity")},
        {"mnuSpectrumSensitivity", -1, modal("frmSpectrumSensitivity")},
        {"mnusettings", -1, modal("frmRadioFreq")},
        {"mnuPresetAudio", -1, modal("frmDefaultAudio")},
        {"mnuMark", -1, modal("frmMarkers")},
        {"mnuWatchdogDelay", -1, box(K::Input)},
        // ToolBox
        {"mnuRxWndFont", -1, box(K::Font)}, {"mnuRxWinTxtext", -1, box(K::Colour)},
        {"mnuShowControlCodes", -1, box(K::Colour)}, {"mnuRxWndBack", -1, box(K::Colour)},
        {"mnuRxwinPausedBack", -1, box(K::Colour)}, {"mnuMouseOver", -1, box(K::Colour)},
        {"mnuTxWndFont", -1, box(K::Font)}, {"mnuTxWndBack", -1, box(K::Colour)},
        {"mnuBufferColor", -1, box(K::Colour)}, {"mnuLogFontBold", -1, mark()},
        {"mnuLogFontColor", -1, box(K::Colour)}, {"mnuLogBackGround", -1, box(K::Colour)},
        {"mnuWaterfallColors", -1, modal("WaterfallColors")},
        {"mnuSensitivity", -1, modal("frmWaterfallSensitivity")},
        {"mnuShowRadioDebug", -1, custom([&] { debugBefore = RigCall(QStringLiteral("getDebugWindowState")).toInt(); },
                                         [&] { return RigCall(QStringLiteral("getDebugWindowState")).toInt() != debugBefore; })},
        {"mnuPortState", -1, custom([&] {
             radioOnPty();
             portBefore = rigPortOpen();
         }, [&] { return rigPortOpen() != portBefore; })},
        {"mnuRTTYScopeColor", -1, box(K::Colour)},
        {"mnuEnergySaver", -1, mark()},
        // View
        {"mnuOnTop", -1, mark()}, {"mnuOnTop", -1, mark()},
        {"mnuTuningWindow", -1, window("TuningWindow0")},
        {"mnuDisplay", -1, mark()}, {"mnustatusbar", -1, mark()}, {"mnuRTTYToolbar", -1, mark()},
        {"mnuAutoCDLookup", -1, mark()}, {"mnuMiniLog", -1, mark()},
        {"mnuMarker1", -1, mark()}, {"mnuMarker2", -1, mark()}, {"mnuMarker3", -1, mark()}, {"mnuMarker4", -1, mark()},
        // Frequency display
        {"mnuRadioAuto", -1, choice()}, {"mnuSimulatedRadio1", -1, choice()}, {"mnuSimulatedRadio2", -1, choice()},
        {"mnuSimulatedRadio3", -1, choice()}, {"mnuSimulatedRadio4", -1, choice()}, {"mnuAudioFreq", -1, choice()},
        // Macro buttons
        {"mnuNoMacros", -1, choice()}, {"mnu12Macros", -1, choice()}, {"mnu24Macros", -1, choice()},
        {"mnu36Macros", -1, choice()},
        // Rx window options
        {"mnuControlCodes", -1, mark()}, {"mnuRTTYCommands", -1, mark()}, {"mnuTxEcho", -1, mark()},
        // Clear
        {"mnuClearRx", -1, custom([this] { main().Rx->setText(QStringLiteral("CQ")); }, [this] { return main().Rx->text().isEmpty(); })},
        {"mnuClearTx", -1, custom([this] { main().Tx->setText(QStringLiteral("DE")); }, [this] { return main().Tx->text().isEmpty(); })},
        {"mnuClearBoth", -1, custom([this] {
             main().Rx->setText(QStringLiteral("CQ"));
             main().Tx->setText(QStringLiteral("DE"));
         }, [this] { return main().Rx->text().isEmpty() && main().Tx->text().isEmpty(); })},
        // Help, QSO number
        {"mnuAbout", -1, modal("frmAbout")},
        // The station clock asks this machine's own DAYTIME port, never a server outside.
        {"mnuAtomTime", -1, custom([this] { ini::write(home.file("Sondrel.INI"), "Atom Clock", "ClockAddress", "127.0.0.1"); },
                                   window("frmAtomClock")(main().mnu("mnuAtomTime")))},
        {"mnuResetCounter", -1, key("Settings", "QSOOffsetCounter")},
        {"mnuSetCounter", -1, key("Settings", "QSOOffsetCounter")},
        // Display, Mode
        {"mnuSpectrum", -1, choice()}, {"mnuWaterfall", -1, choice()},
        {"mnuQPSK", -1, choice()}, {"mnuQPSKInv", -1, choice()}, {"mnuTune", -1, choice()}, {"mnuBPSK", -1, choice()},
        {"mnuAux2", -1, window("Aux2")},
        {"mnuAux1", -1, window("Aux1")},
        // RTTY profiles, posted to a stand-in until the engine runs
        {"mnuAssignProfile", 3, modal("frmAddProfile")},
        {"mnuDeleteProfile", 0, box(K::Message)},
        {"mnuDeleteProfile", 3, post(24, 131075)},
        {"mnuLoadProfile", -1, post(24, 196608)},
        {"mnuSaveProfile", -1, post(24, 262144)},
        // RTTY with the real engine program: the auxiliary windows go
        {"mnuRTTY", 0, custom({}, [] {
             return MMTTYRunning && !PSKModeActive && EngineProcessRunning() && !AuxWindow::existing(1)
                 && !AuxWindow::existing(2) && Aux1Reopen && Aux2Reopen;
         })},
    };
    // Commands of windows that are built elsewhere, and commands with nothing to start here.
    const QSet<QString> elsewhere = {"mnuExit"};

    QSet<QString> walked;
    for (const Step& s : steps) {
        const QString name = s.index < 0 ? QString::fromLatin1(s.item) : QStringLiteral("%1(%2)").arg(s.item).arg(s.index);
        SCOPED_TRACE(name.toStdString());
        walked << name;
        MenuItem& m = main().mnu(name);
        ASSERT_TRUE(m.hasHandler());
        const Check check = s.effect(m);
        m.click();
        EXPECT_TRUE(check());
    }

    // Nothing with a handler was left out of the walk.
    for (QAction* a : main().findChildren<QAction*>()) {
        const QString name = a->objectName();
        if (!name.startsWith(QLatin1String("mnu")) || !main().hasMenu(name) || !main().mnu(name).hasHandler())
            continue;
        const bool hiddenProfile = name.startsWith(QLatin1String("mnuRTTY(")) || name.startsWith(QLatin1String("mnuAssignProfile("))
                                   || name.startsWith(QLatin1String("mnuDeleteProfile("));
        EXPECT_TRUE(walked.contains(name) || elsewhere.contains(name) || hiddenProfile) << name.toStdString();
    }

    // Exit in RTTY: the engine, once it has reported in, is told to quit and ends on its own.
    QDeadlineTimer linked(20000);
    while (win::FindWindow(QStringLiteral("MMTTY Engine")) == 0 && !linked.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_NE(win::FindWindow(QStringLiteral("MMTTY Engine")), 0);
    main().mnu("mnuExit").click();
    EXPECT_TRUE(main().unloaded());
    EXPECT_FALSE(EngineProcessRunning());
    EXPECT_EQ(KilledEngineProcesses(), 0);
}

} // namespace

// The RTTY toolbar and the RTTY menus.
#include "core/rtty/rtty_link.h"

#include "core/modes/modeselection.h"
#include "core/receive/rxtext.h"
#include "core/transmit/transmit.h"
#include "displays/spectrum/scale_clicks.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QAction>
#include <QMenu>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

namespace {

struct ButtonDesign {
    const char* caption; // nullptr: a separator
    const char* tip;
};

const ButtonDesign kButtons[17] = {
    {"SQ On", "Squelch On/Off"}, {"BPF On", "Band Pass Filter On/Off"}, {"Normal", "Normal / Reverse"},
    {"XY Off", "X/Y Scope On/Off"}, {"UOS Off", "UOS On/Off"}, {nullptr, nullptr},
    {"FIGS", "Figures shift"}, {"LTRS", "Letters shift"}, {nullptr, nullptr},
    {"Setup", "MMTTY Setup"}, {nullptr, nullptr}, {"Net On", "Net On/OFF"},
    {"AFC On", "AFC On/Off"}, {nullptr, nullptr}, {"Reset", ""},
    {"Abort", "Abort Transmission"}, {"Profile", "User Profiles"},
};

QAction* button(int n)
{
    MainWindowControls* w = ExistingMainWindow();
    return w && w->Toolbar ? w->Toolbar->findChild<QAction*>(QStringLiteral("Button%1").arg(n)) : nullptr;
}

QString onOff(bool on)
{
    return on ? QStringLiteral("On") : QStringLiteral("Off");
}

void writeRtty(const char* key, const QString& value)
{
    WriteINI(QStringLiteral("RTTY"), QString::fromLatin1(key), value);
}

MenuItem& item(const char* name)
{
    return MainWindow().mnu(QString::fromLatin1(name));
}

void smoothing(const char* checkedItem, const char* setting, std::int32_t setBits)
{
    for (const char* n : {"mnuRTTYNoSmoothing", "mnuRTTYLittleSmoothing", "mnuRTTYHeavySmoothing"})
        item(n).setChecked(qstrcmp(n, checkedItem) == 0);
    writeRtty("Display Smoothing", QString::fromLatin1(setting));
    MMTTYViewWord = (MMTTYViewWord & ~(0x40 | 0x80)) | setBits;
    PostMMTTY(14, MMTTYViewWord);
}

} // namespace

void BuildRttyToolbar(MainWindowControls& w)
{
    QToolBar* bar = w.Toolbar;
    for (int n = 1; n <= 17; ++n) {
        const ButtonDesign& d = kButtons[n - 1];
        if (!d.caption) {
            bar->addSeparator()->setObjectName(QStringLiteral("Button%1").arg(n));
            continue;
        }
        auto* a = new QAction(QString::fromLatin1(d.caption), bar);
        a->setObjectName(QStringLiteral("Button%1").arg(n));
        a->setToolTip(QString::fromLatin1(d.tip));
        bar->addAction(a);
        if (n == 17) {
            auto* menu = new QMenu(bar);
            for (int e = 1; e <= 11; ++e) {
                QAction* entry = menu->addAction(QStringLiteral("Profile %1").arg(e - 1));
                entry->setParent(bar); // found by name like the buttons
                entry->setObjectName(QStringLiteral("ButtonMenu%1").arg(e));
                QObject::connect(entry, &QAction::triggered, bar, [e] { Toolbar_ButtonMenuClick(e); });
            }
            a->setMenu(menu);
            if (auto* tb = qobject_cast<QToolButton*>(bar->widgetForAction(a)))
                tb->setPopupMode(QToolButton::InstantPopup);
            continue;
        }
        // The pressed look follows the engine's reports, never the click itself.
        if (n <= 5 || n == 12 || n == 13)
            a->setCheckable(true);
        QObject::connect(a, &QAction::triggered, bar, [a, n] {
            if (a->isCheckable())
                a->setChecked(!a->isChecked());
            Toolbar_ButtonClick(n);
        });
    }
}

void Toolbar_ButtonClick(int n)
{
    switch (n) {
    case 1: PostMMTTY(11, MMTTYFlags ^ 0x80); break;
    case 2: PostMMTTY(11, MMTTYFlags ^ 0x20); break;
    case 3: PostMMTTY(11, MMTTYFlags ^ 0x100); break;
    case 4: PostMMTTY(14, MMTTYViewWord ^ 0x1000); break;
    case 5: PostMMTTY(11, MMTTYFlags ^ 0x200); break;
    case 7:
        PostMMTTY(17, 1);
        if (ShowCommands)
            EchoToRxWindow(QStringLiteral("<FIGS>"));
        break;
    case 8:
        PostMMTTY(17, 0);
        if (ShowCommands)
            EchoToRxWindow(QStringLiteral("<LTRS>"));
        break;
    case 10: PostMMTTY(13, 0); break;
    case 12: NetBox_Click(); break;
    case 13: AFCBox_Click(); break;
    case 15: Label3_Click(); break;
    case 16: AbortTransmit(); break;
    default: break; // separators; the profile button only opens its drop-down
    }
}

void Toolbar_ButtonMenuClick(int entry)
{
    mnuRTTY_Click(entry - 1);
}

void SetToolbarButton(int n, bool pressed, const QString& caption)
{
    if (QAction* a = button(n)) {
        a->setChecked(pressed);
        a->setText(caption);
    }
}

void mnuRTTYCommands_Click()
{
    MenuItem& m = item("mnuRTTYCommands");
    m.setChecked(!m.checked());
    ShowCommands = m.checked();
    writeRtty("Show Commands", onOff(ShowCommands));
}

void mnuRTTYNoSmoothing_Click() { smoothing("mnuRTTYNoSmoothing", "No Smoothing", 0); }
void mnuRTTYLittleSmoothing_Click() { smoothing("mnuRTTYLittleSmoothing", "Medium Smoothing", 0x40); }
void mnuRTTYHeavySmoothing_Click() { smoothing("mnuRTTYHeavySmoothing", "Heavy Smoothing", 0x80); }

void mnuRTTYScopeColor_Click()
{
    if (const auto c = dlg::Dialogs::instance().colour(XYScopeColor)) {
        XYScopeColor = *c;
        writeRtty("XY Scope Color", QString::number(XYScopeColor));
    }
}

void mnuRTTYToolbar_Click()
{
    MainWindowControls& w = MainWindow();
    MenuItem& m = item("mnuRTTYToolbar");
    if (m.checked()) {
        m.setChecked(false);
        w.Toolbar->hide();
        ToolbarOn = false;
        writeRtty("Toolbar", QStringLiteral("Off"));
    } else {
        m.setChecked(true);
        w.Toolbar->show();
        ToolbarOn = true;
        writeRtty("ToolBar", QStringLiteral("On"));
    }
    VerticalAdjustLayout();
}

void mnuRTTYWatchdog_Click()
{
    MenuItem& m = item("mnuRTTYWatchdog");
    if (m.checked()) {
        m.setChecked(false);
        writeRtty("Watchdog", QStringLiteral("Off"));
        PostMMTTY(25, 0);
    } else {
        m.setChecked(true);
        writeRtty("Watchdog", QStringLiteral("On"));
    }
}

void mnuWatchdogDelay_Click()
{
    const auto answer = dlg::Dialogs::instance().input(
        QStringLiteral("Please enter the value (in seconds) for the RTTY Watchdog timer.  Maximum value is 999 seconds."),
        QStringLiteral("Watchdog Timer setting"), QString::number(WatchdogTime));
    if (!answer || answer->isEmpty() || answer->size() > 3)
        return;
    const double v = vb::Val(*answer);
    if (!(v > 0 && v < 1000))
        return;
    WatchdogTime = vb::CInt(v);
    writeRtty("Watchdog Time", QString::number(WatchdogTime));
    if (item("mnuRTTYWatchdog").checked())
        PostMMTTY(25, WatchdogTime);
}

void mnuRTTYWord_Click()
{
    MenuItem& m = item("mnuRTTYWord");
    if (!m.checked()) {
        m.setChecked(true);
        writeRtty("Word boundary", QStringLiteral("On"));
        MMTTYFlags = (MMTTYFlags & ~0x40000) | 0x20000;
    } else {
        m.setChecked(false);
        writeRtty("Word boundary", QStringLiteral("Off"));
        MMTTYFlags &= ~(0x20000 | 0x40000);
    }
    // The next engine start hands the engine what the menu now shows.
    WordBoundary = m.checked();
    PostMMTTY(11, MMTTYFlags);
}

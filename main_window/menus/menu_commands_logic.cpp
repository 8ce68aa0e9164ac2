// The main window's commands with logic of their own: the default call sign, the QSO-number
// counters, the clear commands, the mini-log panel and the RTTY notch placement.
#include "main_window/menus/menu_commands.h"

#include "core/modes/modeselection.h"
#include "displays/spectrum/scale.h"
#include "logbook/logbook_services.h"
#include "main_window/settings_loader/settings_hooks.h"
#include "platform/processes/winmsg.h"
#include "platform/vb/resume_next.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QTextEdit>

namespace {

constexpr int kLongestCallsign = 15;
constexpr std::int32_t kRttyClearTx = 3;
constexpr std::int32_t kRttyClearTxBuffer = 4;

MenuItem& item(const char* name)
{
    return MainWindow().mnu(QString::fromLatin1(name));
}

const QString kCallsignPrompt = QStringLiteral(
    "Please enter the Callsign for your CWID, $call$ Macro, and Logbook selection.\r\n\r\n"
    "If this program is used in conjunction with Logger, the Callsign will be automatically selected "
    "from the current Logbook in use.");

void storeOffset(std::int32_t offset)
{
    QSOOffsetCounter = offset;
    WriteINI(QStringLiteral("Settings"), QStringLiteral("QSOOffsetCounter"), QString::number(offset));
    ShowQSOCounter();
}

} // namespace

void mnuCWID_Click()
{
    std::optional<QString> answer;
    AroundTopmost([&] {
        answer = dlg::Dialogs::instance().input(kCallsignPrompt, QStringLiteral("CW ID"), DefaultCallsign);
    });
    const QString call = answer.value_or(QString()).toUpper();
    if (!call.isEmpty() && call.size() <= kLongestCallsign)
        DefaultCallsign = call;
    WriteINI(QStringLiteral("Settings"), QStringLiteral("Default CW ID"), DefaultCallsign);
    if (MiniLogOpen == QLatin1String("True"))
        LoadLogbookPage();
}

void mnuResetCounter_Click()
{
    storeOffset(0);
}

void mnuSetCounter_Click()
{
    // A counter beyond any offset leaves the offset at 0.
    std::int32_t offset = 0;
    ResumeNext([&] { offset = vb::CLng(vb::Val(QSOCounter) - 1); });
    storeOffset(offset);
}

void mnuClearRx_Click()
{
    if (MainWindowControls* w = ExistingMainWindow())
        w->Rx->setText(QString());
}

void mnuClearTx_Click()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    w->Tx->setText(QString());
    if (PSKModeActive)
        APIResult = Psk().fnClearTXBuffer();
    else
        APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, kRttyClearTx, kRttyClearTxBuffer);
}

void mnuClearBoth_Click()
{
    mnuClearRx_Click();
    mnuClearTx_Click();
}

void mnuMiniLog_Click()
{
    MainWindowControls& w = MainWindow();
    MenuItem& m = item("mnuMiniLog");
    if (m.checked()) {
        SettingsHooks().UnloadMiniLog();
        SettingsHooks().UnloadPreviousPage();
        m.setChecked(false);
        WriteINI(QStringLiteral("Mini-Log"), QStringLiteral("Visible"), QStringLiteral("False"));
        w.vsElastic3->setFixedHeight(0);
        w.vsElastic3->hide();
        item("mnuSerialNum").setVisible(false);
    } else {
        m.setChecked(true);
        item("mnuSerialNum").setVisible(true);
        WriteINI(QStringLiteral("Mini-Log"), QStringLiteral("Visible"), QStringLiteral("True"));
        w.vsElastic3->setFixedHeight(twips::toPixels(750));
        w.vsElastic3->show();
        if (MiniLogOpen == QLatin1String("True"))
            PageButton_Click();
        if (PreviousPageOpen == QLatin1String("True"))
            PreviousButton_Click();
    }
    VerticalAdjustLayout();
}

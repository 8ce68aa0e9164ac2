// The Mini-Log's deletions: the QSO of the current row, every QSO of the own call sign, and the
// whole logbook file. Each asks first; the mass deletions ask twice.
#include "logbook/windows/mini_log.h"

#include "displays/spectrum/aux_channels.h"
#include "logbook/store/database.h"
#include "logbook/store/logbook_page.h"
#include "logbook/windows/logbook_grid_view.h"
#include "platform/system/events.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"

#include <QFile>

namespace {

const QString kLastChance = QStringLiteral("This is your last chance .... ");
const QString kCaution = QStringLiteral("CAUTION !!\r\n\r\n");

// A warning question: OK and Cancel, the exclamation mark, Cancel the default; true for OK.
bool warned(const QString& text)
{
    return dlg::MsgBox(kCaution + text, dlg::OKCancel | dlg::Exclamation | dlg::DefaultButton2, kLastChance) == dlg::OK;
}

} // namespace

void MiniLog::mnuDelete_Click()
{
    if (transferBusy())
        return;
    const int row = LogbookPage->Row();
    const QString title = QStringLiteral("QSO with ") + MiniLogPage.cell(row, 2) + QStringLiteral(" on ") +
                          MiniLogPage.cell(row, LogbookPage->Col());
    const QString question = QStringLiteral("Are you absolutely sure you want to delete this QSO?\r\n\r\n"
                                            "Once deleted, it can only be recovered from backups you may have made.");
    if (dlg::MsgBox(question, dlg::OKCancel, title) != dlg::OK) {
        FocusMainTxWindow();
        return;
    }
    LogbookStatus = LogbookDelete(MiniLogPage.cell(row, 0));
    if (LogbookStatus == VmxOk) {
        LogbookStatus = VmxFlush(LogbookHandle);
        LoadLogbookPage();
    } else {
        dlg::MsgBox(QStringLiteral("Failed to delete this QSO.  This is not good."), dlg::OKCancel,
                    QStringLiteral("Logbook Error"));
    }
}

void MiniLog::mnuDeleteCallsignQSOs_Click()
{
    if (transferBusy())
        return;
    const QString call = DefaultCallsign;
    if (warned(QStringLiteral("If you click OK, all QSOs logged for ") + call +
               QStringLiteral(" will be erased.  The only way to recover the data is from an ADIF backup.  Are you "
                              "absolutely sure you want to delete all ") +
               call + QStringLiteral(" QSOs in the Logbook?")) &&
        warned(QStringLiteral("I'll give you one more chance to change your mind.  Are you absolutely sure you want "
                              "to delete all ") +
               call + QStringLiteral("QSOs in the Logbook?"))) {
        const BusyPointer hourglass;
        constexpr std::int16_t kOperatorIndex = 2;
        LogbookStatus = VmxBOF(LogbookHandle, kOperatorIndex);
        if (LogbookStatus != VmxOk) {
            ShowLogbookError();
        } else {
            while (LogbookStatus == VmxOk) {
                LogbookStatus = LogbookGet(kOperatorIndex, VmxGetNext, QString(), CurrentQSO);
                if (LogbookStatus == VmxOk && LogbookKeyIn == call) {
                    const std::int16_t deleted = LogbookDelete(LogbookKeyOut);
                    if (deleted != VmxOk) {
                        LogbookStatus = deleted;
                        ShowLogbookError();
                        break;
                    }
                }
            }
        }
        LoadLogbookPage();
    }
    FocusMainTxWindow();
}

void MiniLog::mnuDeleteLogbook_Click()
{
    if (transferBusy())
        return;
    if (warned(QStringLiteral("If you click OK, then the complete Logbook (all QSOs) will be erased.  The only way to "
                              "recover the data is from an ADIF backup.  Are you absolutely sure you want to delete "
                              "all QSOs in the Logbook?")) &&
        warned(QStringLiteral("I'll give you one more chance to change your mind.  Are you absolutely sure you want "
                              "to delete all QSOs in the Logbook?"))) {
        const BusyPointer hourglass;
        CloseLogbook(LogbookHandle);
        LogbookStatus = VmxKill(QFile::encodeName(LogbookPath()).toStdString());
        if (LogbookStatus != VmxOk)
            ShowLogbookError();
        // A file that could not be deleted is opened again, so logging goes on with it; a
        // deleted one is created afresh.
        OpenLogbook();
        LoadLogbookPage();
    }
    FocusMainTxWindow();
}

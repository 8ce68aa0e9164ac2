#include "logbook/logbook_windows.h"

#include "state/main_window_controls.h"
#include "logbook/cd_lookup.h"
#include "logbook/frm_previous_page.h"
#include "logbook/import_export.h"
#include "logbook/mini_log.h"
#include "platform/owned_window.h"

namespace {

template <class W>
void show()
{
    W& w = W::instance();
    ShowOwnedWindow(w, MainWindowWidget(), w.hasStoredPlace());
}

LogbookWindowHooks programWindows()
{
    LogbookWindowHooks h;
    h.ShowMiniLog = [] { show<MiniLog>(); };
    h.ShowPreviousPage = [] { show<frmPreviousPage>(); };
    h.UnloadCDDisplay = [] { UnloadCDDisplay(); };
    h.DoCDLookup = [] { DoCDLookup(); };
    h.MiniLogPageChanged = [] {
        if (MiniLog* w = MiniLog::existing())
            w->showPage();
    };
    h.PreviousPageChanged = [] {
        if (frmPreviousPage* w = frmPreviousPage::existing())
            w->showPage();
    };
    return h;
}

LogTransferHooks programTransfer()
{
    LogTransferHooks h;
    h.ExportADIF = [] { ExportADIF(); };
    h.ExportCSV = [] { ExportCSV(); };
    h.ImportADIF = [] { ImportADIF(); };
    h.Running = [] { return LogTransferRunning(); };
    return h;
}

} // namespace

LogbookWindowHooks& LogbookWindows()
{
    static LogbookWindowHooks hooks = programWindows();
    return hooks;
}

void ResetLogbookWindows()
{
    LogbookWindows() = programWindows();
}

void UnloadMiniLog()
{
    if (MiniLog* w = MiniLog::existing())
        w->Unload();
}

void UnloadPreviousPage()
{
    if (frmPreviousPage* w = frmPreviousPage::existing())
        w->Unload();
}

LogTransferHooks& LogTransfer()
{
    static LogTransferHooks hooks = programTransfer();
    return hooks;
}

void ResetLogTransfer()
{
    LogTransfer() = programTransfer();
}

#include "logbook/logbook_windows.h"

#include "logbook/frm_previous_page.h"
#include "logbook/mini_log.h"

namespace {

template <class W>
void show()
{
    W& w = W::instance();
    w.show();
    w.raise();
}

LogbookWindowHooks programWindows()
{
    LogbookWindowHooks h;
    h.ShowMiniLog = [] { show<MiniLog>(); };
    h.ShowPreviousPage = [] { show<frmPreviousPage>(); };
    h.UnloadCDDisplay = [] {};
    h.DoCDLookup = [] {};
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

LogTransferHooks noTransfer()
{
    LogTransferHooks h;
    h.ExportADIF = [] {};
    h.ExportCSV = [] {};
    h.ImportADIF = [] {};
    h.Running = [] { return false; };
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
    static LogTransferHooks hooks = noTransfer();
    return hooks;
}

void ResetLogTransfer()
{
    LogTransfer() = noTransfer();
}

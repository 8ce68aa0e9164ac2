#include "logbook/windows/logbook_windows.h"

#include "logbook/windows/frm_previous_page.h"
#include "logbook/windows/mini_log.h"

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

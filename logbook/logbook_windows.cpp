#include "logbook/logbook_windows.h"

#include "logbook/frm_previous_page.h"
#include "logbook/mini_log.h"

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

#include "logbook/logbook_windows.h"

#include "logbook/cd_lookup.h"

namespace {

LogbookWindowHooks none()
{
    LogbookWindowHooks h;
    h.ShowMiniLog = [] {};
    h.ShowPreviousPage = [] {};
    h.UnloadCDDisplay = [] { UnloadCDDisplay(); };
    h.DoCDLookup = [] { DoCDLookup(); };
    h.MiniLogPageChanged = [] {};
    h.PreviousPageChanged = [] {};
    return h;
}

} // namespace

LogbookWindowHooks& LogbookWindows()
{
    static LogbookWindowHooks hooks = none();
    return hooks;
}

void ResetLogbookWindows()
{
    LogbookWindows() = none();
}

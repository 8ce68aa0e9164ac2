#include "logbook/logbook_windows.h"

namespace {

LogbookWindowHooks none()
{
    LogbookWindowHooks h;
    h.ShowMiniLog = [] {};
    h.ShowPreviousPage = [] {};
    h.UnloadCDDisplay = [] {};
    h.DoCDLookup = [] {};
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

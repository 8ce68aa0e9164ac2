#pragma once
// The logbook's windows that the QSO panel and the logbook operations reach: the Mini-Log
// window, the previous-QSO window and the callbook window. Each is a replaceable function with
// a do-nothing default, so the windows plug themselves in when they exist and tests watch calls.
#include <functional>

struct LogbookWindowHooks {
    // Shows the Mini-Log window (`MiniLog`) modeless, owned by the main window; a window that is
    // not loaded is loaded, which loads its page (LoadLogbookPage).
    std::function<void()> ShowMiniLog;
    // Shows the previous-QSO window (`frmPreviousPage`) modeless, owned by the main window; a
    // window that is not loaded is loaded, which fills its page (PreviousQSOPage).
    std::function<void()> ShowPreviousPage;
    // Unloads the callbook window (`frmCDDisplay`) when it is loaded.
    std::function<void()> UnloadCDDisplay;
    // Looks the call sign up on the callbook CD (`DoCDLookup`).
    std::function<void()> DoCDLookup;
    // MiniLogPage changed (loaded, a row inserted or filled): the Mini-Log window shows it.
    std::function<void()> MiniLogPageChanged;
    // PreviousQSOsPage changed (filled or cleared): the previous-QSO window shows it.
    std::function<void()> PreviousPageChanged;
};

// The hooks in force; every one starts as a do-nothing function.
LogbookWindowHooks& LogbookWindows();
// Puts the do-nothing functions back (tests).
void ResetLogbookWindows();

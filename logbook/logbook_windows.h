#pragma once
// The logbook's windows that the QSO panel and the logbook operations reach: the Mini-Log
// window, the previous-QSO window and the callbook window. Each is a replaceable function whose
// default reaches the real window (the callbook's are do-nothing until that window exists);
// tests may watch calls by replacing them.
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

// The hooks in force.
LogbookWindowHooks& LogbookWindows();
// Puts the program's own functions back (tests).
void ResetLogbookWindows();

// Unloads the Mini-Log window / the previous-QSO window when loaded (the mini-log or standalone
// switched off, shut-down). A close during shut-down records the window as open for the next start.
void UnloadMiniLog();
void UnloadPreviousPage();

// The Mini-Log's ADIF and CSV exchange: its menus "&Export" and "&Import" call these. While
// Running() is true, the Mini-Log's grid cannot be edited, its menus are disabled and closing the
// window waits for the run to end. The operations show their progress on the window's `Command1`
// (whose click hides it and sets MiniLog::CancelRequested) and reload its grid.
struct LogTransferHooks {
    std::function<void()> ExportADIF, ExportCSV, ImportADIF;
    std::function<bool()> Running;
};
LogTransferHooks& LogTransfer();
// Puts the defaults back: nothing to run, never running (tests).
void ResetLogTransfer();

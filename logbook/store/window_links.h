#pragma once
// The logbook's windows as the logbook operations and the QSO panel reach them: the Mini-Log
// window, the previous-QSO window and the callbook window, and the Mini-Log's log exchange. The
// windows sit above the operations that fill their pages, so each is a replaceable function
// whose program's own entry reaches the real window (installed by the main window's room when
// the program starts); tests may watch calls by replacing them.
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
// Installs the program's own functions (the main window's room, when the program starts).
void InstallLogbookWindows(LogbookWindowHooks (*make)());

// The Mini-Log's ADIF and CSV exchange: its menus "&Export" and "&Import" call these. While
// Running() is true, the Mini-Log's grid cannot be edited, its menus are disabled and closing the
// window waits for the run to end. The operations show their progress on the window's `Command1`
// (whose click hides it and sets MiniLog::CancelRequested) and reload its grid.
struct LogTransferHooks {
    std::function<void()> ExportADIF, ExportCSV, ImportADIF;
    std::function<bool()> Running;
};
LogTransferHooks& LogTransfer();
// Puts the program's own functions back (tests).
void ResetLogTransfer();
// Installs the program's own functions (the main window's room, when the program starts).
void InstallLogTransfer(LogTransferHooks (*make)());

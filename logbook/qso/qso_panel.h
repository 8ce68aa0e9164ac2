#pragma once
// The QSO panel of the main window: the call-sign, name, QTH, report, notes and band boxes keep
// their program-wide values, the call sign looks up earlier QSOs as it is typed, and the Log,
// Clear, Page and Prev buttons log, clear and show the logbook's windows.
struct MainWindowControls;

// Attaches the panel's handlers to the main window's controls (once, from ConnectLogbook).
void ConnectQsoPanel(MainWindowControls& w);

// From the third character on: PreviousQSOCall, the logbook search, the previous-QSO page when
// it is open, the callbook look-up when "Auto CD lookup" is on; focus back into the box.
// Shorter: only the callbook window is closed.
void CallsignBox_Change();
// Empties the call sign, name, QTH, both reports and notes (not the band) and the start time a
// macro may have stamped, clears the previous-QSO page when it is open; focus to TxWindow.
void ClearButton_Click();
void LogButton_Click();
void PageButton_Click();
void PreviousButton_Click();
void BandBox_Click();
// Fills the band box with the band names.
void LoadBands();

// Attaches the QSO panel's and the logbook commands' handlers to the main window.
void ConnectLogbook(MainWindowControls& w);

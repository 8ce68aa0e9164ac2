#pragma once
// The File menu's text file commands and the ToolBox menu's looks of the text windows and the
// QSO panel: "Send a text file", "Open receive text file", "Close receive text file", the nine
// colour commands, "MiniLog font bold" and the receive and transmit window fonts. Each look is
// applied at once and stored at once.
#include <QString>

struct MainWindowControls;

// ToolBox: colours. Each opens the colour box on the current colour; the colour it holds when
// it closes is applied and stored (after Cancel that is the colour it started with).
void mnuRxWinTxtext_Click();
void mnuShowControlCodes_Click();
void mnuRxWndBack_Click();
void mnuRxwinPausedBack_Click();
void mnuMouseOver_Click();
void mnuTxWndBack_Click();
void mnuBufferColor_Click();
void mnuLogFontColor_Click();
void mnuLogBackGround_Click();
// ToolBox: the QSO panel's bold switch and the two text windows' fonts (Cancel changes nothing).
void mnuLogFontBold_Click();
void mnuRxWndFont_Click();
void mnuTxWndFont_Click();

// File: types a chosen file into the transmitter, character by character, as typed text.
void mnuinput_Click();
// File: asks for a capture file and starts capturing the main receive window into it.
void mnuOutput_Click();
// File: stops capturing.
void mnuOutputClose_Click();
// Stops capturing after a write failure: the file is closed, the operator is told once, and
// "Open receive text file" can be used again.
void CaptureFailed(const QString& errorText);

// Attaches the handlers above to the main window's menus.
void ConnectTextCommands(MainWindowControls& w);

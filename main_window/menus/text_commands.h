#pragma once
// The File menu's text file commands and the ToolBox menu's looks of the text windows and the
// QSO panel: "Send a text file", "Open receive text file", "Close receive text file", the nine
// colour commands, "MiniLog font bold" and the receive and transmit window fonts. Each look is
// applied at once and stored at once.
#include <QString>

#include "core/macros/macro_services.h" // the File menu's text sender
#include "core/receive/capturefile.h"       // the File menu's capture commands

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

// Attaches the handlers above to the main window's menus.
void ConnectTextCommands(MainWindowControls& w);

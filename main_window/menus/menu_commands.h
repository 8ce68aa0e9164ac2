#pragma once
// The main window's own menu switches and commands: squelch speed, display smoothing, CW ID
// speed, typing preference, callbook type, the on/off switches of the Settings, ToolBox, View
// and Rx window options menus, the default call sign, the QSO-number counters, the clear
// commands and the status bar and mini-log panels. Every switch
// takes effect at once and is stored at once.
#include "core/rtty/rtty_link.h" // SetNotchAt, the RTTY notch the menus place

struct MainWindowControls;

void mnuSquelchFast_Click();
void mnuSquelchSlow_Click();
void mnuFastDisplay_Click();
void mnuMediumDisplay_Click();
void mnuSlowDisplay_Click();
void mnuCWSpeed_Click(int speed); // 1 = 37 WPM, 2 = 19, 3 = 12, 4 = 9
void mnuTypingCase_Click(int caseMode); // 1 as typed, 2 ALL CAPS, 3 all lowercase
void mnuCDType_Click(int type);   // 0 None, 1 QRZ, 2 RAC, 3 Hamcall

void mnuLinewrap_Click();
void mnuZero_Click();
void mnuLongSquelch_Click();
void mnuOverload_Click();
void mnuTransmitBuffer_Click();
void mnuRxwindowMouseover_Click();
void mnuEnergySaver_Click();
void mnuControlCodes_Click();
void mnuTxEcho_Click();
void mnuAutoCDLookup_Click();
void mnustatusbar_Click();
void mnuMiniLog_Click();

void mnuCWID_Click();
void mnuResetCounter_Click();
void mnuSetCounter_Click();
void mnuClearRx_Click();
void mnuClearTx_Click();
void mnuClearBoth_Click();

// Attaches the main window's own menu switches and commands.
void ConnectMenuCommands(MainWindowControls& w);

#pragma once
// PTT keying options: the engine's PTT port and line, and the options dialog.
#include <QString>

// Hands the PTT port and line in force to the active engine.
void doPTTSetup();
// Menu "Radio PTT options": the "Radio PTT selection" dialog, modal.
void mnuPTTOptions_Click();
// The keying line as the PSK engine numbers it: "RTS" 1, "DTR" 2, "RTS & DTR" 3, else 0.
int PTTLineNumber(const QString& line);

#pragma once
// PTT keying options: the engine's PTT port and line, and the options dialog.
void doPTTSetup();
void mnuPTTOptions_Click();

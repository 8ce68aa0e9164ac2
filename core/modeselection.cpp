#include "core/modeselection.h"

void mnuBPSK_Click() {}
void mnuQPSK_Click() {}
void mnuQPSKInv_Click() {}
void mnuTune_Click() {}
void SetPSKMode(const QString&, const QString&) {}
void StartPSKSoundCard() {}
void AFCBox_Click() {}
void NetBox_Click() {}
void LoadMacroSet(const QString&) {}
void VerticalAdjustLayout() {}
void SetModeFromINI() {}

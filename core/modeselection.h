#pragma once
// Mode selection and the PSK engine's start.
#include <QString>

void mnuBPSK_Click();
void mnuQPSK_Click();
void mnuQPSKInv_Click();
void mnuTune_Click();
void SetPSKMode(const QString& logText, const QString& displayName);
void StartPSKSoundCard();
void AFCBox_Click();
void NetBox_Click();
void LoadMacroSet(const QString& section);
void VerticalAdjustLayout();
// Starts the mode saved in the settings ([Mode] "Mode").
void SetModeFromINI();

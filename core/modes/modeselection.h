#pragma once
// Mode selection and the PSK engine's start.
#include <QString>

struct MainWindowControls;

// The Mode menu's PSK commands (nothing while transmitting).
void mnuBPSK_Click();
void mnuQPSK_Click();
void mnuQPSKInv_Click();
void mnuTune_Click();
// The mode label steps BPSK, QPSK, QPSK-I, RTTY, Tune, BPSK.
void ModeBox_Click();
// Leaves exactly the named item ("mnuQPSK", "mnuRTTY(3)") checked among the mode items.
void CheckModeMenu(const QString& itemName);
// Makes the PSK engine the active engine (starting it when it was not) and applies the mode.
void SetPSKMode(const QString& logText, const QString& displayName);
// Starts the engine on the sound card; on an engine error shows it and ends the program
// (false when the program did not end, as under test).
bool StartPSKSoundCard();

// The AFC and Net switches (labels on the status bar).
void AFCBox_Click();
void AFCBox_MouseUp();
void NetBox_Click();
void SetPSKAFCOn();
void SetPSKAFCOff();
// AFC and Net as the settings file has them.
void LoadAFCSettings();

// Starts the mode saved in the settings ([Mode] "Mode").
void SetModeFromINI();

// The receive frequency that the PSK engine starts on: the preset or the last one used, as the
// settings say; one that is no audio frequency of the passband falls back to the preset.
int StartRxFrequency();

// Attaches the receive road's handlers to the main window: modes, receive text, word capture,
// PTT options.
void ConnectReceiveRoad(MainWindowControls& w);

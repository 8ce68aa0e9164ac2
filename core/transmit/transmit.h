#pragma once
// Starting, ending and aborting a transmission (the engine reports the switch itself).
#include <QString>
#include <functional>

struct MainWindowControls;

// Receiving: keys PTT and asks the engine to transmit (after moving the radio to the split
// transmit frequency when one is set). Transmitting: asks the engine to return to receive once
// its buffered text is sent.
void ToggleTransmit();
// Ends a transmission at once; unsent text, macro typing and a pending start are dropped.
void AbortTransmit();
// The "Transmit"/"Receive" indicator clicked.
void TxRxBox_Click();
// The "Abort" label clicked: AbortTransmit.
void Label4_Click();

// ---- the radio's QSY, shared with the return after a transmission ----

// Asks the radio (standalone) or the Logger for a frequency given as kHz text. False when the
// radio control component refused it (it has told the operator why): the radio will not move.
bool RequestRadioFrequency(const QString& kHzText);

enum class QsyResult { Moved, TimedOut, Abandoned };
// Yields until DialFrequency differs from `from`, for at most five second boundaries of the
// clock. Abandoned when the program starts closing or `giveUp` says so.
QsyResult WaitForDialChange(double from, const std::function<bool()>& giveUp = {});

// Attaches the transmit road's handlers to the main window: typing, transmit start/stop/abort.
void ConnectTransmitRoad(MainWindowControls& w);

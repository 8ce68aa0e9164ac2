#pragma once
// What the transmit road calls in other parts of the program that are wired in by those parts:
// the Logger sender, logging the QSO panel, the macro buttons and their repeat, and the
// auxiliary receive windows. Each starts as a no-op (the Logger sender, the repeat stop and the
// auxiliary windows start as the receive road's links, core/rx_links.h); the owning part or a
// test replaces it.
#include <QString>
#include <functional>

class RichText;

struct TransmitHooks {
    // Sends one text to the Logger's window.
    std::function<void(const QString& text)> SendToLogger;
    // Checks and logs the QSO typed on the main window, then clears the QSO panel.
    std::function<void()> LogAndClear;
    // A macro button released (button 0: a function key or the repeat timer).
    std::function<void(int index, int button, int shift, int x, int y)> Command1_Mouseup;
    // Stops a repeating macro.
    std::function<void()> BreakMacroLoop;
    // The text window of auxiliary receive channel 1 or 2 while it is open, else null.
    std::function<RichText*(int channel)> AuxTextWindow;
    // One pass of a wait for the radio: handles pending events (tests also move their clock).
    std::function<void()> WaitYield;
};

// The hooks in force.
TransmitHooks& TxHooks();
// Puts the defaults back (tests).
void ResetTxHooks();

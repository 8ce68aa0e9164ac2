#pragma once
// What the receive and transmit roads call in parts of the program that sit above them (the
// Logger link, the RTTY engine link, the macro buttons and their repeat, the macro sets, logging
// the QSO panel, the tuning and auxiliary windows, the RTTY notch marker and toolbar). One table
// for both roads: wiring a link here wires it for every caller. Each is a replaceable function;
// the main window's room installs the program's own (main_window/links.cpp) and tests can watch
// the calls.
#include <QString>
#include <functional>

class RichText;

struct ReceiveLinks {
    // Logger sender: one text to the Logger's window (an empty text only checks it is there).
    std::function<void(const QString& text)> SendToLogger;
    // RTTY engine start with a profile (0..10).
    std::function<void(int profile)> mnuRTTY_Click;
    // Stops a repeating macro.
    std::function<void()> BreakMacroLoop;
    // A macro button released (button 0: a function key or the repeat timer).
    std::function<void(int index, int button, int shift, int x, int y)> Command1_Mouseup;
    // The 36 macro buttons of a mode from the settings file ("Macro" or "RTTY Macro").
    std::function<void(const QString& section)> LoadMacroSet;
    // Checks and logs the QSO typed on the main window, then clears the QSO panel.
    std::function<void()> LogAndClear;
    // The RTTY notch marker on the spectrum: shown or not, and placed with its centre at the
    // given position in the spectrum's twips.
    std::function<bool()> NotchVisible;
    std::function<void(bool visible)> SetNotchVisible;
    std::function<void(double centreTwips)> PlaceNotch;
    // One button of the RTTY toolbar (1-based): pressed state and caption.
    std::function<void(int button, bool pressed, const QString& caption)> SetToolbarButton;
    // The main tuning window's squelch line, moved to a level.
    std::function<void(double level)> SetTuningSquelchLine;
    // The text window of auxiliary channel 1 or 2, or null while that window is closed.
    std::function<RichText*(int channel)> AuxText;
    // Ends the program at once after a failed engine start (does not return in the program).
    std::function<void()> EndProgram;
    // One pass of a wait for the radio: handles pending events (tests also move their clock).
    std::function<void()> WaitYield;
};

ReceiveLinks& RxLinks();
// Puts the program's own links back (tests).
void ResetRxLinks();
// Installs the program's own links (the main window's room, when the program starts).
void InstallReceiveLinks(ReceiveLinks (*make)());

#pragma once
// What the receive road calls in parts of the program that are not built around it yet (the
// Logger link, the RTTY engine link, the macro buttons, the tuning and auxiliary windows, the
// RTTY notch marker and toolbar). Each is a replaceable function with a harmless default, so
// the owner of that part can wire the real one and tests can watch the calls.
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
};

ReceiveLinks& RxLinks();
// Puts the defaults back (tests).
void ResetRxLinks();

// What ending the program after a failed engine start releases before the process goes: the
// window hook and the logbook; the shared block goes with the process's own clean-up.
void ReleaseBeforeEnd();

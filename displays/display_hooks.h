#pragma once
// What the displays call in other parts of the program that are not built around them: each
// is a replaceable function with a no-op default, so the displays work on their own and tests
// can watch the calls.
#include <QString>
#include <functional>

struct DisplayLinks {
    // The main window's RTTY notch setter, with a scale position in twips.
    std::function<void(float x)> SetNotchAt;
    // Centres the RTTY notch marker on a scale position in twips.
    std::function<void(float x)> CentreNotchPosition;
    // Puts the RTTY tones back round the preset frequency.
    std::function<void()> ResetRTTYShift;
    // Sends a text to the Logger's window (checks that it is still there).
    std::function<void(const QString& text)> SendToLogger;
};

DisplayLinks& DisplayHooks();
// Puts the defaults back (tests).
void ResetDisplayHooks();

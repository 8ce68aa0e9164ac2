#pragma once
// What the displays call in parts of the program that sit above them (the RTTY engine link,
// the Logger link, word capture in the receive windows): each is a replaceable function; the
// main window's room installs the program's own (main_window/links.cpp) and tests can watch the
// calls.
#include <QString>
#include <cstdint>
#include <functional>

class RichText;

struct DisplayLinks {
    // The main window's RTTY notch setter, with a scale position in twips.
    std::function<void(float x)> SetNotchAt;
    // Centres the RTTY notch marker on a scale position in twips.
    std::function<void(float x)> CentreNotchPosition;
    // Puts the RTTY tones back round the preset frequency.
    std::function<void()> ResetRTTYShift;
    // Sends a text to the Logger's window (checks that it is still there).
    std::function<void(const QString& text)> SendToLogger;
    // Word capture in an auxiliary channel's text: the word under the pointer is tracked (and
    // highlighted), and a click hands it to the QSO panel or the Logger.
    std::function<void(RichText& window, double x, double y, std::int32_t overColour, std::int32_t textColour)>
        TrackWordUnderMouse;
    std::function<void()> UseSelectedString;
};

DisplayLinks& DisplayHooks();
// Puts the program's own links back (tests).
void ResetDisplayHooks();
// Installs the program's own links (the main window's room, when the program starts).
void InstallDisplayLinks(DisplayLinks (*make)());

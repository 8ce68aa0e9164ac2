#pragma once
// Word capture: the word under the pointer in a receive window is tracked (and highlighted
// when "Rx Window Mouseover" is on); a click hands it to the QSO panel or the Logger as a
// report, a name (right button) or a call sign. A dragged selection goes to the clipboard.
#include <QString>
#include <cstdint>

class RichText;

// The word under the pointer at X, Y (twips in the window), with the slashed zero read as
// "0"; empty when none. Also moves the highlight. textColour is not used.
QString RichWordOver(RichText& window, double X, double Y, std::int32_t overColour, std::int32_t textColour);
// RichWordOver into WordUnderMouse.
void TrackWordUnderMouse(RichText& window, double X, double Y, std::int32_t overColour, std::int32_t textColour);
// Hands WordUnderMouse on as a report, a name or a call sign, then forgets it.
void UseSelectedString();
// Puts a highlighted word back in its colour and forgets the word.
void ResetWordHighlight();

// The main receive window's handlers (button 1 left, 2 right, 4 middle; X, Y in twips).
void RxWindow_MouseMove(int button, int shift, double X, double Y);
void RxWindow_MouseDown(int button, int shift, double X, double Y);
void RxWindow_MouseUp(int button, int shift, double X, double Y);
void RxWindow_GotFocus();

// Feeds the main receive window's mouse and focus events to its handlers.
void ConnectRxWindowMouse();

// The strip at the right of a receive window (its scroll bar) that counts as outside, twips.
constexpr int kRightMarginTwips = 350;

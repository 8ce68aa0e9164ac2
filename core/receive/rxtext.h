#pragma once
// The receive text path: pending text into a receive window, control-code names, backspace,
// slashed zero, trimming and the capture file.
#include <QString>
#include <cstdint>


class RichText;

// One pending buffer into a receive window in a colour. isMain: the main receive window (its
// text is captured and shows control-code names).
void AppendRxText(RichText& window, const QString& text, std::int32_t colour, bool isMain);
// Appends text at the end of the main receive window in the control-code colour
// (ControlCodeColor): control-code names, switch notes and the macro interpreter's own notes.
void EchoToRxWindow(const QString& text);
// Cuts the first 1000 characters and puts the caret at the end.
void TrimRichText(RichText& window);
// Appends the name of a control code (0..31) to the main receive window.
void ShowControlCodeName(int code);
// One received backspace: removes the last line break, control-code name or character.
void RxBackspace(RichText& window);

// The name shown for a control code 0..31 ("<BEL>"), empty for other codes.
QString ControlCodeName(int code);
// A colour kept as decimal text ("255") as a Windows RGB number; 0 when it is no number.
std::int32_t ColourFromText(const QString& text);

// Receive windows longer than this lose their first kRxTrimCut characters before more is added.
constexpr int kRxWindowLimit = 5000;
constexpr int kRxTrimCut = 1000;

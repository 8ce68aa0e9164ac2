#pragma once
// The receive text path: pending text into a receive window, control-code names, backspace,
// slashed zero, trimming and the capture file.
#include <QString>
#include <cstdint>

class RichText;

void AppendRxText(RichText& window, const QString& text, std::int32_t colour, bool isMain);
void TrimRichText(RichText& window);
void ShowControlCodeName(int code);
void RxBackspace(RichText& window);
// Appends text at the end of the main receive window in the control-code colour.
void EchoToRxWindow(const QString& text);

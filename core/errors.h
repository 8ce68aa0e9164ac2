#pragma once
// Error reporters for the PSK engine and the logbook, and the status lights.
#include <QString>
#include <cstdint>

// The fixed text for a PSK engine error code (10..32), or the unknown-code text.
QString DLLErrorText(std::int32_t code);
// While an engine error box or a logbook error box is open, further reports of that kind are
// counted, not shown in boxes of their own.
void ShowDLLError(std::int32_t code);
// "Logbook Error = " and the record library's text, then the logbook file and what to do.
void ShowLogbookError();
QString LogbookErrorAdvice(std::int16_t status);
// Reports counted, not shown, in this run.
int CountedErrorReports();
// The status light red for ten engine ticks.
void ShowOverloadLight();
// The status light at rest: orange with the energy saver on, else green.
void SetLights();

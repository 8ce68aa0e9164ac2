#pragma once
// The PSK engine's error reporter and the status lights. (The logbook's error box is the
// logbook's own: logbook/database.h.)
#include <QString>
#include <cstdint>

#include "state/error_reports.h"

// The fixed text for a PSK engine error code (10..32), or the unknown-code text.
QString DLLErrorText(std::int32_t code);
// "DLL Error " and the code; while such a box is open, further reports are counted, not shown.
void ShowDLLError(std::int32_t code);
// The status light red for ten engine ticks.
void ShowOverloadLight();
// The status light at rest: orange with the energy saver on, else green.
void SetLights();

#pragma once
// Error reporters for the PSK engine and the logbook, and the status lights.
#include <QString>
#include <cstdint>

// The fixed text for a PSK engine error code (10..32), or the unknown-code text.
QString DLLErrorText(std::int32_t code);
void ShowDLLError(std::int32_t code);
void ShowLogbookError();
// The status light red for ten engine ticks.
void ShowOverloadLight();
// The status light at rest: orange with the energy saver on, else green.
void SetLights();

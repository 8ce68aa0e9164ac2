#pragma once
// minimodem, the comparison receiver and sender, run on the same signals as the engine's
// receiver (it is found on the PATH; without it its columns print "-").
#include <string>
#include <vector>

namespace othermodem {

// Whether minimodem can be run (looked for once).
bool available();

// What minimodem's RTTY receiver (45.45 Bd, its own default squelch) prints from the signal
// (8000 samples/s, 16-bit scale, any level: it is handed over as floating point).
std::string receive(const std::vector<float>& audio, double markHz, double spaceHz);

// minimodem's RTTY transmission of the text (45.45 Bd, mark 1585 Hz, space 1415 Hz), at 8000
// samples/s with a peak of 16000; empty when it cannot be made.
std::vector<float> transmit(const std::string& text);

} // namespace othermodem

#pragma once
// Helpers for the modem tests: a transmission rendered into memory, noise, and a receiver run.
#include <string>
#include <vector>

#include "engines/psk/receive/receiver.h"
#include "engines/psk/transmit/transmitter.h"

namespace psktest {

// The sound of one whole transmission of text in a mode at a frequency, with half a second
// of silence before and after.
std::vector<float> transmission(const std::string& text, int mode, double hz);

// Adds white Gaussian noise for the given signal-to-noise ratio in 3000 Hz, measured against
// the signal's mean power.
void addNoise(std::vector<float>& sound, double signalPower, double snrDb, unsigned seed);

// Runs sound through a receiver and returns each channel's decoded text.
struct Tuning {
    double hz;
    int mode;
    int afcRange = 0;
};
std::vector<std::string> receive(const std::vector<float>& sound, const std::vector<Tuning>& channels);

} // namespace psktest

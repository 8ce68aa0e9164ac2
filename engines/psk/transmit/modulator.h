#pragma once
// Sound of the transmitter: PSK symbols with cosine-shaped transitions between successive
// phasors, and keyed carrier for Morse, both at the set audio frequency.
#include <string>
#include <vector>

#include "engines/psk/dsp/dsp.h"

namespace psk {

class Modulator {
public:
    explicit Modulator(double amplitude = 16000.0) : amplitude_(amplitude) {}
    void setFrequency(double hz) { hz_ = hz; }
    double frequency() const { return hz_; }
    // One symbol period moving from the present phasor to target (0 = silence).
    void symbol(cplx target, std::vector<float>& out);
    // Carrier on or off for the given number of samples, with 5 ms cosine edges.
    void keyed(bool on, int samples, std::vector<float>& out);
    cplx phasor() const { return phasor_; }
    void reset() { phasor_ = 0; keyLevel_ = 0; }

private:
    float carrier(double envelopeRe, double envelopeIm);
    double amplitude_;
    double hz_ = 1000;
    double phase_ = 0;
    cplx phasor_{0, 0};
    double keyLevel_ = 0;
};

// Morse elements of a text as (key down?, length in dot units); unknown characters are skipped.
std::vector<std::pair<bool, int>> morseElements(const std::string& text);

// Dot length in samples for a CW identification speed: 1..4 are 37, 19, 12 and 9 words per
// minute; larger values are words per minute themselves.
int morseDotSamples(int speed);

} // namespace psk

#pragma once
// Small signal-processing building blocks shared by the modem: constants of the mode, a
// numerically controlled oscillator, filter design and an in-place FFT.
#include <complex>
#include <cstddef>
#include <vector>

namespace psk {

using cplx = std::complex<double>;

constexpr double kPi = 3.14159265358979323846;
constexpr int kSampleRate = 8000;
constexpr int kSamplesPerSymbol = 256;             // 31.25 baud
constexpr int kDecimation = 16;                    // 8000 -> 500 samples/s
constexpr int kDecimatedPerSymbol = kSamplesPerSymbol / kDecimation;
constexpr double kBaud = double(kSampleRate) / kSamplesPerSymbol;

// Complex oscillator advanced one sample per call, renormalised so it never drifts.
class Nco {
public:
    void setFrequency(double hz);
    double frequency() const { return hz_; }
    cplx next()
    {
        cplx v = phasor_;
        phasor_ *= step_;
        if (++count_ == 512) {
            phasor_ /= std::abs(phasor_);
            count_ = 0;
        }
        return v;
    }

private:
    double hz_ = 0;
    cplx phasor_{1, 0};
    cplx step_{1, 0};
    int count_ = 0;
};

// Windowed-sinc low-pass (Blackman window), cutoff in Hz at the given sample rate, unit DC gain.
std::vector<double> lowPass(int taps, double cutoffHz, double sampleRate);

// In-place radix-2 FFT; the size must be a power of two.
void fft(std::vector<cplx>& data);

// Wraps an angle to (-pi, pi].
double wrapPhase(double a);

} // namespace psk

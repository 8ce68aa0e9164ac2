#include "engines/psk/dsp/dsp.h"

#include <cmath>

namespace psk {

void Nco::setFrequency(double hz)
{
    hz_ = hz;
    step_ = std::polar(1.0, -2.0 * kPi * hz / kSampleRate);
}

std::vector<double> lowPass(int taps, double cutoffHz, double sampleRate)
{
    std::vector<double> h(taps);
    double fc = cutoffHz / sampleRate;
    double sum = 0;
    for (int i = 0; i < taps; ++i) {
        double m = i - (taps - 1) / 2.0;
        double sinc = m == 0 ? 2 * fc : std::sin(2 * kPi * fc * m) / (kPi * m);
        double w = 0.42 - 0.5 * std::cos(2 * kPi * i / (taps - 1)) + 0.08 * std::cos(4 * kPi * i / (taps - 1));
        h[i] = sinc * w;
        sum += h[i];
    }
    for (double& v : h)
        v /= sum;
    return h;
}

void fft(std::vector<cplx>& a)
{
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        cplx wl = std::polar(1.0, -2 * kPi / double(len));
        for (std::size_t i = 0; i < n; i += len) {
            cplx w(1, 0);
            for (std::size_t k = 0; k < len / 2; ++k) {
                cplx u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= wl;
            }
        }
    }
}

double wrapPhase(double a)
{
    a = std::fmod(a + kPi, 2 * kPi);
    if (a <= 0)
        a += 2 * kPi;
    return a - kPi;
}

} // namespace psk

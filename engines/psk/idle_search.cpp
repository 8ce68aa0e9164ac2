#include "engines/psk/rxchannel.h"

// Finding a signal by its idle: phase reversals put two tones 31.25 Hz apart with the carrier
// halfway between. Their power is measured straight from the spectrum of the last second, with
// nothing raised to a power first, so a signal starting with a second of idle is found well
// below the level at which its text can be copied.
#include <algorithm>
#include <cmath>

namespace psk {
namespace {

constexpr int kIdleFft = 1024;       // the one-second buffer, padded to half-bin steps
constexpr int kIdleNoiseBins = 40;   // bins either side that give the noise around a tone
constexpr int kIdleGuardBins = 3;    // and those next to it that do not

} // namespace

bool RxChannel::idleSearch(double& hz, double& phase, double& strength) const
{
    const int n = int(searchBuf_.size());
    const double rate = double(kSampleRate) / kDecimation;
    const double binHz = rate / kIdleFft;
    const int tone = int(std::lround(kBaud / 2 / binHz)); // 15.625 Hz, bins
    std::vector<cplx> spec(kIdleFft, cplx(0, 0));
    for (int i = 0; i < n; ++i)
        spec[std::size_t(i)] = searchBuf_[std::size_t((searchPos_ + i) % n)] * searchIdleWin_[std::size_t(i)];
    fft(spec);
    std::vector<double> power(kIdleFft), sum(kIdleFft + 1, 0.0);
    for (int k = 0; k < kIdleFft; ++k) {
        power[std::size_t(k)] = std::norm(spec[std::size_t(k)]);
        sum[std::size_t(k) + 1] = sum[std::size_t(k)] + power[std::size_t(k)];
    }
    auto at = [&](int k) { return power[std::size_t((k % kIdleFft + kIdleFft) % kIdleFft)]; };
    // The mean power of the bins around k, leaving out those next to it (spread of a tone).
    auto noiseAt = [&](int k) {
        auto range = [&](int from, int to) { // bins from..to, to > from, wrapping
            double s = 0;
            for (int a = from; a < to;) {
                int idx = (a % kIdleFft + kIdleFft) % kIdleFft;
                int run = std::min(to - a, kIdleFft - idx);
                s += sum[std::size_t(idx + run)] - sum[std::size_t(idx)];
                a += run;
            }
            return s;
        };
        double s = range(k - kIdleNoiseBins, k - kIdleGuardBins) + range(k + kIdleGuardBins + 1, k + kIdleNoiseBins + 1);
        return s / (2 * (kIdleNoiseBins - kIdleGuardBins));
    };
    const double offsetLow = setHz_ - afcRange_ - nco_.frequency(), offsetHigh = setHz_ + afcRange_ - nco_.frequency();
    int best = 0;
    double top = -1;
    for (int c = int(std::ceil(offsetLow / binHz)); c <= int(std::floor(offsetHigh / binHz)); ++c) {
        double nl = noiseAt(c - tone), nh = noiseAt(c + tone);
        if (nl <= 0 || nh <= 0)
            continue;
        double s = at(c - tone) / nl + at(c + tone) / nh;
        if (s > top) {
            top = s;
            best = c;
        }
    }
    if (top < 0)
        return false;
    strength = top;
    // Finer: the peak of a parabola through the log power of the three bins, for each tone.
    auto vertex = [&](int k) {
        double l = std::log(at(k - 1) + 1e-30), c = std::log(at(k) + 1e-30), r = std::log(at(k + 1) + 1e-30);
        double d2 = l - 2 * c + r;
        return d2 < 0 ? std::clamp(0.5 * (l - r) / d2, -0.5, 0.5) : 0.0;
    };
    const double offset = (best + (vertex(best - tone) + vertex(best + tone)) / 2) * binHz;
    hz = nco_.frequency() + offset;
    // The carrier's phase, now: halfway between the two tones' phases (up to half a turn, which
    // the decoders do not mind).
    auto toneAt = [&](double f) {
        const double w = 2 * kPi * f / rate;
        cplx acc(0, 0);
        for (int i = 0; i < n; ++i)
            acc += searchBuf_[std::size_t((searchPos_ + i) % n)] * searchIdleWin_[std::size_t(i)] *
                   std::polar(1.0, -w * (i - (n - 1)));
        return acc;
    };
    phase = std::arg(toneAt(offset - kBaud / 2) * toneAt(offset + kBaud / 2)) / 2;
    return true;
}

} // namespace psk

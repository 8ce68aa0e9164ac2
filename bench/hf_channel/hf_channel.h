#pragma once
// A seeded HF channel simulator for 8000 Hz audio: the Watterson model (independent
// Rayleigh-fading paths of equal mean power, each with a Gaussian Doppler spectrum and its
// own delay), with an optional frequency offset, drift and slow random wander.
//
// The Doppler spread is given as CCIR does: twice the standard deviation of the Gaussian
// power spectrum of each path's gain. The mean power of the output equals that of the input,
// so a signal-to-noise ratio is set on the unfaded signal and noise is added afterwards.
//
//   auto faded = hfchannel::apply(clean, hfchannel::moderate(), seed);
//
// Header only; used by the benchmarks and by tests.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <random>
#include <vector>

namespace hfchannel {

struct Settings {
    int paths = 2;              // 0: no fading (frequency effects only); 1 or 2 fading paths
    double delayMs = 1.0;       // delay of the second path behind the first
    double spreadHz = 0.5;      // Doppler spread (2 sigma); 0 keeps each path's gain fixed
    double offsetHz = 0;        // fixed frequency offset
    double driftHzPerS = 0;     // frequency drift from the first sample on
    double wanderHz = 0;        // rms of a slow random frequency wander
    double wanderSeconds = 10;  // its correlation time
};

// CCIR 520 paths, and the cases used beside them.
inline Settings good() { return {2, 0.5, 0.1}; }
inline Settings moderate() { return {2, 1.0, 0.5}; }
inline Settings poor() { return {2, 2.0, 1.0}; }
// 3 ms between the paths puts the notches 333 Hz apart: two tones 170 Hz apart fade independently.
inline Settings selective() { return {2, 3.0, 0.5}; }
// One Rayleigh path (flat fading) with the given spread.
inline Settings flat(double spreadHz) { return {1, 0.0, spreadHz}; }
// No fading: a steady signal that drifts at hzPerS.
inline Settings drift(double hzPerS) { Settings s{0, 0.0, 0.0}; s.driftHzPerS = hzPerS; return s; }

namespace detail {

using cplx = std::complex<double>;
constexpr double kPi = 3.14159265358979323846;

// A slowly varying random process, made at a rate that suits its correlation time and
// interpolated between its points.
struct Process {
    std::vector<cplx> v;
    double rate = 1; // points per second

    cplx at(double seconds) const
    {
        const double pos = seconds * rate;
        const std::size_t i = std::min(std::size_t(pos), v.size() - 2);
        const double f = pos - double(i);
        return v[i] * (1 - f) + v[i + 1] * f;
    }
};

// Gaussian low-pass impulse response with standard deviation sigma (in points), scaled so
// that unit-variance white noise comes out with unit variance.
inline std::vector<double> gaussianKernel(double sigma)
{
    const int half = std::max(1, int(std::ceil(4 * sigma)));
    std::vector<double> h(std::size_t(2 * half + 1));
    double energy = 0;
    for (int n = -half; n <= half; ++n) {
        double v = std::exp(-0.5 * (n / sigma) * (n / sigma));
        h[std::size_t(n + half)] = v;
        energy += v * v;
    }
    for (double& v : h)
        v /= std::sqrt(energy);
    return h;
}

// Unit-variance white noise (complex when complexNoise) filtered to a Gaussian spectrum with a
// correlation time of sigmaSeconds (the impulse response's standard deviation), covering seconds.
inline Process gaussianProcess(double seconds, double sigmaSeconds, bool complexNoise, std::mt19937& rng)
{
    Process p;
    p.rate = 10.0 / sigmaSeconds; // ten points within one standard deviation
    const std::size_t count = std::size_t(seconds * p.rate) + 2;
    const auto h = gaussianKernel(10.0);
    const double scale = complexNoise ? std::sqrt(0.5) : 1.0;
    std::normal_distribution<double> g(0.0, scale);
    std::vector<cplx> white(count + h.size());
    for (auto& w : white)
        w = cplx(g(rng), complexNoise ? g(rng) : 0.0);
    p.v.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        cplx sum = 0;
        for (std::size_t k = 0; k < h.size(); ++k)
            sum += h[k] * white[i + k];
        p.v[i] = sum;
    }
    return p;
}

// The analytic signal of a real one: a windowed Hilbert transformer (flat over 200-3800 Hz
// at 8000 samples/s), with the real part delayed to match.
inline std::vector<cplx> analytic(const std::vector<float>& in)
{
    constexpr int half = 127;
    std::vector<double> h(2 * half + 1, 0.0);
    for (int n = -half; n <= half; ++n) {
        if (n % 2 == 0)
            continue;
        double w = 0.42 + 0.5 * std::cos(kPi * n / (half + 1)) + 0.08 * std::cos(2 * kPi * n / (half + 1));
        h[std::size_t(n + half)] = 2.0 / (kPi * n) * w;
    }
    const std::ptrdiff_t n = std::ptrdiff_t(in.size());
    std::vector<cplx> out(in.size());
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        double im = 0;
        for (int k = -half; k <= half; k += 2) { // the odd taps; the even ones are zero
            const double c = h[std::size_t(k + half)];
            const std::ptrdiff_t j = i - k;
            if (j >= 0 && j < n)
                im += c * in[std::size_t(j)];
        }
        out[std::size_t(i)] = cplx(in[std::size_t(i)], im);
    }
    return out;
}

} // namespace detail

// The channel for one signal: made once for a length and a seed, so that the path gains can be
// read back (where the fades are) beside the audio they were applied to.
class Channel {
public:
    Channel(const Settings& s, std::size_t samples, unsigned seed, double rate = 8000.0)
        : s_(s), rate_(rate)
    {
        using namespace detail;
        std::mt19937 rng(seed);
        const double seconds = double(samples) / rate;
        const int paths = std::clamp(s.paths, 0, 2);
        const double share = paths ? std::sqrt(1.0 / paths) : 1.0;
        for (int p = 0; p < paths; ++p) {
            delay_.push_back(p == 0 ? 0 : std::size_t(std::lround(s.delayMs * 1e-3 * rate)));
            Process g;
            if (s.spreadHz > 0) {
                // A Gaussian filter whose impulse response has a standard deviation of
                // 1 / (2 sqrt(2) pi sigma) gives a power spectrum of standard deviation sigma.
                g = gaussianProcess(seconds, 1.0 / (2 * std::sqrt(2.0) * kPi * (s.spreadHz / 2)), true, rng);
            } else {
                std::uniform_real_distribution<double> phase(0, 2 * kPi);
                g.v.assign(2, std::polar(1.0, phase(rng)));
            }
            for (auto& v : g.v)
                v *= share;
            gain_.push_back(std::move(g));
        }
        if (s.wanderHz > 0)
            wander_ = gaussianProcess(seconds, s.wanderSeconds, false, rng);
    }

    // Power gain of the channel at sample i for a tone at hz (1 on average).
    double powerAt(std::size_t i, double hz) const
    {
        if (gain_.empty())
            return 1.0;
        detail::cplx sum = 0;
        for (std::size_t p = 0; p < gain_.size(); ++p)
            sum += gainAt(p, i) * std::polar(1.0, -2 * detail::kPi * hz * double(delay_[p]) / rate_);
        return std::norm(sum);
    }

    // Frequency shift (offset, drift and wander) at sample i, in hertz.
    double shiftAt(std::size_t i) const
    {
        const double t = double(i) / rate_;
        double f = s_.offsetHz + s_.driftHzPerS * t;
        if (!wander_.v.empty())
            f += s_.wanderHz * wander_.at(t).real();
        return f;
    }

    std::vector<float> apply(const std::vector<float>& in) const
    {
        using namespace detail;
        const auto x = analytic(in);
        std::vector<float> out(in.size());
        double phase = 0;
        for (std::size_t i = 0; i < in.size(); ++i) {
            cplx y = 0;
            if (gain_.empty())
                y = x[i];
            for (std::size_t p = 0; p < gain_.size(); ++p)
                if (i >= delay_[p])
                    y += gainAt(p, i) * x[i - delay_[p]];
            out[i] = float((y * std::polar(1.0, phase)).real());
            phase = std::fmod(phase + 2 * kPi * shiftAt(i) / rate_, 2 * kPi);
        }
        return out;
    }

private:
    detail::cplx gainAt(std::size_t p, std::size_t i) const
    {
        return gain_[p].at(double(i) / rate_);
    }

    Settings s_;
    double rate_;
    std::vector<std::size_t> delay_;
    std::vector<detail::Process> gain_;
    detail::Process wander_;
};

inline std::vector<float> apply(const std::vector<float>& in, const Settings& s, unsigned seed)
{
    return Channel(s, in.size(), seed).apply(in);
}

} // namespace hfchannel

#include "engines/psk/viterbi.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace psk {
namespace {

inline int dibitFor(unsigned state, int bit)
{
    unsigned x1 = state & 1, x2 = (state >> 1) & 1, x3 = (state >> 2) & 1, x4 = (state >> 3) & 1;
    unsigned b = bit ? 1u : 0u;
    unsigned g0 = b ^ x1 ^ x2 ^ x4;
    unsigned g1 = b ^ x3 ^ x4;
    return int(g0 << 1 | g1);
}

inline double wrap(double a)
{
    constexpr double kTwoPi = 6.283185307179586;
    return a - kTwoPi * std::floor(a / kTwoPi + 0.5);
}

} // namespace

int ConvEncoder::push(int bit)
{
    int d = dibitFor(state_, bit);
    state_ = ((state_ << 1) | (bit ? 1u : 0u)) & 0xF;
    return d;
}

int qpskPhaseChange(int dibit)
{
    static const int kQuarterTurns[4] = {2, 0, 3, 1}; // 00 reversal, 01 none, 10 -90, 11 +90
    return kQuarterTurns[dibit & 3];
}

void ViterbiDecoder::reset()
{
    score_.fill(0.0);
    path_.fill(0);
    phase_.fill(0.0);
    freq_.fill(0.0);
    count_ = 0;
    best_ = 0;
}

void ViterbiDecoder::shiftFrequency(double dw)
{
    for (double& f : freq_)
        f -= dw;
}

void ViterbiDecoder::setCarrier(double phase)
{
    phase_.fill(wrap(phase));
    freq_.fill(0.0);
}

int ViterbiDecoder::decide(int states)
{
    int best = 0;
    for (int s = 1; s < states; ++s)
        if (score_[s] > score_[best])
            best = s;
    best_ = best;
    double top = score_[best];
    for (int s = 0; s < states; ++s)
        score_[s] -= top; // keeps the numbers small
    if (count_ < kDelay) {
        ++count_;
        return 0;
    }
    return int((path_[best] >> kDelay) & 1u);
}

int ViterbiDecoder::push(const std::array<double, 4>& metric)
{
    std::array<double, kStates> next;
    std::array<std::uint64_t, kStates> nextPath{};
    next.fill(-std::numeric_limits<double>::infinity());
    for (unsigned s = 0; s < 16; ++s) {
        for (int bit = 0; bit < 2; ++bit) {
            unsigned t = ((s << 1) | unsigned(bit)) & 0xF;
            double m = score_[s] + metric[dibitFor(s, bit)];
            if (m > next[t]) {
                next[t] = m;
                nextPath[t] = (path_[s] << 1) | unsigned(bit);
            }
        }
    }
    score_ = next;
    path_ = nextPath;
    return decide(16);
}

int ViterbiDecoder::pushSymbol(std::complex<double> c, bool inverted)
{
    // Per-survivor carrier tracking: every state keeps the carrier phase and frequency that
    // its own path implies, corrected with its own (error-free along the right path) symbol
    // decisions, so the estimate needs no delayed or guessed decisions.
    static const std::complex<double> kSymbol[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    std::array<double, kStates> next;
    std::array<std::uint64_t, kStates> nextPath{};
    std::array<double, kStates> nextPhase{}, nextFreq{};
    next.fill(-std::numeric_limits<double>::infinity());
    for (unsigned s = 0; s < 16; ++s) {
        for (unsigned phase = 0; phase < 4; ++phase) {
            unsigned from = s * 4 + phase;
            if (score_[from] == -std::numeric_limits<double>::infinity())
                continue;
            const std::complex<double> r = c * std::polar(1.0, -phase_[from]);
            const std::complex<double> clean = r - isi_ * kSymbol[phase];
            for (int bit = 0; bit < 2; ++bit) {
                int q = qpskPhaseChange(dibitFor(s, bit));
                unsigned newPhase = (phase + unsigned(inverted ? 4 - q : q)) & 3;
                unsigned to = (((s << 1) | unsigned(bit)) & 0xF) * 4 + newPhase;
                const std::complex<double> e = clean * std::conj(kSymbol[newPhase]);
                double m = score_[from] + e.real();
                if (m > next[to]) {
                    next[to] = m;
                    nextPath[to] = (path_[from] << 1) | unsigned(bit);
                    double err = std::clamp(e.imag(), -1.0, 1.0);
                    nextPhase[to] = wrap(phase_[from] + loopAlpha_ * err + freq_[from]);
                    nextFreq[to] = std::clamp(freq_[from] + loopBeta_ * err, -kMaxFreq, kMaxFreq);
                }
            }
        }
    }
    score_ = next;
    path_ = nextPath;
    phase_ = nextPhase;
    freq_ = nextFreq;
    return decide(kStates);
}

} // namespace psk

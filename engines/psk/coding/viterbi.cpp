#include "engines/psk/coding/viterbi.h"

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

// e^(i a) for the small angles the carrier loops move by (|a| <= 1): a few terms of the series,
// then set back to unit length, which is cheaper than the sine and cosine.
inline std::complex<double> turn(double a)
{
    const double a2 = a * a;
    const double c = 1 - a2 / 2 * (1 - a2 / 12 * (1 - a2 / 30 * (1 - a2 / 56)));
    const double s = a * (1 - a2 / 6 * (1 - a2 / 20 * (1 - a2 / 42 * (1 - a2 / 72))));
    const double n = 1 / std::sqrt(c * c + s * s);
    return {c * n, s * n};
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
    carrier_.fill({1, 0});
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
    carrier_.fill(std::polar(1.0, phase));
    freq_.fill(0.0);
}

int ViterbiDecoder::pendingBit(int k) const
{
    const int bit = int((path_[best_] >> k) & 1u);
    for (int s = 0; s < kStates; ++s)
        if (score_[s] != -std::numeric_limits<double>::infinity() && int((path_[s] >> k) & 1u) != bit)
            return -1;
    return bit;
}

int ViterbiDecoder::decide(int states)
{
    int best = 0;
    for (int s = 1; s < states; ++s)
        if (score_[s] > score_[best])
            best = s;
    best_ = best;
    double top = score_[best];
    gain_ = top; // the scores were shifted to put the best at 0 one symbol ago
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
    struct Branch {
        unsigned to;    // the state it leads to
        unsigned turns; // the new absolute phase, quarter turns
    };
    static const auto kBranches = [] {
        // [coder state][phase][inverted][bit]
        std::array<std::array<std::array<std::array<Branch, 2>, 2>, 4>, 16> t{};
        for (unsigned s = 0; s < 16; ++s)
            for (unsigned phase = 0; phase < 4; ++phase)
                for (int inv = 0; inv < 2; ++inv)
                    for (int bit = 0; bit < 2; ++bit) {
                        int q = qpskPhaseChange(dibitFor(s, bit));
                        unsigned turns = (phase + unsigned(inv ? 4 - q : q)) & 3;
                        t[s][phase][std::size_t(inv)][std::size_t(bit)] = {(((s << 1) | unsigned(bit)) & 0xF) * 4 + turns, turns};
                    }
        return t;
    }();
    constexpr double kNone = -std::numeric_limits<double>::infinity();
    std::array<double, kStates> next;
    std::array<unsigned, kStates> from{};
    std::array<double, kStates> error{};
    next.fill(kNone);
    for (unsigned s = 0; s < 16; ++s) {
        for (unsigned phase = 0; phase < 4; ++phase) {
            const unsigned f = s * 4 + phase;
            if (score_[f] == kNone)
                continue;
            // The symbol turned back by the survivor's carrier phase, less the previous
            // symbol's share (the previous symbol is this state's phase).
            const double cs = carrier_[f].real(), sn = carrier_[f].imag();
            double re = c.real() * cs + c.imag() * sn, im = c.imag() * cs - c.real() * sn;
            switch (phase) {
            case 0: re -= isi_; break;
            case 1: im -= isi_; break;
            case 2: re += isi_; break;
            default: im += isi_; break;
            }
            for (int bit = 0; bit < 2; ++bit) {
                const Branch& b = kBranches[s][phase][inverted ? 1 : 0][std::size_t(bit)];
                // Against the new symbol: a quarter-turn rotation of (re, im).
                double er, ei;
                switch (b.turns) {
                case 0: er = re; ei = im; break;
                case 1: er = im; ei = -re; break;
                case 2: er = -re; ei = -im; break;
                default: er = -im; ei = re; break;
                }
                const double m = score_[f] + er;
                if (m > next[b.to]) {
                    next[b.to] = m;
                    from[b.to] = f;
                    error[b.to] = ei;
                }
            }
        }
    }
    std::array<std::uint64_t, kStates> nextPath{};
    std::array<std::complex<double>, kStates> nextCarrier{};
    std::array<double, kStates> nextFreq{};
    for (unsigned t = 0; t < unsigned(kStates); ++t) {
        if (next[t] == kNone)
            continue;
        const unsigned f = from[t];
        nextPath[t] = (path_[f] << 1) | ((t >> 2) & 1u);
        const double err = std::clamp(error[t], -1.0, 1.0);
        nextCarrier[t] = carrier_[f] * turn(loopAlpha_ * err + freq_[f]);
        nextFreq[t] = std::clamp(freq_[f] + loopBeta_ * err, -kMaxFreq, kMaxFreq);
    }
    score_ = next;
    path_ = nextPath;
    carrier_ = nextCarrier;
    freq_ = nextFreq;
    return decide(kStates);
}

int ViterbiDecoder::pushChange(std::complex<double> y, bool inverted, double smoothing)
{
    constexpr double kNone = -std::numeric_limits<double>::infinity();
    std::array<double, kStates> next;
    next.fill(kNone);
    std::array<std::uint64_t, kStates> nextPath{};
    std::array<std::complex<double>, kStates> nextCarrier{};
    for (unsigned s = 0; s < 16; ++s) {
        if (score_[s] == kNone)
            continue;
        for (int bit = 0; bit < 2; ++bit) {
            const int q = qpskPhaseChange(dibitFor(s, bit));
            const std::complex<double> r = carrier_[s];
            std::complex<double> e;
            switch (inverted ? (4 - q) & 3 : q) {
            case 0: e = r; break;
            case 1: e = {-r.imag(), r.real()}; break;
            case 2: e = -r; break;
            default: e = {r.imag(), -r.real()}; break;
            }
            const unsigned t = ((s << 1) | unsigned(bit)) & 0xF;
            const double m = score_[s] + (y * std::conj(e)).real();
            if (m > next[t]) {
                next[t] = m;
                nextPath[t] = (path_[s] << 1) | unsigned(bit);
                nextCarrier[t] = smoothing * e + (1 - smoothing) * y;
            }
        }
    }
    score_ = next; // the states beyond the coder's 16 stay out (pendingBit skips them)
    path_ = nextPath;
    carrier_ = nextCarrier;
    return decide(16);
}

} // namespace psk

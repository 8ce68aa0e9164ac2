#include "engines/psk/viterbi.h"

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

} // namespace

int ConvEncoder::push(int bit)
{
    int d = dibitFor(state_, bit);
    state_ = ((state_ << 1) | (bit ? 1u : 0u)) & 0xF;
    return d;
}

int qpskPhaseChange(int dibit)
{
    static const int kQuarterTurns[4] = {2, 1, 3, 0}; // 00 reversal, 01 +90, 10 -90, 11 none
    return kQuarterTurns[dibit & 3];
}

void ViterbiDecoder::reset()
{
    score_.fill(0.0);
    path_.fill(0);
    count_ = 0;
}

int ViterbiDecoder::push(const std::array<double, 4>& metric)
{
    std::array<double, 16> next;
    std::array<std::uint64_t, 16> nextPath;
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
    unsigned best = 0;
    for (unsigned s = 1; s < 16; ++s)
        if (next[s] > next[best])
            best = s;
    double top = next[best];
    for (unsigned s = 0; s < 16; ++s)
        score_[s] = next[s] - top; // keeps the numbers small
    path_ = nextPath;
    if (count_ < kDelay) {
        ++count_;
        return 0;
    }
    return int((path_[best] >> kDelay) & 1u);
}

} // namespace psk

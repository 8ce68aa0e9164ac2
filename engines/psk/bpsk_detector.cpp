#include "engines/psk/bpsk_detector.h"

namespace psk {
namespace {

// A path's bit between the symbols k and k + 1 ago: 1 where they have the same sign.
int bitOf(std::uint64_t path, int k)
{
    return ((path >> k) & 1u) == ((path >> (k + 1)) & 1u) ? 1 : 0;
}

} // namespace

void BpskDetector::reset()
{
    score_ = {0, 0};
    path_ = {0, 0};
    count_ = 0;
}

int BpskDetector::push(double x)
{
    std::array<double, 2> next{};
    std::array<std::uint64_t, 2> nextPath{};
    for (unsigned to = 0; to < 2; ++to) {
        const double sign = to ? -1.0 : 1.0;
        double best = 0;
        std::uint64_t path = 0;
        for (unsigned from = 0; from < 2; ++from) {
            const double m = score_[from] + sign * x - isi_ * sign * (from ? -1.0 : 1.0);
            if (from == 0 || m > best) {
                best = m;
                path = (path_[from] << 1) | to;
            }
        }
        next[to] = best;
        nextPath[to] = path;
    }
    const unsigned top = next[1] > next[0] ? 1 : 0;
    const double shift = next[top];
    score_ = {next[0] - shift, next[1] - shift}; // keeps the numbers small
    path_ = nextPath;
    if (count_ <= kDelay) {
        ++count_;
        return 0;
    }
    return bitOf(path_[top], kDelay);
}

int BpskDetector::pendingBit(int k) const
{
    const int bit = bitOf(path_[0], k);
    return bitOf(path_[1], k) == bit ? bit : -1;
}

} // namespace psk

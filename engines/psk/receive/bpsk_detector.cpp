#include "engines/psk/receive/bpsk_detector.h"

#include <limits>

namespace psk {
namespace {

// A path's bit between the symbols k and k + 1 ago: 1 where they have the same sign.
int bitOf(std::uint64_t path, int k)
{
    return ((path >> k) & 1u) == ((path >> (k + 1)) & 1u) ? 1 : 0;
}

// Weights of the neighbours, nearest first: a triangle, which over a 1 Hz Doppler spread loses
// little to the fading and at the SNR where the fades cost characters averages the most noise.
constexpr std::array<double, BpskFadingDetector::kSide> kWeights = {0.17, 0.14, 0.11, 0.08};

// On a steady signal the decoder without a loop fits a little worse (the neighbours' noise);
// over a fading path clearly better (0.08 on the moderate path, 0.25 on the poor one).
constexpr double kFadeMargin = 0.04;

} // namespace

void BpskDetector::reset()
{
    score_ = {0, 0};
    path_ = {0, 0};
    count_ = 0;
}

int BpskDetector::push(double x, double level)
{
    const double isi = isi_ * level;
    std::array<double, 2> next{};
    std::array<std::uint64_t, 2> nextPath{};
    for (unsigned to = 0; to < 2; ++to) {
        const double sign = to ? -1.0 : 1.0;
        double best = 0;
        std::uint64_t path = 0;
        for (unsigned from = 0; from < 2; ++from) {
            const double m = score_[from] + sign * x - isi * sign * (from ? -1.0 : 1.0);
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

void BpskFadingDetector::reset()
{
    window_.fill({0, 0});
    score_.fill(0.0);
    path_.fill(0);
    fit_ = 0;
    best_ = 0;
    count_ = 0;
}

int BpskFadingDetector::push(std::complex<double> y)
{
    using cplx = std::complex<double>;
    std::move(window_.begin() + 1, window_.end(), window_.begin());
    window_.back() = y;
    // The carrier the neighbours give, for every choice of their signs: the newer side from the
    // low bits of a window's signs (bit i: the symbol i ago, 1 negative), the older from the
    // bits above the symbol measured.
    constexpr int kHalf = 1 << kSide;
    std::array<cplx, kHalf> newer{}, older{};
    for (int m = 0; m < kHalf; ++m)
        for (int i = 0; i < kSide; ++i) {
            const double w = ((m >> i) & 1) ? -kWeights[std::size_t(kSide - 1 - i)] : kWeights[std::size_t(kSide - 1 - i)];
            newer[std::size_t(m)] += w * window_[std::size_t(kSpan - 1 - i)];
            older[std::size_t(m)] += (((m >> i) & 1) ? -kWeights[std::size_t(i)] : kWeights[std::size_t(i)]) * window_[std::size_t(kSide - 1 - i)];
        }
    const cplx middle = window_[std::size_t(kSide)];
    constexpr double kNone = -std::numeric_limits<double>::infinity();
    std::array<double, kStates> next;
    next.fill(kNone);
    std::array<std::uint64_t, kStates> nextPath{};
    for (unsigned from = 0; from < unsigned(kStates); ++from) {
        for (unsigned sign = 0; sign < 2; ++sign) {
            const unsigned signs = (from << 1) | sign; // the whole window's
            const cplx self = ((signs >> kSide) & 1u) ? -middle : middle;
            const cplx carrier = newer[signs & (kHalf - 1)] + older[signs >> (kSide + 1)];
            const double m = score_[from] - std::norm(self - carrier);
            const unsigned to = signs & unsigned(kStates - 1);
            if (m > next[to]) {
                next[to] = m;
                nextPath[to] = (path_[from] << 1) | sign;
            }
        }
    }
    int best = 0;
    for (int s = 1; s < kStates; ++s)
        if (next[std::size_t(s)] > next[std::size_t(best)])
            best = s;
    const double top = next[std::size_t(best)];
    for (int s = 0; s < kStates; ++s)
        score_[std::size_t(s)] = next[std::size_t(s)] - top; // keeps the numbers small
    path_ = nextPath;
    best_ = best;
    // The fit needs no signs: squared, every symbol shows twice the carrier's phase.
    cplx doubled(0, 0);
    for (int i = 0; i < kSide; ++i) {
        const cplx a = window_[std::size_t(kSide - 1 - i)], b = window_[std::size_t(kSide + 1 + i)];
        doubled += kWeights[std::size_t(i)] * (a * a + b * b);
    }
    fit_ = cosineOf(middle * middle * std::conj(doubled));
    if (count_ <= kDelay) {
        ++count_;
        return 0;
    }
    return bitOf(path_[std::size_t(best)], kDelay);
}

int BpskFadingDetector::pendingBit(int k) const
{
    const int bit = bitOf(path_[std::size_t(best_)], k);
    for (int s = 0; s < kStates; ++s)
        if (score_[std::size_t(s)] != -std::numeric_limits<double>::infinity() && bitOf(path_[std::size_t(s)], k) != bit)
            return -1;
    return bit;
}

BpskDecoder::BpskDecoder() : choice_(kFadeMargin) {}

int BpskDecoder::push(double x, double level, std::complex<double> c, std::complex<double> y)
{
    const int bits[2] = {coherent_.push(x, level), differential_.push(y)};
    // The loop's fit on the same scale: the cosine of twice its phase error.
    fading_ = choice_.update(cosineOf(c * c), differential_.fit());
    return bits[fading_ ? 1 : 0];
}

void BpskDecoder::reset()
{
    coherent_.reset();
    differential_.reset();
    choice_.reset();
    fading_ = false;
}

} // namespace psk

#pragma once
// Which of two decoders a signal is read with: one that follows the carrier with loops (best on
// a steady signal) and one that needs no carrier (best where the path fades). Both see every
// symbol; their fits (how well each one's reference took the symbol) are compared over about
// 15 s once a signal has settled (its first second says nothing: the loops pull in), and the
// second is taken while it fits better.
#include <algorithm>
#include <complex>

namespace psk {

// The cosine of z's angle (0 for 0): with z a symbol against where a decoder expected it,
// raised to the modulation's order, how well that decoder's reference fits whatever was sent.
inline double cosineOf(std::complex<double> z)
{
    const double a = std::abs(z);
    return a > 0 ? z.real() / a : 0.0;
}

class FadeChoice {
public:
    // margin: how much better the decoder without loops must fit (on a steady signal it fits a
    // little worse or about as well, by what its reference adds of the noise).
    explicit FadeChoice(double margin) : margin_(margin) {}

    // The fits of one symbol; true while the decoder without loops is to be taken.
    bool update(double withLoops, double withoutLoops)
    {
        if (++settled_ <= kSettle)
            return false;
        const double w = std::max(kAverage, 1.0 / (settled_ - kSettle));
        fit_[0] += w * (withLoops - fit_[0]);
        fit_[1] += w * (withoutLoops - fit_[1]);
        return settled_ > 2 * kSettle && fit_[1] > fit_[0] + margin_;
    }

    void reset()
    {
        fit_[0] = fit_[1] = 0;
        settled_ = 0;
    }

private:
    static constexpr double kAverage = 0.002; // weight of each symbol (about 15 s)
    static constexpr int kSettle = 32;        // symbols before the comparison starts, and again before it counts
    double margin_;
    double fit_[2] = {0, 0};
    int settled_ = 0;
};

} // namespace psk

// The BPSK detector without a carrier loop: bits come out whole however fast the carrier's
// phase turns or its amplitude goes through zero between symbols.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <random>
#include <vector>

#include "engines/psk/bpsk_detector.h"

using namespace psk;

TEST(BpskFadingDetector, CopiesWhateverTheCarrierDoesBetweenSymbols)
{
    constexpr double kPi = 3.14159265358979323846;
    using Carrier = std::function<std::complex<double>(int)>;
    // The carrier at symbol k (31.25 per second).
    struct Case { const char* name; Carrier carrier; } cases[] = {
        {"steady", [](int) { return std::polar(1.0, 0.7); }},
        {"3 Hz off", [&](int k) { return std::polar(1.0, 2 * kPi * 3 * k / 31.25); }},
        {"half a turn in four symbols", [&](int k) { return std::polar(1.0, kPi / (1 + std::exp(-(k - 100) / 1.0))); }},
        // Through zero between two symbols: the phase jumps half a turn.
        {"a null", [](int k) { return std::complex<double>(0.3, -0.4) * ((k - 100.5) / 20.0); }},
        {"nulls every second", [&](int k) { return std::polar(std::cos(kPi * (k + 0.5) / 31.25), 0.2); }},
    };
    std::mt19937 rng(3);
    std::vector<int> sent(240);
    for (int& b : sent)
        b = int(rng() & 1u);
    for (const auto& c : cases) {
        BpskFadingDetector d;
        std::vector<int> got;
        double sign = 1;
        d.push(c.carrier(0) * sign);
        for (std::size_t k = 0; k < sent.size(); ++k) {
            if (!sent[k])
                sign = -sign; // a 0 is a reversal
            const int bit = d.push(c.carrier(int(k) + 1) * sign);
            if (k >= std::size_t(BpskFadingDetector::kDelay))
                got.push_back(bit);
        }
        for (int k = BpskFadingDetector::kDelay; k-- > 0;)
            got.push_back(d.pendingBit(k));
        // Each symbol is measured against its neighbours on both sides, whose signs the newest
        // symbols settle: the bits of the last two sides' worth are not decided yet.
        const std::size_t decided = sent.size() - 2 * BpskFadingDetector::kSide;
        EXPECT_EQ(std::vector<int>(got.begin(), got.begin() + long(decided)), std::vector<int>(sent.begin(), sent.begin() + long(decided))) << c.name;
    }
}

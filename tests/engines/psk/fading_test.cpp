// The decoders without a carrier loop: bits come out whole however fast the carrier's phase
// turns or its amplitude goes through zero between symbols.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <random>
#include <vector>

#include "engines/psk/coding/viterbi.h"
#include "engines/psk/receive/bpsk_detector.h"

using namespace psk;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The carrier at symbol k (31.25 per second), and whether QPSK is expected to follow it (a
// phase that turns a third of its quarter-turn decision region in every symbol it is not).
struct Carrier {
    const char* name;
    std::function<std::complex<double>(int)> at;
    bool qpsk;
};

const std::vector<Carrier>& carriers()
{
    static const std::vector<Carrier> all = {
        {"steady", [](int) { return std::polar(1.0, 0.7); }, true},
        {"1 Hz off", [](int k) { return std::polar(1.0, 2 * kPi * k / 31.25); }, true},
        {"3 Hz off", [](int k) { return std::polar(1.0, 2 * kPi * 3 * k / 31.25); }, false},
        {"half a turn in four symbols", [](int k) { return std::polar(1.0, kPi / (1 + std::exp(-(k - 100) / 1.0))); }, false},
        // Through zero between two symbols: the phase jumps half a turn.
        {"a null", [](int k) { return std::complex<double>(0.3, -0.4) * ((k - 100.5) / 20.0); }, true},
        {"nulls every second", [](int k) { return std::polar(std::cos(kPi * (k + 0.5) / 31.25), 0.2); }, true},
    };
    return all;
}

std::vector<int> randomBits(std::size_t n)
{
    std::mt19937 rng(3);
    std::vector<int> bits(n);
    for (int& b : bits)
        b = int(rng() & 1u);
    return bits;
}

} // namespace

TEST(FadingDecoders, BpskCopiesWhateverTheCarrierDoesBetweenSymbols)
{
    const std::vector<int> sent = randomBits(240);
    for (const auto& c : carriers()) {
        BpskFadingDetector d;
        std::vector<int> got;
        double sign = 1;
        d.push(c.at(0) * sign);
        for (std::size_t k = 0; k < sent.size(); ++k) {
            if (!sent[k])
                sign = -sign; // a 0 is a reversal
            const int bit = d.push(c.at(int(k) + 1) * sign);
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

TEST(FadingDecoders, QpskCopiesWhateverTheCarrierDoesBetweenSymbols)
{
    const std::vector<int> sent = randomBits(240);
    for (const bool inverted : {false, true})
        for (const auto& c : carriers()) {
            if (!c.qpsk)
                continue;
            ConvEncoder enc;
            ViterbiDecoder d;
            std::vector<int> got;
            int turns = 0;
            for (std::size_t k = 0; k < sent.size(); ++k) {
                const int q = qpskPhaseChange(enc.push(sent[k]));
                turns += inverted ? 4 - q : q;
                const int bit = d.pushChange(c.at(int(k)) * std::polar(1.0, kPi / 2 * turns), inverted, 0.4);
                if (k >= std::size_t(ViterbiDecoder::kDelay))
                    got.push_back(bit);
            }
            // What the survivors agree on of the bits still held (all but the newest few).
            for (int k = ViterbiDecoder::kDelay; k-- > 0 && d.pendingBit(k) >= 0;)
                got.push_back(d.pendingBit(k));
            ASSERT_GE(got.size(), sent.size() - 8) << c.name;
            EXPECT_EQ(got, std::vector<int>(sent.begin(), sent.begin() + long(got.size()))) << c.name << (inverted ? ", inverted" : "");
        }
}

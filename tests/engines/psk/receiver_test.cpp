// Receiver measurements: spectrum scale and overload, IMD of our own clean signal and of a
// distorted one, squelch on noise, signal level and the phase-scope vectors.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engines/psk/receive/receiver.h"
#include "support.h"

using namespace psk;

TEST(Spectrum, ToneStandsAboveAQuietFloorAndOverloadIsFlagged)
{
    Spectrum sp;
    sp.setMode(1, 100);
    std::mt19937 rng(1);
    std::normal_distribution<double> g(0, 30);
    std::vector<float> block(1024);
    for (int b = 0; b < 4; ++b) {
        for (int i = 0; i < 1024; ++i)
            block[i] = float(8000 * std::sin(2 * kPi * 1500 * (b * 1024 + i) / 8000.0) + g(rng));
        sp.update(block.data(), 1024);
    }
    std::vector<std::int32_t> v(1024);
    sp.values(v.data(), 0, 1023);
    int peak = int(std::max_element(v.begin(), v.end()) - v.begin());
    EXPECT_EQ(peak, 384); // 1500 Hz / 3.906 Hz
    EXPECT_GT(v[384], 100); // more than 30 dB over the noise: past the top of the display
    EXPECT_LE(v[384], 1000);
    std::vector<std::int32_t> quiet(v.begin() + 600, v.begin() + 800);
    std::sort(quiet.begin(), quiet.end());
    EXPECT_LT(quiet[quiet.size() / 2], 5);
    EXPECT_FALSE(sp.overload());
    block.assign(1024, 32767.0f);
    sp.update(block.data(), 1024);
    EXPECT_TRUE(sp.overload());
}

namespace {

// IMD readings of channel 0 for a transmission of idle reversals, optionally distorted.
std::vector<int> imdOf(double cubic)
{
    std::vector<float> s = psktest::transmission(std::string(), 0, 1000);
    // A long idle: the transmission is mostly preamble; repeat it to have several readings.
    std::vector<float> sound;
    for (int i = 0; i < 3; ++i)
        sound.insert(sound.end(), s.begin(), s.end());
    for (float& v : sound) {
        double x = v / 16000.0;
        v = float(16000.0 * (x - cubic * x * x * x));
    }
    Receiver rx;
    rx.setChannelCount(1);
    rx.channel(0).setFrequency(1000, 0);
    std::array<RxOutput, Receiver::kChannels> out;
    std::vector<int> readings;
    for (std::size_t p = 0; p + 1024 <= sound.size(); p += 1024) {
        for (auto& o : out)
            o = {};
        rx.process(sound.data() + p, 1024, out);
        readings.insert(readings.end(), out[0].imd.begin(), out[0].imd.end());
    }
    return readings;
}

} // namespace

TEST(Receiver, ImdOfCleanAndDistortedReversals)
{
    auto clean = imdOf(0.0);
    ASSERT_FALSE(clean.empty());
    for (int db : clean)
        EXPECT_LE(db, -30);
    auto distorted = imdOf(0.4);
    ASSERT_FALSE(distorted.empty());
    for (int db : distorted) {
        SCOPED_TRACE(db);
        EXPECT_GT(db, -30);
        EXPECT_LT(db, -10);
    }
}

TEST(Receiver, SquelchHoldsBackNoiseAndOpensForASignal)
{
    std::vector<float> noise(8000 * 20, 0.0f);
    psktest::addNoise(noise, 1e6, 0, 5);
    struct Case { int threshold; bool expectText; } cases[] = {{0, true}, {60, false}};
    for (const auto& c : cases) {
        Receiver rx;
        rx.setChannelCount(1);
        rx.channel(0).setFrequency(1000, 0);
        rx.channel(0).setSquelch(c.threshold, 1);
        std::array<RxOutput, Receiver::kChannels> out;
        std::size_t chars = 0;
        for (std::size_t p = 0; p + 1024 <= noise.size(); p += 1024) {
            for (auto& o : out)
                o = {};
            rx.process(noise.data() + p, 1024, out);
            chars += out[0].chars.size();
            EXPECT_LE(rx.channel(0).level(), 100);
        }
        EXPECT_EQ(chars > 0, c.expectText) << "threshold " << c.threshold;
    }
    auto sound = psktest::transmission("a clear signal opens the squelch", 0, 1000);
    Receiver rx;
    rx.setChannelCount(1);
    rx.channel(0).setFrequency(1000, 0);
    rx.channel(0).setSquelch(60, 1);
    std::array<RxOutput, Receiver::kChannels> out;
    std::string text;
    int level = 0;
    std::int32_t vec[16];
    for (std::size_t p = 0; p + 1024 <= sound.size(); p += 1024) {
        for (auto& o : out)
            o = {};
        rx.process(sound.data() + p, 1024, out);
        for (int c : out[0].chars)
            text += char(c);
        if (p == sound.size() / 2 / 1024 * 1024) {
            level = rx.channel(0).level();
            rx.channel(0).vectors(vec);
        }
    }
    EXPECT_NE(text.find("a clear signal opens the squelch"), std::string::npos) << text;
    EXPECT_GT(level, 90);
    // BPSK phase changes are none or a reversal: the vectors point straight up or down.
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(vec[2 * i], 0, 300);
        EXPECT_NEAR(std::abs(vec[2 * i + 1]), 2000, 300);
    }
}

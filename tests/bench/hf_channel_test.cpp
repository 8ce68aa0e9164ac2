// The HF channel simulator that the receivers are measured on: its fades must have the
// statistics the path models give, or every figure measured on it is wrong.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "bench/hf_channel/hf_channel.h"

namespace {

std::vector<float> tone(double hz, double seconds)
{
    std::vector<float> s(std::size_t(seconds * 8000));
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = float(std::sin(2 * 3.14159265358979 * hz * double(i) / 8000));
    return s;
}

double meanPower(const std::vector<float>& s, std::size_t from, std::size_t to)
{
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(s[i]) * s[i];
    return sum / double(to - from);
}

// Correlation coefficient of the power gain at a lag: exp(-4 pi^2 sigma^2 lag^2) for a Rayleigh
// path with a Gaussian Doppler spectrum of standard deviation sigma.
double powerCorrelation(const hfchannel::Channel& ch, std::size_t samples, double lagSeconds)
{
    const std::size_t lag = std::size_t(lagSeconds * 8000), step = 80;
    double sa = 0, sb = 0, sab = 0, saa = 0;
    std::size_t n = 0;
    for (std::size_t i = 0; i + lag < samples; i += step, ++n) {
        double a = ch.powerAt(i, 1000), b = ch.powerAt(i + lag, 1000);
        sa += a; sb += b; sab += a * b; saa += a * a;
    }
    double ma = sa / double(n), mb = sb / double(n);
    return (sab / double(n) - ma * mb) / (saa / double(n) - ma * ma);
}

} // namespace

TEST(HfChannel, FadesHaveTheModelsStatistics)
{
    struct Case { const char* name; hfchannel::Settings s; double lag; };
    const Case cases[] = {
        {"flat 0.5 Hz", hfchannel::flat(0.5), 0.5},
        {"flat 1 Hz", hfchannel::flat(1.0), 0.25},
        {"good", hfchannel::good(), 2.0},
        {"moderate", hfchannel::moderate(), 0.5},
        {"poor", hfchannel::poor(), 0.25},
    };
    const std::size_t samples = 8000 * 3000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        hfchannel::Channel ch(c.s, samples, 7);
        double sum = 0, below10 = 0;
        std::size_t n = 0;
        for (std::size_t i = 0; i < samples; i += 80, ++n) {
            double p = ch.powerAt(i, 1000);
            sum += p;
            below10 += p < 0.1;
        }
        EXPECT_NEAR(sum / double(n), 1.0, 0.12);                // mean power kept
        EXPECT_NEAR(below10 / double(n), 1 - std::exp(-0.1), 0.03); // Rayleigh: 9.5% of the time 10 dB down
        const double sigma = c.s.spreadHz / 2;
        // Two equal paths fade independently: their sum's power correlation is the same function.
        const double expect = std::exp(-4 * 9.8696 * sigma * sigma * c.lag * c.lag);
        EXPECT_NEAR(powerCorrelation(ch, samples, c.lag), expect, 0.08);
    }
}

TEST(HfChannel, AudioFollowsTheGainsAndTheDrift)
{
    const auto in = tone(1000, 60);
    // Same seed, same channel.
    EXPECT_EQ(hfchannel::apply(in, hfchannel::moderate(), 3), hfchannel::apply(in, hfchannel::moderate(), 3));

    // The faded tone's short-term power is the channel's power gain at that tone.
    hfchannel::Channel ch(hfchannel::flat(0.5), in.size(), 5);
    const auto out = ch.apply(in);
    for (std::size_t t : {std::size_t(5 * 8000), std::size_t(20 * 8000), std::size_t(40 * 8000)})
        EXPECT_NEAR(meanPower(out, t, t + 80) / 0.5, ch.powerAt(t + 40, 1000), 0.05 + 0.1 * ch.powerAt(t + 40, 1000));

    // 1 Hz/s of drift: 30 s in, the 1000 Hz tone is at 1030 Hz (counted by zero crossings).
    const auto drifted = hfchannel::apply(in, hfchannel::drift(1.0), 1);
    int crossings = 0;
    for (std::size_t i = 29 * 8000 + 1; i < 31 * 8000; ++i)
        crossings += (drifted[i - 1] < 0) != (drifted[i] < 0);
    EXPECT_NEAR(crossings / 2.0 / 2.0, 1030.0, 1.0);
}

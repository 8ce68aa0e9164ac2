// The spectrum's scale as the program draws it at its defaults (scale 100 = the panel's height):
// a station 20 dB over the noise fills about two thirds, the noise about a fifth.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "engines/psk/receive/spectrum.h"

using namespace psk;

TEST(SpectrumScale, StationTwentyDecibelsOverTheNoiseFillsTwoThirds)
{
    // White noise of sigma 1000 and a tone whose bin stands 20 dB over the median noise bin:
    // with the Hann window the tone's bin has A^2/16 and a noise bin ln 2 x 0.375 sigma^2 / 2048.
    const double sigma = 1000, amplitude = sigma * std::sqrt(16 * 100 * std::log(2.0) * 0.375 / Spectrum::kSize);
    Spectrum sp;
    sp.setMode(1, 100);
    std::mt19937 rng(7);
    std::normal_distribution<double> g(0, sigma);
    std::vector<float> block(1024);
    for (int b = 0; b < 2; ++b) {
        for (int i = 0; i < 1024; ++i)
            block[i] = float(amplitude * std::sin(2 * kPi * 1500 * (b * 1024 + i) / 8000.0) + g(rng));
        sp.update(block.data(), 1024);
    }
    std::vector<std::int32_t> v(1024);
    sp.values(v.data(), 0, 1023);
    EXPECT_NEAR(v[384], 67, 8);
    std::vector<std::int32_t> noise(v.begin() + 600, v.begin() + 800);
    std::sort(noise.begin(), noise.end());
    EXPECT_LE(noise[noise.size() / 2], 2);                    // the floor on the bottom line
    EXPECT_NEAR(noise[noise.size() * 95 / 100], 20, 8);        // its peaks about a fifth up
}

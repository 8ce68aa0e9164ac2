// Transmitter to receiver through memory: every mode, noise, frequency offsets, AFC and three
// channels at once.
#include <gtest/gtest.h>

#include "support.h"

using namespace psktest;

namespace {
const std::string kText = "CQ CQ de TEST K \r\nthe quick brown fox jumps over the lazy dog 0123456789";
}

TEST(Modem, LoopbackInEveryMode)
{
    for (int mode : {0, 1, 2}) {
        auto sound = transmission(kText, mode, 1500);
        auto text = receive(sound, {{1500, mode}});
        EXPECT_NE(text[0].find(kText), std::string::npos) << "mode " << mode << ": " << text[0];
    }
}

TEST(Modem, InvertedQpskNeedsTheInvertedReceiver)
{
    auto sound = transmission(kText, 2, 1000);
    auto text = receive(sound, {{1000, 1}});
    EXPECT_EQ(text[0].find(kText), std::string::npos);
}

TEST(Modem, CopiesThroughNoiseAndOffsets)
{
    struct Case { int mode; double txHz; double rxHz; int afc; double snr; } cases[] = {
        {0, 1000, 1000, 0, 0}, {1, 1000, 1000, 0, 0}, {0, 2003, 2000, 0, 10},
        {0, 1530, 1500, 45, 10}, {1, 1470, 1500, 45, 10},
        // Weak QPSK a little off frequency: the decoder's carrier loops must pull in; a few
        // hertz off without AFC, found by its idle.
        {1, 1001, 1000, 0, -12}, {1, 1003, 1000, 10, -10}, {1, 1003, 1000, 0, -10}, {2, 996.5, 1000, 0, -10}};
    for (const auto& c : cases) {
        auto sound = transmission(kText, c.mode, c.txHz);
        addNoise(sound, 16000.0 * 16000.0 / 2 * 0.75, c.snr, 3);
        auto text = receive(sound, {{c.rxHz, c.mode, c.afc}});
        EXPECT_NE(text[0].find(kText.substr(20)), std::string::npos)
            << "mode " << c.mode << " tx " << c.txHz << " rx " << c.rxHz << ": " << text[0];
    }
}

TEST(Modem, ThreeChannelsSixtyHertzApart)
{
    const std::string a = "first station on channel zero", b = "second station QPSK", c = "third one here";
    auto s0 = transmission(a, 0, 1000), s1 = transmission(b, 1, 1060), s2 = transmission(c, 0, 1120);
    std::size_t n = std::max({s0.size(), s1.size(), s2.size()});
    std::vector<float> mix(n, 0.0f);
    for (const auto* s : {&s0, &s1, &s2})
        for (std::size_t i = 0; i < s->size(); ++i)
            mix[i] += (*s)[i] / 3;
    auto text = receive(mix, {{1000, 0}, {1060, 1}, {1120, 0}});
    EXPECT_NE(text[0].find(a), std::string::npos) << text[0];
    EXPECT_NE(text[1].find(b), std::string::npos) << text[1];
    EXPECT_NE(text[2].find(c), std::string::npos) << text[2];
}

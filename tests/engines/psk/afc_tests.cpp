// AFC as the program runs it: wherever a signal starts it settles on the carrier, never on a
// sideband, and early enough to keep the first characters; the squelch reads both modes alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <future>
#include <random>

#include "bench/hf_channel/hf_channel.h"
#include "support.h"

using namespace psktest;

namespace {

constexpr int kAfcRange = 45;
const double kPower = 16000.0 * 16000.0 / 2 * 0.75; // mean power of our transmission

// One channel with AFC, tuned to 1000 Hz, fed in blocks of 1024 as the engine does.
std::string copy(const std::vector<float>& sound, int mode, int threshold = 0)
{
    psk::RxChannel ch;
    ch.setMode(mode);
    ch.setAfcLimit(100);
    ch.setSquelch(threshold, 1);
    ch.setFrequency(1000, kAfcRange);
    std::string text;
    psk::RxOutput out;
    for (std::size_t pos = 0; pos < sound.size(); pos += 1024) {
        out = {};
        ch.process(sound.data() + pos, int(std::min<std::size_t>(1024, sound.size() - pos)), out);
        for (int c : out.chars)
            text += char(c);
    }
    return text;
}

// Edit distance between text and the best-matching stretch of got.
std::size_t errors(const std::string& text, const std::string& got)
{
    std::vector<std::size_t> prev(got.size() + 1, 0), cur(got.size() + 1);
    for (std::size_t i = 1; i <= text.size(); ++i) {
        cur[0] = i;
        for (std::size_t j = 1; j <= got.size(); ++j)
            cur[j] = std::min({prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + (text[i - 1] != got[j - 1])});
        std::swap(prev, cur);
    }
    return *std::min_element(prev.begin(), prev.end());
}

std::vector<float> delayed(const std::vector<float>& sound, std::size_t samples)
{
    std::vector<float> out(samples, 0.0f);
    out.insert(out.end(), sound.begin(), sound.end());
    return out;
}

} // namespace

TEST(Afc, SettlesOnTheCarrierWhereverInABlockTheSignalStarts)
{
    // Every start of the signal within one block, in 1 ms steps. Clean, the whole text; at
    // -10 dB all but the first two characters, with at most two errors from the noise.
    const std::string text = "CQ CQ de TEST TEST K";
    struct Case { int mode; double snr; double offset; } cases[] = {
        {0, 99, 0}, {0, -10, 7}, {1, 99, 0}, {1, -10, -7}};
    std::vector<std::future<std::string>> jobs;
    for (const auto& c : cases)
        jobs.push_back(std::async(std::launch::async, [&text, c] {
            const auto sound = transmission(text, c.mode, 1000 + c.offset);
            std::string failures;
            for (std::size_t start = 0; start < 1024; start += 8) {
                auto s = delayed(sound, start);
                if (c.snr < 90)
                    addNoise(s, kPower, c.snr, unsigned(start) + 1);
                std::string got = copy(s, c.mode);
                if (c.snr < 90 ? errors(text.substr(2), got) > 2 : got.find(text) == std::string::npos)
                    failures += " " + std::to_string(start) + ": " + got;
            }
            return failures;
        }));
    for (std::size_t i = 0; i < jobs.size(); ++i)
        EXPECT_EQ(jobs[i].get(), "") << "mode " << cases[i].mode << " at " << cases[i].snr << " dB";
}

TEST(Afc, AcquiresWithinTheFirstTwoCharacters)
{
    // After several seconds of noise a signal 12 Hz off: all but at most the first two
    // characters come out; near the limit of copy (its preamble found by the idle's tones)
    // with no more errors than the noise makes anyway. Also after the search took a short burst
    // of idle elsewhere (as it may take the noise), which ended just before the signal began.
    const std::string text = "CQ CQ CQ de TEST TEST TEST pse K";
    struct Case { int mode; double snr; unsigned seed; std::size_t errors; double decoyHz; } cases[] = {
        {0, -10, 1, 0, 0}, {0, -10, 2, 0, 0}, {0, -10, 3, 0, 0}, {1, -8, 1, 0, 0}, {1, -8, 2, 0, 0}, {1, -8, 3, 0, 0},
        {0, -11, 4, 2, 0}, {0, -11, 5, 2, 0}, {1, -14, 1, 2, 0}, {1, -14, 12, 2, 0}, {2, -14, 1, 2, 0}, {2, -14, 9, 2, 0},
        {1, -10, 1, 0, 985}, {1, -10, 2, 0, 1040}, {0, -10, 1, 0, 985}};
    for (const auto& c : cases) {
        auto s = delayed(transmission(text, c.mode, 1012), 8000 * 4);
        if (c.decoyHz > 0) {
            // Two seconds of idle, 3 dB below the signal, ending half a second before it.
            auto decoy = delayed(transmission("", c.mode, c.decoyHz), 8000);
            decoy.resize(8000 * 4);
            for (std::size_t i = 0; i < decoy.size(); ++i)
                s[i] += float(decoy[i] * std::sqrt(0.5));
        }
        addNoise(s, kPower, c.snr, c.seed);
        std::string got = copy(s, c.mode);
        EXPECT_LE(errors(text.substr(2), got), c.errors)
            << "mode " << c.mode << " seed " << c.seed << " decoy " << c.decoyHz << ": " << got;
    }
}

TEST(Afc, NothingBeforeTheText)
{
    // A clean signal out of silence prints its text and nothing else (once it printed a stray
    // "e" from the first symbols).
    const std::string text = "de TEST K";
    for (int mode : {0, 1, 2}) {
        for (std::size_t start : {0u, 312u, 700u}) {
            EXPECT_EQ(copy(delayed(transmission(text, mode, 1000), start), mode), text) << "mode " << mode;
            EXPECT_EQ(receive(delayed(transmission(text, mode, 1000), start), {{1000, mode}})[0], text)
                << "mode " << mode << " without AFC";
        }
    }
}

TEST(Squelch, SameSignalToNoiseReadsTheSameInBpskAndQpsk)
{
    const std::string text = "the quick brown fox jumps over the lazy dog 0123456789 the quick brown fox";
    for (double snr : {-12.0, -8.0, 0.0}) {
        int level[2] = {};
        for (int mode : {0, 1}) {
            auto s = transmission(text, mode, 1000);
            addNoise(s, kPower, snr, 5);
            psk::RxChannel ch;
            ch.setMode(mode);
            ch.setSquelch(0, 1);
            ch.setFrequency(1000, 0);
            psk::RxOutput out;
            double sum = 0;
            int n = 0;
            for (std::size_t pos = 0; pos + 1024 <= s.size(); pos += 1024) {
                ch.process(s.data() + pos, 1024, out);
                if (pos > 16000 && pos + 16000 < s.size()) {
                    sum += ch.level();
                    ++n;
                }
            }
            level[mode] = int(sum / n);
        }
        EXPECT_NEAR(level[0], level[1], 8) << snr << " dB";
    }
    // At -10 dB with the squelch at 52, slow, QPSK loses nothing (it once lost half).
    auto s = delayed(transmission(text, 1, 1000), 8000);
    addNoise(s, kPower, -10, 9);
    std::string got = copy(s, 1, 52);
    EXPECT_NE(got.find(text.substr(3)), std::string::npos) << got;
}

TEST(Afc, FollowsASignalThatDriftsOrWanders)
{
    // A minute and a half of QPSK at -10 dB drifting 8 Hz a minute either way (12 Hz in all,
    // further than the loops may wander from where the signal was found); QPSK at -12 dB and
    // BPSK at -10 dB with the frequency wandering 0.3 Hz either side from one second to the
    // next, as over an HF path; a minute of QPSK and BPSK at -10 dB drifting 1 Hz/s across the
    // tuned frequency (a rig warming up). Copied throughout.
    struct Case { int mode; double drift; double wander; double snr; double start; std::size_t length; } cases[] = {
        {1, 8, 0, -10, 0, 400}, {1, -8, 0, -10, 0, 400}, {1, 0, 0.3, -12, 0, 400}, {0, 0, 0.3, -10, 0, 400},
        {1, 60, 0, -10, -30, 200}, {1, -60, 0, -10, 30, 200}, {0, 60, 0, -10, -30, 200}};
    for (const auto& c : cases) {
        std::string text;
        while (text.size() < c.length)
            text += "the quick brown fox jumps over the lazy dog 0123456789 ";
        text.resize(c.length);
        psk::Transmitter tx;
        for (char ch : text)
            tx.queueCharacter(static_cast<unsigned char>(ch));
        tx.queueControl(3);
        tx.start(c.mode);
        tx.queueControl(1);
        std::vector<float> sound(4000, 0.0f), block(32);
        std::vector<psk::TxEvent> events;
        std::mt19937 rng(7);
        std::normal_distribution<double> g(0.0, 1.0);
        const double pull = 32.0 / 8000; // of the wander back to the middle, per block (1 s)
        double hz = 1000 + c.start, wander = 0;
        do {
            hz += c.drift / 60 * 32 / 8000;
            wander += -pull * wander + c.wander * std::sqrt(2 * pull) * g(rng);
            tx.setFrequency(hz + wander);
            tx.fill(block.data(), int(block.size()), events);
            sound.insert(sound.end(), block.begin(), block.end());
        } while (tx.active());
        addNoise(sound, kPower, c.snr, 1);
        EXPECT_LE(errors(text, copy(sound, c.mode)), 2u) << "mode " << c.mode << ", " << c.drift << " Hz a minute, " << c.wander << " Hz wander";
    }
}

TEST(Afc, CopiesThroughAFadingHfPath)
{
    // Strong BPSK and QPSK over simulated HF paths (two equal fading paths; moderate: 1 ms apart
    // with a 0.5 Hz Doppler spread, poor: 2 ms and 1 Hz). Every fade takes the amplitude through
    // zero and turns the phase fast; the text around the fades is still copied. (BPSK has no
    // code to carry it through the deepest fades.)
    std::string text;
    while (text.size() < 600)
        text += "the quick brown fox jumps over the lazy dog 0123456789 ";
    text.resize(600);
    struct Case { int mode; hfchannel::Settings path; double snr; double maxCer; } cases[] = {
        {0, hfchannel::moderate(), 10, 0.01}, {0, hfchannel::poor(), 10, 0.03},
        {1, hfchannel::moderate(), 10, 0.005}, {1, hfchannel::poor(), 10, 0.01}};
    for (const auto& c : cases) {
        std::size_t wrong = 0;
        for (unsigned seed : {1u, 2u}) {
            auto sound = hfchannel::apply(transmission(text, c.mode, 1000), c.path, seed);
            addNoise(sound, kPower, c.snr, seed);
            wrong += errors(text, copy(sound, c.mode));
        }
        EXPECT_LE(double(wrong) / double(2 * text.size()), c.maxCer)
            << "mode " << c.mode << ", " << c.path.delayMs << " ms, " << c.path.spreadHz << " Hz";
    }
}

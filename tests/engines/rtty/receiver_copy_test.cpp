// The receiver copies other programs' recordings and the own transmitter through noise and
// off-frequency, off-rate sending.
#include "bench/rtty_cer/rtty_bench.h" // signals, noise and error count, as the benchmark measures them

#include "engines/psk/sound/wavfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string withoutBlanks(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (!std::isspace(static_cast<unsigned char>(c)))
            out.push_back(c);
    return out;
}

TEST(RttyReceiver, CopiesAnotherProgramsRecordingInReverse)
{
    std::vector<std::int16_t> samples;
    ASSERT_EQ(psk::readWav(SONDREL_TEST_DATA "/peer/rtty45-1500hz.wav", samples), 0);
    QFile textFile(QStringLiteral(SONDREL_TEST_DATA "/peer/text-rtty.txt"));
    ASSERT_TRUE(textFile.open(QIODevice::ReadOnly));
    const std::string text = withoutBlanks(textFile.readAll().toStdString());
    std::vector<float> audio(samples.begin(), samples.end());
    audio.resize(audio.size() + 4000, 0.0f); // the last character's frame completes
    // Mark on the upper tone (1585 Hz), about 44.9 Bd: the engine's tones 1415/1585, Reverse on.
    const std::string got = withoutBlanks(rttybench::receive(audio, 1415, rtty::kSwAfc | rtty::kSwBandPass | rtty::kSwReverse));
    EXPECT_EQ(pskbench::errors(text, got), 0u) << got;
}

// The own transmitter's text through noise: a sender on the rate, one 1.5% slow and one 10 Hz
// high all copy with few errors well above the threshold.
TEST(RttyReceiver, CopiesThroughNoiseOffRateAndOffFrequency)
{
    struct Case {
        const char* what;
        double baud, toneOffsetHz, snrDb;
        std::size_t maxErrors;
    } cases[] = {
        {"own signal", rtty::kDefaultBaud, 0, -4, 1},
        {"1.5% slow", rtty::kDefaultBaud * 0.985, 0, -4, 1},
        {"10 Hz high", rtty::kDefaultBaud, 10, -4, 1},
    };
    for (const Case& c : cases) {
        const std::string text = rttybench::upper(pskbench::text(120, 5));
        std::vector<float> audio = rttybench::transmission(text, c.baud, 2125 + c.toneOffsetHz, 4000);
        pskbench::addNoise(audio, pskbench::signalPower(audio), c.snrDb, 11);
        const std::string got = rttybench::receive(audio, 2125, rtty::kSwAfc | rtty::kSwBandPass | rtty::kSwUos);
        EXPECT_LE(pskbench::errors(text, got), c.maxErrors) << c.what << ": " << got;
    }
}

// After a deep fade (both tones, or one alone) the text comes back within two characters once
// the signal is back at its level: the characters' clock and the tones' levels are kept.
TEST(RttyReceiver, TextComesBackRightAfterAFade)
{
    struct Case {
        const char* what;
        double hold;
        bool mark, space;
    } cases[] = {
        {"both tones, 0.3 s", 0.3, true, true},
        {"both tones, 1 s", 1.0, true, true},
        {"both tones, 2 s", 2.0, true, true},
        {"mark alone, 1 s", 1.0, true, false},
        {"space alone, 1 s", 1.0, false, true},
    };
    for (const Case& c : cases)
        for (unsigned seed : {1u, 2u, 3u}) {
            const std::string text = rttybench::upper(pskbench::text(100, 40 + seed));
            rttybench::Keyed k = rttybench::keyed(text);
            const double power = pskbench::signalPower(k.audio);
            const rttybench::Fade fade{8.0 + 0.05 * seed, c.hold, -25, c.mark, c.space};
            rttybench::applyFade(k, fade);
            pskbench::addNoise(k.audio, power, 15, seed);
            const std::string got = rttybench::receive(k.audio, 2125, rtty::kSwAfc | rtty::kSwBandPass | rtty::kSwUos);
            EXPECT_LE(rttybench::lostFrom(text, k.charAt, got, fade.end()), 2u) << c.what << ", seed " << seed << ": " << got;
        }
}

} // namespace

// The receiver copies other programs' recordings and the own transmitter through noise and
// off-frequency, off-rate sending.
#include "bench/rtty_cer/rtty_bench.h" // signals, noise and error count, as the benchmark measures them

#include "engines/sound/wavfile.h"

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

struct Recording {
    std::vector<float> audio;
    std::string text; // without white space
};

Recording peerRecording()
{
    Recording r;
    std::vector<std::int16_t> samples;
    EXPECT_EQ(sound::readWav(SONDREL_TEST_DATA "/peer/rtty45-1500hz.wav", samples), 0);
    QFile textFile(QStringLiteral(SONDREL_TEST_DATA "/peer/text-rtty.txt"));
    EXPECT_TRUE(textFile.open(QIODevice::ReadOnly));
    r.text = withoutBlanks(textFile.readAll().toStdString());
    r.audio.assign(samples.begin(), samples.end());
    r.audio.resize(r.audio.size() + 4000, 0.0f); // the last character's frame completes
    return r;
}

// What the engine prints with its switches as the program starts them and the squelch line at
// `line` (the level on the bar, 0..100; below 0: where the engine starts it).
std::string receiveWithLine(const std::vector<float>& audio, double markHz, std::int32_t switches, double line)
{
    QTemporaryDir dir;
    std::string got;
    rtty::RttyEngine rx(nullptr, dir.filePath(QStringLiteral("UserPara.INI")), [&](int code, std::int32_t v) {
        if (code == rtty::kNoteChar)
            got += static_cast<char>(v & 0xFF);
    });
    rx.command(9, static_cast<std::int32_t>(markHz));
    rx.command(10, static_cast<std::int32_t>(markHz + 170));
    rx.command(11, switches);
    if (line >= 0)
        rx.command(15, static_cast<std::int32_t>(std::lround(line * 10.25)));
    std::vector<float> out(rtty::RttyEngine::kBlock);
    for (std::size_t at = 0; at + rtty::RttyEngine::kBlock <= audio.size(); at += rtty::RttyEngine::kBlock)
        rx.processBlock(audio.data() + at, out.data(), rtty::RttyEngine::kBlock);
    return got;
}

TEST(RttyReceiver, CopiesAnotherProgramsRecordingInReverse)
{
    const Recording rec = peerRecording();
    // Mark on the upper tone (1585 Hz), about 44.9 Bd: the engine's tones 1415/1585, Reverse on.
    const std::string got = withoutBlanks(rttybench::receive(rec.audio, 1415, rtty::kSwAfc | rtty::kSwBandPass | rtty::kSwReverse));
    EXPECT_EQ(pskbench::errors(rec.text, got), 0u) << got;
    EXPECT_EQ(got.substr(0, 8), rec.text.substr(0, 8)) << "nothing before the text (its space tone)";
}

// The squelch as the program starts it passes what the receiver copies and holds noise alone;
// the squelch line closes it step by step as it goes up the level bar, holding a +6 dB signal
// well before the top.
TEST(RttyReceiver, SquelchPassesWhatItCopiesAndHoldsNoise)
{
    constexpr std::int32_t kAsStarted = rtty::kSwAfc | rtty::kSwNet | rtty::kSwBandPass | rtty::kSwSquelch;
    enum Signal { kRecording, kOwn, kNoiseAlone };
    struct Case {
        const char* what;
        Signal signal;
        double snrDb;
        double line;  // the squelch line's level on the bar; below 0: the engine's default
        bool copied;  // copied: at most `most` of the characters sent wrong; held: at most `most` printed
        double most;
    } cases[] = {
        {"the recording at -6 dB", kRecording, -6, -1, true, 0.02},
        {"noise alone for a minute", kNoiseAlone, 0, -1, false, 1},
        {"+6 dB, the line half way up", kOwn, 6, 50, true, 0.01},
        {"+6 dB, the line well before the top", kOwn, 6, 85, false, 1},
    };
    const Recording rec = peerRecording();
    const std::string text = rttybench::upper(pskbench::text(120, 9));
    for (const Case& c : cases) {
        std::vector<float> audio;
        std::string sent = text;
        double markHz = 2125;
        std::int32_t switches = kAsStarted;
        if (c.signal == kRecording) {
            audio = rec.audio;
            sent = rec.text;
            markHz = 1415;
            switches |= rtty::kSwReverse;
        } else if (c.signal == kOwn) {
            audio = rttybench::keyed(text, {24000, 0, 8, 2}).audio;
        } else {
            audio.assign(60 * 8000, 0.0f);
        }
        const double power = c.signal == kRecording ? pskbench::signalPower(audio) : 16000.0 * 16000.0 / 2;
        pskbench::addNoise(audio, power, c.snrDb, 5);
        std::string got = receiveWithLine(audio, markHz, switches, c.line);
        if (!c.copied) {
            EXPECT_LE(double(got.size()), c.most) << c.what << ": " << got;
            continue;
        }
        if (c.signal == kRecording)
            got = withoutBlanks(got);
        EXPECT_LE(double(pskbench::errors(sent, got)), c.most * double(sent.size())) << c.what << ": " << got;
    }
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

// How a signal begins, through the engine's receiver: the first word after noise with little
// or no mark before it (squelch off), and of a weak signal through the default squelch; a
// steady space tone before the first start bit, out of silence and out of noise with the
// engine's default squelch (which holds the noise); and a fade of 12 dB a second after a
// signal begins, held to its end.
TEST(RttyReceiver, HowASignalBegins)
{
    constexpr std::int32_t kOff = rtty::kSwAfc | rtty::kSwBandPass | rtty::kSwUos;
    constexpr std::int32_t kDefault = rtty::kSwAfc | rtty::kSwNet | rtty::kSwBandPass | rtty::kSwSquelch;
    enum Check { kFirstWord, kExactly, kWithinNoise };
    struct Case {
        const char* what;
        rttybench::Lead lead;
        double snrDb; // 99: no noise
        std::int32_t switches;
        bool fade;
        Check check;
    } cases[] = {
        {"no mark after noise", {24000, 0, 0, 1}, 10, kOff, false, kFirstWord},
        {"2 bits of mark after noise", {24000, 0, 2, 1}, 10, kOff, false, kFirstWord},
        {"20 bits of mark after noise", {24000, 0, 20, 1}, 10, kOff, false, kFirstWord},
        {"-6 dB after 10 s of noise, default squelch", {80000, 0, 4, 1}, -6, kDefault, false, kFirstWord},
        {"a space tone out of silence", {8000, 4, 6.4, 1}, 99, kOff, false, kExactly},
        {"a long space tone out of noise, default squelch", {24000, 20, 6.4, 1}, 10, kDefault, false, kExactly},
        {"a fade a second after the signal begins", {24000, 0, 8, 2}, 20, kOff, true, kWithinNoise},
    };
    const std::string text = "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 0123456789 CQ DE N0CALL PSE K";
    for (const Case& c : cases)
        for (unsigned seed : {1u, 2u, 3u}) {
            rttybench::Keyed k = rttybench::keyed(text, c.lead);
            if (c.fade) // down 12 dB in half a second, a second after the signal begins
                for (std::size_t i = c.lead.silence + 8000; i < k.audio.size(); ++i) {
                    const double t = std::min(1.0, double(i - c.lead.silence - 8000) / 4000);
                    k.audio[i] = static_cast<float>(k.audio[i] * std::pow(10.0, -12 * t / 20));
                }
            if (c.snrDb < 99)
                pskbench::addNoise(k.audio, 16000.0 * 16000.0 / 2, c.snrDb, seed);
            const std::string got = rttybench::receive(k.audio, 2125, c.switches);
            const std::vector<bool> ok = rttybench::printed(text, got);
            if (c.check == kFirstWord)
                EXPECT_TRUE(ok[0] && ok[1] && ok[2]) << c.what << ", seed " << seed << ": " << got;
            else if (c.check == kExactly)
                EXPECT_EQ(got, text) << c.what << ", seed " << seed;
            else
                EXPECT_EQ(pskbench::errors(text, got), 0u) << c.what << ", seed " << seed << ": " << got;
        }
}

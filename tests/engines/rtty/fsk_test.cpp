// FSK loopback: text modulated into a WAV file, read back and demodulated.
#include "engines/sound/wavfile.h"
#include "engines/rtty/baudot.h"
#include "engines/rtty/fsk.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

struct Link {
    double markHz = 2125, spaceHz = 2295;  // transmitter
    double rxMarkHz = 2125, rxSpaceHz = 2295;
    bool rxReverse = false;
    bool afc = false;
    double noiseRms = 0;                    // amplitude 16000
};

std::vector<float> modulate(const std::string& text, const Link& l)
{
    rtty::FskModulator mod;
    mod.setTones(l.markHz, l.spaceHz);
    std::vector<float> audio;
    mod.idle(10, audio);
    rtty::BaudotEncoder enc;
    for (unsigned char c : text)
        for (auto code : enc.encode(c))
            mod.code(code, audio);
    mod.idle(10, audio);
    std::mt19937 rng(7);
    std::normal_distribution<float> noise(0, static_cast<float>(l.noiseRms));
    if (l.noiseRms > 0)
        for (float& s : audio)
            s += noise(rng);
    return audio;
}

std::string demodulate(const std::vector<std::int16_t>& samples, const Link& l, int* level = nullptr)
{
    rtty::FskDemodulator demod;
    demod.setTones(l.rxMarkHz, l.rxSpaceHz);
    demod.setReverse(l.rxReverse);
    demod.setAfc(l.afc);
    rtty::BaudotDecoder dec;
    std::string out;
    std::vector<std::uint8_t> codes;
    std::vector<float> block;
    int best = 0;
    for (size_t at = 0; at < samples.size(); at += 256) {
        block.assign(samples.begin() + static_cast<long>(at),
                     samples.begin() + static_cast<long>(std::min(samples.size(), at + 256)));
        codes.clear();
        demod.process(block.data(), static_cast<int>(block.size()), codes);
        for (auto c : codes)
            if (auto ch = dec.decode(c))
                out.push_back(static_cast<char>(*ch));
        best = std::max(best, demod.level());
    }
    if (level)
        *level = best;
    return out;
}

std::string throughWav(const std::string& text, const Link& l, int* level = nullptr)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("loop.wav")).toStdString();
    const std::vector<float> audio = modulate(text, l);
    {
        sound::WavWriter w;
        EXPECT_TRUE(w.open(path));
        w.write(audio.data(), static_cast<int>(audio.size()));
    }
    std::vector<std::int16_t> samples;
    EXPECT_EQ(sound::readWav(path, samples), 0);
    EXPECT_EQ(samples.size(), audio.size());
    return demodulate(samples, l, level);
}

TEST(FskLoopback, TextComesBackThroughAWavFile)
{
    const std::string text = "RYRYRY CQ CQ DE W1AW W1AW PSE K\r\nUR 599 5NN 73/ TU.";
    struct Case {
        const char* what;
        Link link;
    } cases[] = {
        {"clean", {}},
        {"low tones", {1275, 1445, 1275, 1445}},
        {"noise", {2125, 2295, 2125, 2295, false, false, 4000}},
        {"reversed sender", {2295, 2125, 2125, 2295, true}},
        {"12 Hz off with AFC", {2137, 2307, 2125, 2295, false, true}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(throughWav(text, c.link), text) << c.what;
}

// A signal out of digital silence with little or no mark before its first letters shift: no
// character is framed across the edge, and the first word prints.
TEST(FskLoopback, FirstWordOutOfSilence)
{
    for (double markBits : {0.0, 2.0, 20.0}) {
        rtty::FskModulator mod;
        std::vector<float> audio(8000, 0.0f);
        mod.idle(markBits, audio);
        mod.code(rtty::kLtrs, audio);
        rtty::BaudotEncoder enc;
        for (unsigned char c : std::string("THE QUICK"))
            for (auto code : enc.encode(c))
                mod.code(code, audio);
        audio.resize(audio.size() + 8000, 0.0f);
        std::vector<std::int16_t> samples(audio.begin(), audio.end());
        EXPECT_EQ(demodulate(samples, {}), "THE QUICK") << markBits << " bits of mark";
    }
}

TEST(FskLoopback, LevelTellsSignalFromNoise)
{
    int clean = 0;
    throughWav("RYRYRYRY", {}, &clean);
    EXPECT_GT(clean, 900);
    // Noise alone: far below a signal, and no text.
    std::mt19937 rng(3);
    std::normal_distribution<float> noise(0, 3000);
    std::vector<std::int16_t> hiss(16000);
    for (auto& s : hiss)
        s = static_cast<std::int16_t>(noise(rng));
    int level = 0;
    demodulate(hiss, {}, &level);
    EXPECT_LT(level, 500);
}

TEST(FskLoopback, SquelchHoldsCharactersOfAWeakSignal)
{
    rtty::FskDemodulator demod;
    demod.setSquelch(100);
    std::vector<float> audio = modulate("RYRYRYRY", {2125, 2295, 2125, 2295, false, false, 9000});
    std::vector<std::uint8_t> codes;
    demod.process(audio.data(), static_cast<int>(audio.size()), codes);
    EXPECT_TRUE(codes.empty());
}

TEST(FskLoopback, ScopeShowsTheMarkToneOnX)
{
    rtty::FskDemodulator demod;
    rtty::FskModulator mod;
    std::vector<float> audio;
    mod.idle(20, audio);
    std::vector<std::uint8_t> codes;
    demod.process(audio.data(), static_cast<int>(audio.size()), codes);
    std::int32_t x[512], y[512];
    demod.scope(x, y);
    std::int32_t maxX = 0, maxY = 0;
    for (int i = 0; i < 512; ++i) {
        maxX = std::max(maxX, std::abs(x[i]));
        maxY = std::max(maxY, std::abs(y[i]));
    }
    EXPECT_GT(maxX, 20000);
    EXPECT_LT(maxY, maxX / 10);
}

} // namespace

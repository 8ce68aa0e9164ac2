// The receiver copies other programs' recordings and the own transmitter through noise and
// off-frequency, off-rate sending.
#include "bench/psk_common/psk_bench.h" // noise and error count, as the benchmarks measure them

#include "engines/psk/wavfile.h"
#include "engines/rtty/engine.h"
#include "platform/system/inifile.h"
#include "platform/vb/vbnum.h"

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

std::string receive(const std::vector<float>& audio, double markHz, std::int32_t switches)
{
    QTemporaryDir dir;
    std::string got;
    rtty::RttyEngine rx(nullptr, dir.filePath("UserPara.INI"), [&](int code, std::int32_t v) {
        if (code == rtty::kNoteChar)
            got.push_back(static_cast<char>(v & 0xFF));
    });
    rx.command(9, static_cast<std::int32_t>(markHz));
    rx.command(10, static_cast<std::int32_t>(markHz + 170));
    rx.command(11, switches);
    std::vector<float> out(rtty::RttyEngine::kBlock);
    for (size_t at = 0; at + rtty::RttyEngine::kBlock <= audio.size(); at += rtty::RttyEngine::kBlock)
        rx.processBlock(audio.data() + at, out.data(), rtty::RttyEngine::kBlock);
    return got;
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
    const std::string got = withoutBlanks(receive(audio, 1415, rtty::kSwAfc | rtty::kSwBandPass | rtty::kSwReverse));
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
        QTemporaryDir dir;
        const QString profiles = dir.filePath("UserPara.INI");
        rtty::RttyEngine tx(nullptr, profiles, [](int, std::int32_t) {});
        ini::write(profiles, "Define2", "Mark", vb::Text(2125 + c.toneOffsetHz));
        ini::write(profiles, "Define2", "Baud", vb::Text(c.baud));
        tx.command(24, 2);
        std::string text = pskbench::text(120, 5);
        for (char& ch : text)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        for (unsigned char ch : text)
            tx.command(4, ch);
        tx.command(3, 2);
        tx.command(3, 1);
        std::vector<float> audio(4000, 0.0f), in(rtty::RttyEngine::kBlock), block(rtty::RttyEngine::kBlock);
        while (tx.transmitting()) {
            tx.processBlock(in.data(), block.data(), rtty::RttyEngine::kBlock);
            audio.insert(audio.end(), block.begin(), block.end());
        }
        audio.insert(audio.end(), 4000, 0.0f);
        pskbench::addNoise(audio, pskbench::signalPower(audio), c.snrDb, 11);
        const std::string got = receive(audio, 2125, rtty::kSwAfc | rtty::kSwBandPass | rtty::kSwUos);
        EXPECT_LE(pskbench::errors(text, got), c.maxErrors) << c.what << ": " << got;
    }
}

} // namespace

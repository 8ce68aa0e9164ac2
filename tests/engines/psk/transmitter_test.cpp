// The transmitter's own behaviour: preamble lengths, Tune, CW identification, clearing, the
// return to receive and the clock correction of the sound.
#include <gtest/gtest.h>

#include <cmath>

#include "engines/psk/dsp/resampler.h"
#include "engines/psk/transmit/transmitter.h"

using namespace psk;

namespace {

struct Sent {
    std::vector<float> sound;
    std::vector<TxEvent> events;
};

// Runs the transmitter until it stops (or for at most maxSeconds).
Sent run(Transmitter& tx, double maxSeconds = 60)
{
    Sent r;
    std::vector<float> block(1024);
    do {
        tx.fill(block.data(), int(block.size()), r.events);
        r.sound.insert(r.sound.end(), block.begin(), block.end());
    } while (tx.active() && r.sound.size() < maxSeconds * 8000);
    return r;
}

double seconds(const Sent& r) { return double(r.sound.size()) / 8000; }

} // namespace

TEST(Transmitter, ShortAndLongPreambleAndPostamble)
{
    struct Case { bool shortAmble; double minSeconds, maxSeconds; } cases[] = {
        {true, 2.0, 2.6},  // 32 + 32 symbols of 32 ms plus one character
        {false, 4.0, 4.8}, // 64 + 64
    };
    for (const auto& c : cases) {
        Transmitter tx;
        tx.queueCharacter('e');
        if (c.shortAmble)
            tx.queueControl(3);
        tx.queueControl(1);
        tx.start(0);
        Sent r = run(tx);
        EXPECT_GE(seconds(r), c.minSeconds);
        EXPECT_LE(seconds(r), c.maxSeconds);
        ASSERT_EQ(r.events.size(), 3u);
        EXPECT_EQ(r.events[0].kind, TxEvent::Started);
        EXPECT_EQ(r.events[1].kind, TxEvent::Echo);
        EXPECT_EQ(r.events[1].code, 'e');
        EXPECT_EQ(r.events[2].kind, TxEvent::Finished);
    }
}

TEST(Transmitter, TuneIsASteadyCarrierAndSendsNoText)
{
    Transmitter tx;
    tx.setFrequency(1000);
    tx.queueCharacter('x');
    tx.start(3);
    Sent r = run(tx, 3);
    EXPECT_TRUE(tx.active());
    double peak = 0;
    for (std::size_t i = 4000; i < r.sound.size(); ++i)
        peak = std::max(peak, double(std::abs(r.sound[i])));
    for (std::size_t i = 4000; i + 8 < r.sound.size(); i += 8) // 1000 Hz: one cycle per 8 samples
        ASSERT_NEAR(std::abs(r.sound[i]), std::abs(r.sound[i + 8]), 1.0);
    EXPECT_GT(peak, 1000);
    tx.queueControl(1);
    Sent end = run(tx);
    EXPECT_FALSE(tx.active());
    for (const auto& e : end.events)
        EXPECT_NE(e.kind, TxEvent::Echo);
}

TEST(Transmitter, CwIdentificationAtTheSetSpeed)
{
    auto length = [](const char* id, int speed) {
        Transmitter tx;
        tx.setCwSpeed(speed);
        tx.setCwText(id);
        tx.queueControl(3);
        tx.queueControl(2);
        tx.queueControl(1);
        tx.start(0);
        return seconds(run(tx));
    };
    double none = length("", 4);
    // "TTT" is three dashes and two letter gaps: 3*3 + 2*3 + 3 (end) = 18 dots at 9 WPM
    // (133 ms each), about 2.4 s; at 37 WPM a quarter of that.
    EXPECT_NEAR(length("TTT", 4) - none, 18 * 0.1333, 0.15);
    EXPECT_NEAR(length("TTT", 1) - none, 18 * 0.0324, 0.1);
}

TEST(Transmitter, ClearDropsTextButKeepsTheReturnToReceive)
{
    Transmitter tx;
    for (char c : std::string("never sent"))
        tx.queueCharacter(static_cast<unsigned char>(c));
    tx.queueControl(3);
    tx.queueControl(1);
    tx.clearQueue();
    tx.start(0);
    Sent r = run(tx);
    ASSERT_EQ(r.events.size(), 2u);
    EXPECT_EQ(r.events[0].kind, TxEvent::Started);
    EXPECT_EQ(r.events[1].kind, TxEvent::Finished);
}

TEST(Transmitter, ReturnToReceiveWhileIdleIsNotKeptForTheNextTransmission)
{
    Transmitter tx;
    tx.queueControl(1);
    tx.start(0);
    Sent r = run(tx, 4);
    EXPECT_TRUE(tx.active());
    tx.abort();
    std::vector<TxEvent> events;
    float block[256];
    tx.fill(block, 256, events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, TxEvent::Finished);
}

TEST(Resampler, ShiftsTheClockByTheGivenParts)
{
    // A 1000 Hz tone read 1000 ppm faster comes out at 1001 Hz.
    Resampler rs;
    rs.setStep(1.001);
    std::vector<float> in(80000), out;
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = float(10000 * std::sin(2 * 3.14159265358979 * 1000 * double(i) / 8000));
    rs.process(in.data(), int(in.size()), out);
    int crossings = 0;
    for (std::size_t i = 8001; i < 8001 + 64000 && i < out.size(); ++i)
        if (out[i - 1] < 0 && out[i] >= 0)
            ++crossings;
    EXPECT_NEAR(crossings, 8008, 2); // 8 s at 1001 Hz
}

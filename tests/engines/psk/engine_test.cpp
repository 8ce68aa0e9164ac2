// The engine calls as the program makes them: settings before start, start-up errors, the
// messages of a transmission and of an abort, loopback through WAV files, and the PTT port.
#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include "engines/psk/pskcore.h"
#include "engines/sound/audio.h"
#include "engines/sound/wavfile.h"

namespace {

struct Msg {
    std::int32_t hwnd;
    std::uint32_t msg;
    std::intptr_t w, l;
};

class Recorder {
public:
    Recorder()
    {
        pskSetMessagePoster([this](std::int32_t h, std::uint32_t m, std::intptr_t w, std::intptr_t l) {
            std::lock_guard lock(mutex_);
            all_.push_back({h, m, w, l});
            cv_.notify_all();
        });
    }
    ~Recorder()
    {
        fnStopSoundCard();
        pskSetMessagePoster(nullptr);
    }
    // Waits until pred holds for the messages so far (at most 20 s).
    template <class Pred> bool waitFor(Pred pred)
    {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, std::chrono::seconds(20), [&] { return pred(all_); });
    }
    std::vector<Msg> messages()
    {
        std::lock_guard lock(mutex_);
        return all_;
    }
    // Everything but the data-ready ticks.
    std::vector<Msg> events()
    {
        std::vector<Msg> out;
        for (const auto& m : messages())
            if (m.msg != 2024)
                out.push_back(m);
        return out;
    }
    static bool hasStatus(const std::vector<Msg>& all, int status)
    {
        for (const auto& m : all)
            if (m.msg == 2026 && m.w == status)
                return true;
        return false;
    }
    std::string text(int channel)
    {
        std::string s;
        for (const auto& m : messages())
            if (m.msg == 2025 && m.l == channel)
                s += char(m.w);
        return s;
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<Msg> all_;
};

void useAudio(const std::string& spec, int speed = 64)
{
    ::setenv("SONDREL_AUDIO", spec.c_str(), 1);
    ::setenv("SONDREL_AUDIO_SPEED", std::to_string(speed).c_str(), 1);
}

void writeSilence(const std::string& path, int samples)
{
    sound::WavWriter w;
    ASSERT_TRUE(w.open(path));
    std::vector<float> zero(std::size_t(samples), 0.0f);
    w.write(zero.data(), samples);
}

} // namespace

TEST(Engine, SettingsGivenBeforeStartApply)
{
    Recorder rec;
    fnSetFFTMode(3, 100, 0);
    fnSetAFCLimit(0, 0);
    fnSetClockErrorAdjustment(0);
    fnSetRXFrequency(1234, 0, 0);
    fnSetRXFrequency(1800, 0, 1);
    fnSetSquelchThreshold(19, 0, 0);
    fnSetRXPSKMode(1, 0);
    EXPECT_EQ(fnGetRXFrequency(0), 1234);
    EXPECT_EQ(fnGetRXFrequency(1), 1800);
    EXPECT_GE(fnGetDLLVersion(), 1);
    useAudio("null");
    ASSERT_EQ(fnStartSoundCard(7, -1, 3), 0);
    ASSERT_TRUE(rec.waitFor([](const auto& all) { return all.size() >= 3; }));
    for (const auto& m : rec.messages()) {
        EXPECT_EQ(m.hwnd, 7);
        EXPECT_EQ(m.msg, 2024u);
        EXPECT_EQ(m.w, 1234);
        EXPECT_GE(m.l, 0);
        EXPECT_LE(m.l, 100);
    }
    EXPECT_EQ(fnGetRXFrequency(1), 1800);
    std::vector<std::int32_t> bins(1024, -1);
    EXPECT_EQ(fnGetFFTData(bins.data(), 0, 1023), 0);
    for (int v : bins)
        EXPECT_TRUE(v >= 0 && v <= 1000);
    fnSetRXPSKMode(0, 0);
}

TEST(Engine, StartErrorsForMissingOrUnusableDevices)
{
    Recorder rec;
    QTemporaryDir dir;
    std::string text = dir.filePath("not-a-wav.wav").toStdString();
    std::ofstream(text) << "hello";
    std::string rate = dir.filePath("rate.wav").toStdString();
    {
        std::ofstream f(rate, std::ios::binary);
        const unsigned char header[44] = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                          16, 0, 0, 0, 1, 0, 1, 0, 0x44, 0xAC, 0, 0, 0x88, 0x58, 1, 0, 2, 0, 16, 0,
                                          'd', 'a', 't', 'a', 0, 0, 0, 0};
        f.write(reinterpret_cast<const char*>(header), sizeof header);
    }
    struct Case { std::string spec; int code; } cases[] = {
        {"file:" + dir.filePath("missing.wav").toStdString(), 21},
        {"file:" + text, 17},
        {"file:" + rate, 17},
        {"nonsense", 21},
    };
    for (const auto& c : cases) {
        useAudio(c.spec);
        EXPECT_EQ(fnStartSoundCard(1, -1, 3), c.code) << c.spec;
    }
    EXPECT_EQ(fnStartTX(0), 14); // nothing started
    EXPECT_TRUE(rec.messages().empty());
}

TEST(Engine, TransmissionMessagesInOrder)
{
    Recorder rec;
    QTemporaryDir dir;
    std::string in = dir.filePath("in.wav").toStdString();
    writeSilence(in, 8000);
    useAudio("file:" + in);
    ASSERT_EQ(fnStartSoundCard(3, -1, 3), 0);
    fnSetTXFrequency(1500);
    for (char c : std::string("hi"))
        fnSendTXCharacter(c, 0);
    fnSendTXCharacter(3, -1);
    fnSendTXCharacter(1, -1);
    fnStartTX(0);
    ASSERT_TRUE(rec.waitFor([](const auto& all) { return Recorder::hasStatus(all, 0); }));
    auto ev = rec.events();
    ASSERT_EQ(ev.size(), 4u);
    EXPECT_TRUE(ev[0].msg == 2026 && ev[0].w == 1);
    EXPECT_TRUE(ev[1].msg == 2025 && ev[1].w == 'h' && ev[1].l == -1);
    EXPECT_TRUE(ev[2].msg == 2025 && ev[2].w == 'i' && ev[2].l == -1);
    EXPECT_TRUE(ev[3].msg == 2026 && ev[3].w == 0);
}

TEST(Engine, AbortStopsAtOnceAndDropsTheRest)
{
    Recorder rec;
    // Slow enough that the whole text takes seconds: a loaded machine may leave this thread
    // asleep for a few hundred milliseconds, and the paced device catches up after it.
    useAudio("null", 4);
    ASSERT_EQ(fnStartSoundCard(3, -1, 3), 0);
    const std::string text = "a long text that will never be finished, not even under a heavy load";
    for (char c : text)
        fnSendTXCharacter(c, 0);
    fnSendTXCharacter(3, -1);
    fnStartTX(1);
    ASSERT_TRUE(rec.waitFor([](const auto& all) {
        for (const auto& m : all)
            if (m.msg == 2025)
                return true;
        return false;
    }));
    fnAbortTX();
    ASSERT_TRUE(rec.waitFor([](const auto& all) { return Recorder::hasStatus(all, 0); }));
    auto before = rec.events();
    // A few more ticks: no further echo or status arrives.
    std::size_t ticks = rec.messages().size();
    rec.waitFor([&](const auto& all) { return all.size() > ticks + 4; });
    auto after = rec.events();
    EXPECT_EQ(after.size(), before.size());
    EXPECT_TRUE(after.front().msg == 2026 && after.front().w == 1);
    EXPECT_TRUE(after.back().msg == 2026 && after.back().w == 0);
    // the rest of the text was thrown away: fewer echoes than characters queued
    EXPECT_LT(after.size(), 2u + text.size());
}

TEST(Engine, LoopbackThroughWavFilesInEveryMode)
{
    QTemporaryDir dir;
    std::string silence = dir.filePath("silence.wav").toStdString();
    writeSilence(silence, 4000);
    const std::string text = "cq de test pse k";
    for (int mode : {0, 1, 2}) {
        std::string out = dir.filePath("tx" + QString::number(mode) + ".wav").toStdString();
        {
            Recorder rec;
            useAudio("file:" + silence + "," + out);
            ASSERT_EQ(fnStartSoundCard(3, -1, 3), 0);
            fnSetTXFrequency(1200);
            for (char c : text)
                fnSendTXCharacter(c, 0);
            fnSendTXCharacter(3, -1);
            fnSendTXCharacter(1, -1);
            fnStartTX(mode);
            ASSERT_TRUE(rec.waitFor([](const auto& all) { return Recorder::hasStatus(all, 0); }));
        }
        Recorder rec;
        useAudio("file:" + out);
        fnSetRXFrequency(1200, 0, 0);
        fnSetRXPSKMode(mode, 0);
        fnSetSquelchThreshold(0, 0, 0);
        ASSERT_EQ(fnStartSoundCard(3, -1, 1), 0);
        rec.waitFor([&](const auto& all) {
            std::string got;
            for (const auto& m : all)
                if (m.msg == 2025 && m.l == 0)
                    got += char(m.w);
            return got.find(text) != std::string::npos;
        });
        EXPECT_NE(rec.text(0).find(text), std::string::npos) << "mode " << mode << ": " << rec.text(0);
    }
    fnSetRXPSKMode(0, 0);
}

TEST(Engine, DemoRecordingPlaysStationsToDecode)
{
    if (::access(sound::demoRecordingPath().c_str(), R_OK) != 0)
        GTEST_SKIP() << "demo recording not built";
    Recorder rec;
    useAudio("demo");
    fnSetRXFrequency(800, 0, 0);
    fnSetRXPSKMode(0, 0);
    fnSetSquelchThreshold(0, 0, 0);
    ASSERT_EQ(fnStartSoundCard(3, -1, 1), 0);
    EXPECT_TRUE(rec.waitFor([](const auto& all) {
        std::string got;
        for (const auto& m : all)
            if (m.msg == 2025 && m.l == 0)
                got += char(m.w);
        return got.find("CQ CQ CQ") != std::string::npos;
    }));
}

TEST(Engine, PttPortOpensWithoutKeyingAndReportsFailure)
{
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    ::setenv("SONDREL_COM5", name, 1);
    ::setenv("SONDREL_COM7", "/nonexistent/tty", 1);
    EXPECT_NE(fnSetComPort(5, 3), 0);
    EXPECT_EQ(fnSetComPort(7, 1), 0);
    EXPECT_NE(fnSetComPort(0, 0), 0);
    ::close(slave);
    ::close(master);
}

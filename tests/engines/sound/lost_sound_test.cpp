// Both engines when their sound card stops in the middle of a transmission: the transmitter is
// released before the operator is told, the displays go on showing that no sound comes, a key
// meanwhile is refused (and what the program keyed released), and reception resumes by itself
// when the card answers again.
#include "engines/psk/engine.h" // before Qt: its transmitter has a member named emit

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "engines/rtty/engine.h"
#include "state/mmtty_block.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A sound card in real time (silence in) that the test can pull out and put back.
struct Card {
    std::atomic<bool> gone{false};
    std::atomic<int> opened{0};

    sound::SoundRunner::Opener opener()
    {
        return [this]() -> std::unique_ptr<sound::AudioDevice> { return std::make_unique<Device>(*this); };
    }
    struct Device : sound::AudioDevice {
        explicit Device(Card& c) : card(c) {}
        int open() override
        {
            if (card.gone)
                return 21;
            ++card.opened;
            return 0;
        }
        int read(float* s, int n) override
        {
            std::this_thread::sleep_for(std::chrono::microseconds(n * 125));
            if (card.gone)
                return 11;
            std::fill(s, s + n, 0.0f);
            return 0;
        }
        int write(const float*, int) override { return card.gone ? 14 : 0; }
        void close() override {}
        Card& card;
    };
};

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto until = Clock::now() + limit;
    while (!done() && Clock::now() < until)
        std::this_thread::sleep_for(10ms);
    return done();
}

// What an engine reports, as the program would see it, in order.
struct Reports {
    std::mutex lock;
    std::vector<std::string> list; // "tx 1", "tx 0", "error 11", "tick"
    void add(std::string s)
    {
        std::lock_guard g(lock);
        list.push_back(std::move(s));
    }
    std::vector<std::string> get()
    {
        std::lock_guard g(lock);
        return list;
    }
    std::size_t count(const std::string& s)
    {
        auto l = get();
        return std::size_t(std::count(l.begin(), l.end(), s));
    }
    // Index of the first s after position from, or npos.
    std::size_t find(const std::string& s, std::size_t from = 0)
    {
        auto l = get();
        for (std::size_t i = from; i < l.size(); ++i)
            if (l[i] == s)
                return i;
        return std::string::npos;
    }
};

// One engine behind the same few hooks.
struct Rig {
    std::function<int(Card&)> start;
    std::function<void()> key, stop;
    std::function<std::string()> told;    // the words for the operator
    std::function<bool()> noSoundShown;   // the status light's cause: PSK overload status, RTTY lost count
};

TEST(LostSound, EndsTheTransmissionTellsTheOperatorAndComesBackByItself)
{
    QTemporaryDir dir;
    std::vector<unsigned char> block(mmtty::kBlockSize, 0);

    Reports psk;
    psk::Engine pskEngine;
    pskEngine.setPoster([&](std::int32_t, std::uint32_t msg, std::intptr_t w, std::intptr_t) {
        if (msg == psk::kMsgStatus)
            psk.add(w == 0 || w == 1 ? "tx " + std::to_string(w) : w == 2 ? "no sound" : "error " + std::to_string(w));
        else if (msg == psk::kMsgDataReady)
            psk.add("tick");
    });
    Rig pskRig{[&](Card& c) { return pskEngine.start(1, c.opener(), 1); },
               [&] { pskEngine.startTx(0); },
               [&] { pskEngine.stop(); },
               [] { return sound::takeAudioError(); },
               [&] { // the status that turns the light red comes with every tick
                   const auto l = psk.get();
                   const auto tick = std::find(l.rbegin(), l.rend(), std::string("tick"));
                   return tick != l.rend() && tick + 1 != l.rend() && *(tick + 1) == "no sound";
               }};

    Reports rtty;
    std::mutex toldLock;
    QString toldRtty;
    rtty::RttyEngine rttyEngine(block.data(), dir.filePath("UserPara.INI"), [&](int code, std::int32_t v) {
        if (code == rtty::kNotePtt)
            rtty.add("tx " + std::to_string(v));
        else if (code == rtty::kNoteLevel)
            rtty.add("tick");
        else if (code == rtty::kNoteMessage)
            rtty.add("error");
    });
    rttyEngine.setTell([&](const QString& t) {
        std::lock_guard g(toldLock);
        toldRtty = t;
    });
    Rig rttyRig{[&](Card& c) { return rttyEngine.start(c.opener()); },
                [&] { rttyEngine.command(3, 2); },
                [&] { rttyEngine.stop(); },
                [&] {
                    std::lock_guard g(toldLock);
                    return toldRtty.toStdString();
                },
                [&] {
                    std::int32_t lost;
                    std::memcpy(&lost, block.data() + mmtty::kLostSound, 4);
                    return lost > 0;
                }};

    struct Case {
        const char* engine;
        Rig& rig;
        Reports& reports;
        const char* error; // what the program is sent after the release
        const char* words; // in what the operator is told
    } cases[] = {
        {"PSK", pskRig, psk, "error 11", "tries the sound card again every two seconds"},
        {"RTTY", rttyRig, rtty, "error", "Setup button"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.engine);
        Card card;
        ASSERT_EQ(c.rig.start(card), 0);
        c.rig.key();
        ASSERT_TRUE(waitFor([&] { return c.reports.count("tx 1") == 1; }, 2s));

        card.gone = true;
        const auto pulled = Clock::now();
        ASSERT_TRUE(waitFor([&] { return c.reports.find(c.error) != std::string::npos; }, 2s));
        const std::size_t error = c.reports.find(c.error);
        const std::size_t released = c.reports.find("tx 0");
        EXPECT_LT(released, error) << "the transmitter is released before the operator is told";
        EXPECT_LT(Clock::now() - pulled, 1s);
        EXPECT_NE(c.rig.told().find(c.words), std::string::npos) << c.rig.told();

        // The displays go on, and show that nothing comes.
        EXPECT_TRUE(waitFor([&] { return c.reports.find("tick", error) != std::string::npos && c.rig.noSoundShown(); }, 1s));
        // A key without sound is refused: what the program keyed is released again.
        const std::size_t before = c.reports.get().size();
        c.rig.key();
        EXPECT_TRUE(waitFor([&] { return c.reports.find("tx 0", before) != std::string::npos; }, 1s));
        EXPECT_EQ(c.reports.count("tx 1"), 1u);

        // Back: the next try opens it, and a key transmits again.
        card.gone = false;
        EXPECT_TRUE(waitFor([&] { return card.opened == 2; }, sound::SoundRunner::kRetry + 1s));
        EXPECT_TRUE(waitFor([&] { return !c.rig.noSoundShown(); }, 1s));
        c.rig.key();
        EXPECT_TRUE(waitFor([&] { return c.reports.count("tx 1") == 2; }, 2s));
        c.rig.stop();
        EXPECT_EQ(c.reports.get().back(), "tx 0");
    }
}

} // namespace

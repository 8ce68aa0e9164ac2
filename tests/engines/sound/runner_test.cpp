// The sound runner on scripted devices: what the engine is told when the sound fails to open,
// stops, comes back or hangs, and that a stop never waits on a hung device.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "engines/sound/runner.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// One device of the script: how its open ends, and how many blocks it then gives.
struct Step {
    int open = 0;        // 0, an error code, or -1: the open hangs until cancelled
    int blocks = 1000;   // then the read fails with 11
};

class ScriptedDevice : public sound::AudioDevice {
public:
    ScriptedDevice(Step step, std::atomic<int>& closed) : step_(step), closed_(closed) {}
    int open() override
    {
        if (step_.open >= 0)
            return step_.open;
        std::unique_lock g(lock_);
        wake_.wait(g, [this] { return cancelled_; });
        return 13;
    }
    int read(float* s, int n) override
    {
        std::this_thread::sleep_for(2ms);
        if (cancelled_ || step_.blocks-- <= 0)
            return 11;
        std::fill(s, s + n, 0.0f);
        return 0;
    }
    int write(const float*, int) override { return 0; }
    void close() override { ++closed_; }
    void cancel() override
    {
        std::lock_guard g(lock_);
        cancelled_ = true;
        wake_.notify_all();
    }

private:
    Step step_;
    std::atomic<int>& closed_;
    std::mutex lock_;
    std::condition_variable wake_;
    bool cancelled_ = false;
};

struct Recorder : sound::SoundRunner::Client {
    std::mutex lock;
    std::vector<std::string> said; // lost, back, failed, in order
    std::atomic<int> blocks{0}, silent{0};
    bool throwAfterFirst = false;

    void soundBlock(const float*, float* out, int n) override
    {
        std::fill(out, out + n, 0.0f);
        if (blocks++ > 0 && throwAfterFirst)
            throw std::runtime_error("no memory left");
    }
    void noSound(int) override { ++silent; }
    void soundLost(int code) override { add("lost " + std::to_string(code)); }
    void soundBack() override { add("back"); }
    void soundFailed(const std::string& what) override { add("failed: " + what); }
    void add(const std::string& s)
    {
        std::lock_guard g(lock);
        said.push_back(s);
    }
    std::vector<std::string> events()
    {
        std::lock_guard g(lock);
        return said;
    }
};

TEST(SoundRunner, TellsTheEngineOnceAndOpensAgainUntilTheSoundIsBack)
{
    struct Case {
        const char* what;
        std::vector<Step> script;
        bool throwAfterFirst;
        int startCode;                    // what start returns
        std::vector<std::string> events;  // once the run has settled
        bool runningAfter;
        bool silentBlocks;                // the engine ticked without sound meanwhile
    } cases[] = {
        {"no device at all: the caller reports it, nothing runs", {{21}}, false, 21, {}, false, false},
        {"the sound stops and comes back at the next try", {{0, 3}, {0}}, false, 0, {"lost 11", "back"}, true, true},
        {"the sound stops; two tries fail before it is back", {{0, 3}, {23}, {21}, {0}}, false, 0,
         {"lost 11", "back"}, true, true},
        {"an open that outlasts start's wait: the run goes on, the engine ticks", {{-1}}, false, 0, {}, true, true},
        {"a fault in the engine ends the run", {{0}}, true, 0, {"failed: no memory left"}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Recorder engine;
        engine.throwAfterFirst = c.throwAfterFirst;
        std::atomic<int> made{0}, closed{0};
        sound::SoundRunner runner(engine, 256);
        std::vector<Step> script = c.script;
        const int rc = runner.start(
            [&]() -> std::unique_ptr<sound::AudioDevice> {
                const int i = std::min<int>(made++, int(script.size()) - 1);
                return std::make_unique<ScriptedDevice>(script[std::size_t(i)], closed);
            },
            100ms);
        EXPECT_EQ(rc, c.startCode);
        // Long enough for a loss, a two-second pause and the tries after it.
        const auto until = Clock::now() + sound::SoundRunner::kRetry * int(c.script.size()) + 1500ms;
        while (Clock::now() < until && engine.events() != c.events)
            std::this_thread::sleep_for(20ms);
        std::this_thread::sleep_for(200ms); // nothing more is said
        EXPECT_EQ(engine.events(), c.events);
        EXPECT_EQ(runner.running(), c.runningAfter);
        EXPECT_EQ(engine.silent > 0, c.silentBlocks);

        // A stop ends the run at once, a hung open too, and every device made is closed.
        const auto t0 = Clock::now();
        runner.stop();
        EXPECT_LT(Clock::now() - t0, 500ms);
        EXPECT_FALSE(runner.running());
        EXPECT_EQ(closed.load(), made.load());
    }
}

} // namespace

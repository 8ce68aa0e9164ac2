#include "engines/sound/runner.h"

#include <pthread.h>
#include <sched.h>

#include <atomic>
#include <exception>
#include <vector>

namespace sound {

using Clock = std::chrono::steady_clock;

SoundRunner::SoundRunner(Client& client, int block) : engine_(client), block_(block) {}

SoundRunner::~SoundRunner() { stop(); }

std::string SoundRunner::lostText(const std::string& detail)
{
    std::string text = "The sound card stopped: no sound comes from it (it may have been unplugged, or the "
                       "sound server, PulseAudio or PipeWire, may have ended or stopped answering).";
    if (!detail.empty())
        text += " " + detail;
    text += " Any transmission was ended and the transmitter released. Sondrel tries the sound card again "
            "every two seconds and receives again by itself as soon as it answers: check its cable, or start "
            "the sound server again (or log in again).";
    return text;
}

int SoundRunner::start(Opener opener, std::chrono::milliseconds wait)
{
    stop();
    {
        std::lock_guard g(lock_);
        opener_ = std::move(opener);
        stopping_ = false;
        ended_ = false;
        sound_ = false;
        firstDone_ = false;
        firstCode_ = 0;
        starterWaiting_ = true;
    }
    thread_ = std::thread([this] { run(); });
    std::unique_lock g(lock_);
    changed_.wait_for(g, wait, [this] { return firstDone_; });
    starterWaiting_ = false;
    if (firstDone_ && firstCode_ != 0) {
        const int code = firstCode_;
        g.unlock();
        thread_.join(); // it ends at once: the failure is the caller's to report
        return code;
    }
    return 0;
}

void SoundRunner::stop()
{
    {
        std::lock_guard g(lock_);
        stopping_ = true;
        if (current_)
            current_->cancel();
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
    std::lock_guard g(lock_);
    sound_ = false;
}

bool SoundRunner::running() const
{
    std::lock_guard g(lock_);
    return thread_.joinable() && !ended_;
}

bool SoundRunner::hasSound() const
{
    std::lock_guard g(lock_);
    return sound_;
}

bool SoundRunner::stopping() const
{
    std::lock_guard g(lock_);
    return stopping_;
}

bool SoundRunner::pause(Clock::duration d)
{
    const auto end = Clock::now() + d;
    const auto tick = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(block_ / 8000.0));
    auto next = Clock::now() + tick;
    std::unique_lock g(lock_);
    while (!stopping_ && Clock::now() < end) {
        if (changed_.wait_until(g, std::min(next, end), [this] { return stopping_; }))
            break;
        if (Clock::now() >= next) {
            next += tick;
            g.unlock();
            engine_.noSound(block_);
            g.lock();
        }
    }
    return !stopping_;
}

int SoundRunner::openDevice(std::unique_ptr<AudioDevice>& device)
{
    device = opener_();
    {
        std::lock_guard g(lock_);
        if (stopping_)
            return 13;
        current_ = device.get();
    }
    // Opened beside this thread, so that the engine's displays go on while the library takes
    // its time (a hung sound server: for ever, until a stop cancels the wait).
    std::atomic<bool> done{false};
    int code = 13;
    std::thread opening([&] {
        code = device->open();
        std::lock_guard g(lock_);
        done = true;
        changed_.notify_all();
    });
    const auto tick = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(block_ / 8000.0));
    {
        std::unique_lock g(lock_);
        while (!done) {
            if (changed_.wait_for(g, tick, [&] { return done.load(); }))
                break;
            if (!starterWaiting_ && !stopping_) { // while start() waits, nothing runs yet
                g.unlock();
                engine_.noSound(block_);
                g.lock();
            }
        }
    }
    opening.join();
    return code;
}

int SoundRunner::pump(AudioDevice& device)
{
    std::vector<float> in(static_cast<std::size_t>(block_)), out(static_cast<std::size_t>(block_));
    while (!stopping()) {
        int rc = device.read(in.data(), block_);
        if (rc != 0)
            return rc;
        engine_.soundBlock(in.data(), out.data(), block_);
        rc = device.write(out.data(), block_);
        if (rc != 0)
            return rc;
    }
    return 0;
}

void SoundRunner::run()
{
    // Where the system allows it, the engine's blocks are made before ordinary work, as the
    // sound library's own threads are: on a busy machine a late block is a gap on the air. (A
    // block takes a few milliseconds; the kernel keeps a share of each second for the rest.)
    sched_param lowest{};
    lowest.sched_priority = sched_get_priority_min(SCHED_RR);
    pthread_setschedparam(pthread_self(), SCHED_RR, &lowest);
    runLoop();
    std::lock_guard g(lock_);
    ended_ = true;
}

void SoundRunner::runLoop()
{
    bool first = true;
    bool told = false; // the loss has been said and not yet taken back
    while (!stopping()) {
        std::unique_ptr<AudioDevice> device;
        int rc = openDevice(device);
        if (first) {
            first = false;
            bool callerReports = false;
            {
                std::lock_guard g(lock_);
                firstDone_ = true;
                firstCode_ = rc;
                callerReports = starterWaiting_ && rc != 0;
                changed_.notify_all();
            }
            if (callerReports) {
                {
                    std::lock_guard g(lock_);
                    current_ = nullptr;
                }
                device->close();
                return;
            }
        }
        if (rc == 0) {
            {
                std::lock_guard g(lock_);
                sound_ = true;
            }
            if (told) {
                engine_.soundBack();
                told = false;
            }
            std::string fault;
            try {
                rc = pump(*device);
            } catch (const std::exception& e) {
                fault = e.what()[0] ? e.what() : "unknown fault";
            } catch (...) {
                fault = "unknown fault";
            }
            {
                std::lock_guard g(lock_);
                sound_ = false;
            }
            if (!fault.empty()) {
                {
                    std::lock_guard g(lock_);
                    current_ = nullptr;
                }
                device->close();
                engine_.soundFailed(fault);
                return;
            }
        }
        {
            std::lock_guard g(lock_);
            current_ = nullptr;
        }
        device->close();
        device.reset();
        if (stopping())
            break;
        if (!told) {
            engine_.soundLost(rc);
            told = true;
        }
        if (!pause(kRetry))
            break;
    }
}

} // namespace sound

#include "engines/sound/library.h"

#include <alsa/asoundlib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace sound {
namespace {

std::atomic<long> g_starved{0};
std::atomic<long> g_hostUnderruns{0};
std::atomic<long> g_marginRaises{0};

// ALSA's messages come here instead of to stderr; an underrun it reports is counted.
void alsaMessage(const char*, int, const char*, int, const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (std::strstr(text, "underrun"))
        ++g_hostUnderruns;
}

// While a library call runs, stderr goes to a memory file; afterwards the libraries' chatter is
// dropped and anything else (a message of the program's own, from another thread) passed on.
class QuietStderr {
public:
    QuietStderr()
    {
        std::fflush(stderr);
        file_ = ::memfd_create("sondrel-sound-messages", MFD_CLOEXEC);
        if (file_ < 0)
            return;
        saved_ = ::dup(2);
        if (saved_ < 0 || ::dup2(file_, 2) < 0) {
            ::close(file_);
            file_ = -1;
        }
    }
    ~QuietStderr()
    {
        if (file_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
        std::string text;
        const off_t size = ::lseek(file_, 0, SEEK_END);
        if (size > 0 && ::lseek(file_, 0, SEEK_SET) == 0) {
            text.resize(std::size_t(size));
            if (::read(file_, text.data(), text.size()) != size)
                text.clear();
        }
        ::close(file_);
        std::size_t from = 0;
        while (from < text.size()) {
            std::size_t end = text.find('\n', from);
            if (end == std::string::npos)
                end = text.size();
            const std::string line = text.substr(from, end - from);
            if (!detail::isLibraryChatter(line)) {
                const std::string out = line + "\n";
                (void)!::write(2, out.data(), out.size());
            }
            from = end + 1;
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int file_ = -1;
    int saved_ = -1;
};

struct Job {
    std::function<void()> task;
    std::mutex lock;
    std::condition_variable doneSignal;
    bool done = false;
};

struct Worker {
    std::mutex lock;
    std::condition_variable wake;
    std::deque<std::shared_ptr<Job>> jobs;
    std::thread::id id;

    void loop()
    {
        snd_lib_error_set_handler(alsaMessage);
        for (;;) {
            std::shared_ptr<Job> job;
            {
                std::unique_lock g(lock);
                wake.wait(g, [this] { return !jobs.empty(); });
                job = std::move(jobs.front());
                jobs.pop_front();
            }
            {
                QuietStderr quiet;
                try {
                    job->task();
                } catch (...) { // a library call that throws has simply failed
                }
            }
            job->task = nullptr; // what it owned goes here, not on a waiter that gave up
            std::lock_guard g(job->lock);
            job->done = true;
            job->doneSignal.notify_all();
        }
    }
};

// Made once and never freed: its thread may still sit in a call to a hung sound server when
// the program ends, and must find its queue there.
Worker& worker()
{
    static Worker* w = [] {
        auto* made = new Worker;
        std::thread t([made] { made->loop(); });
        {
            std::lock_guard g(made->lock);
            made->id = t.get_id();
        }
        t.detach();
        return made;
    }();
    return *w;
}

} // namespace

bool runOnLibraryThread(std::function<void()> task, std::chrono::milliseconds wait, const std::atomic<bool>* cancel)
{
    Worker& w = worker();
    auto job = std::make_shared<Job>();
    job->task = std::move(task);
    bool here;
    {
        std::lock_guard g(w.lock);
        here = w.id == std::this_thread::get_id();
        if (!here)
            w.jobs.push_back(job);
    }
    if (here) { // a task that asks for another: it runs at once
        job->task();
        return true;
    }
    w.wake.notify_one();
    using Clock = std::chrono::steady_clock;
    const auto deadline = wait < std::chrono::milliseconds(0) ? Clock::time_point::max() : Clock::now() + wait;
    std::unique_lock g(job->lock);
    while (!job->done) {
        if (cancel && cancel->load())
            return false;
        const auto now = Clock::now();
        if (now >= deadline)
            return false;
        // A cancel is looked at every 20 ms.
        job->doneSignal.wait_until(g, std::min(deadline, now + std::chrono::milliseconds(20)));
    }
    return true;
}

SoundCounters soundCounters()
{
    return {g_starved.load(), g_hostUnderruns.load(), g_marginRaises.load()};
}

namespace detail {

void countStarved() { ++g_starved; }
void countHostUnderrun() { ++g_hostUnderruns; }
void countMarginRaise() { ++g_marginRaises; }

bool isLibraryChatter(const std::string& line)
{
    static const char* const kFrom[] = {
        "ALSA lib ",                    // ALSA, when its hook is not yet in place
        "Cannot connect to server",     // JACK, no server running
        "jack server is not running",   // JACK
        "JackShmReadWritePtr",          // JACK
        "Cannot lock down",             // JACK
        "Expression '",                 // PortAudio's ALSA host: a call that failed
        "PaAlsaStream",                 // PortAudio's ALSA host
        "bt_audio_service_open",        // the Bluetooth ALSA plug-in
    };
    if (line.find_first_not_of(" \t\r") == std::string::npos)
        return true;
    return std::any_of(std::begin(kFrom), std::end(kFrom),
                       [&](const char* p) { return line.compare(0, std::strlen(p), p) == 0; });
}

} // namespace detail

} // namespace sound

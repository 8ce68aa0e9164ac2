// Transmit audio on a live sound server: a private PulseAudio server (scripts/private_pulse.sh,
// two null sinks at 8000 samples/s) reached through PortAudio and ALSA's pulse plug-in, as on a
// Debian desktop. For BPSK31, QPSK31 and RTTY in turn the engine is started on the default
// devices and keyed a second later, five times for a second, then once for long, with text;
// what it plays is recorded from the sink's monitor.
// Printed per engine: the underruns the sound libraries reported (per minute), the times the
// playback found nothing queued, the gaps of 2 ms or more of silence inside the signal, the
// longest, and the time from the key to the first sound.
//   bench_live_sound [seconds per engine, default 60] [bpsk|qpsk|rtty ...]
#include <fcntl.h>
#include <sys/resource.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The PSK engine before Qt: its transmitter has a member named emit.
#include "engines/psk/engine.h"

#include <QString>

#include "engines/rtty/engine.h"
#include "engines/sound/audio.h"
#include "engines/sound/library.h"

namespace {

using Clock = std::chrono::steady_clock;
// The transmitter is keyed this long after the engine's start (the operator's first key).
constexpr auto kKeyAfter = std::chrono::milliseconds(1000);

double since(Clock::time_point t0, Clock::time_point t)
{
    return std::chrono::duration<double>(t - t0).count();
}

// The sound libraries' messages on stderr, counted: every line that reports an underrun.
class StderrCounter {
public:
    StderrCounter()
    {
        original_ = ::dup(2);
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        ::dup2(fds[1], 2);
        ::close(fds[1]);
        reader_ = std::thread([this, in = fds[0]] {
            std::string line;
            char c;
            while (::read(in, &c, 1) == 1) {
                if (c != '\n') {
                    line += c;
                    continue;
                }
                if (line.find("nderrun") != std::string::npos)
                    ++underruns_;
                else if (line.find("ALSA lib") == std::string::npos)
                    (void)!::write(original_, (line + "\n").data(), line.size() + 1);
                line.clear();
            }
            ::close(in);
        });
    }
    ~StderrCounter()
    {
        ::dup2(original_, 2);
        if (reader_.joinable())
            reader_.join();
    }
    long underruns() const { return underruns_; }

private:
    int original_ = -1;
    std::thread reader_;
    std::atomic<long> underruns_{0};
};

// parec on the sink's monitor: the samples, and when the first of them arrived.
class Recorder {
public:
    explicit Recorder(const char* source)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], 1);
            ::close(fds[0]);
            ::execlp("parec", "parec", "-d", source, "--rate=8000", "--channels=1", "--format=s16le",
                     "--latency-msec=10", "--raw", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        reader_ = std::thread([this, in = fds[0]] {
            std::int16_t buf[512];
            ssize_t got;
            while ((got = ::read(in, buf, sizeof buf)) > 0) {
                const auto now = Clock::now();
                std::lock_guard lock(mutex_);
                samples_.insert(samples_.end(), buf, buf + got / 2);
                // A sample arrives after it was played: the earliest start that every chunk
                // allows is the best estimate of when sample 0 was played.
                const auto start = now - seconds(samples_.size());
                if (samples_.size() == std::size_t(got / 2) || start < startAt_)
                    startAt_ = start;
            }
            ::close(in);
        });
    }
    ~Recorder() { stop(); }
    void stop()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        if (reader_.joinable())
            reader_.join();
    }
    // When sample i was played.
    Clock::time_point timeOf(std::size_t i) const { return startAt_ + seconds(i); }
    const std::vector<std::int16_t>& samples() const { return samples_; }

private:
    pid_t pid_ = -1;
    std::thread reader_;
    std::mutex mutex_;
    std::vector<std::int16_t> samples_;
    Clock::time_point startAt_;

    static Clock::duration seconds(std::size_t samples)
    {
        return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(double(samples) / 8000.0));
    }
};

struct Gaps {
    std::size_t first = 0, last = 0; // the signal's first and last loud sample
    int count = 0;
    double longestMs = 0, totalMs = 0;
};

// Runs of 16 or more samples (2 ms) at digital silence between the signal's first and last
// sound. (A PSK31 phase reversal passes through zero in one or two samples, not sixteen.)
Gaps findGaps(const std::vector<std::int16_t>& s)
{
    Gaps g;
    auto loud = [](std::int16_t v) { return std::abs(int(v)) > 300; };
    auto a = std::find_if(s.begin(), s.end(), loud);
    if (a == s.end())
        return g;
    auto b = std::find_if(s.rbegin(), s.rend(), loud).base();
    g.first = std::size_t(a - s.begin());
    g.last = std::size_t(b - s.begin());
    std::size_t run = 0;
    for (std::size_t i = g.first; i <= g.last && i < s.size(); ++i) {
        if (std::abs(int(s[i])) <= 2) {
            ++run;
            continue;
        }
        if (run >= 16) {
            if (std::getenv("BENCH_VERBOSE"))
                std::fprintf(stderr, "  gap of %.1f ms at %.3f s into the signal\n", run / 8.0, double(i - run - g.first) / 8000.0);
            ++g.count;
            g.totalMs += run / 8.0;
            g.longestMs = std::max(g.longestMs, run / 8.0);
        }
        run = 0;
    }
    return g;
}

std::string text(std::size_t n)
{
    static const char* words[] = {"cq", "de", "test", "the", "quick", "brown", "fox", "73", "rst", "599", "name", "qth"};
    std::string t;
    unsigned r = 12345;
    while (t.size() < n) {
        r = r * 1103515245u + 12345u;
        t += words[(r >> 16) % 12];
        t += (r >> 8) % 9 == 0 ? "\r\n" : " ";
    }
    return t;
}

struct Run {
    const char* name = "";
    double seconds = 0;
    long underruns = 0; // reported by the sound libraries
    long starved = 0;   // the playback found nothing queued
    Gaps gaps;
    double keyToSoundMs = 0, worstKeyToSoundMs = 0;
    double cpuPercent = 0; // of one core, the whole run
    int errors = 0;
};

double cpuSeconds()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// An engine as the measurement drives it.
struct Keyer {
    std::function<int()> start;
    std::function<void()> key, unkey, stop;
};

// Five short transmissions (1 s on, 1 s off) for the time from the key to the sound, then one
// of `seconds` for the gaps, all recorded from the sink's monitor.
Run measure(const char* name, double seconds, Keyer k, const StderrCounter& counter)
{
    Run r;
    r.name = name;
    Recorder rec("tx.monitor");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const long before = counter.underruns();
    const sound::SoundCounters countersBefore = sound::soundCounters();
    const double cpuBefore = cpuSeconds();
    const auto startedAt = Clock::now();
    if (int rc = k.start()) {
        std::fprintf(stderr, "%s: the engine did not start (error %d): %s\n", name, rc, sound::takeAudioError().c_str());
        return r;
    }
    std::this_thread::sleep_for(kKeyAfter);
    std::vector<Clock::time_point> keys;
    for (int i = 0; i < 5; ++i) {
        keys.push_back(Clock::now());
        k.key();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        k.unkey();
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    const auto longKey = Clock::now();
    k.key();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    k.unkey();
    k.stop();
    r.cpuPercent = 100.0 * (cpuSeconds() - cpuBefore) / since(startedAt, Clock::now());
    r.starved = sound::soundCounters().starved - countersBefore.starved;
    r.underruns = sound::soundCounters().hostUnderruns - countersBefore.hostUnderruns + counter.underruns() - before;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    rec.stop();

    const auto& s = rec.samples();
    auto firstLoudAfter = [&](Clock::time_point t) {
        for (std::size_t i = 0; i < s.size(); ++i)
            if (rec.timeOf(i) >= t - std::chrono::milliseconds(30) && std::abs(int(s[i])) > 300)
                return i;
        return s.size();
    };
    for (auto t : keys) {
        const std::size_t i = firstLoudAfter(t);
        const double ms = i < s.size() ? 1000.0 * since(t, rec.timeOf(i)) : 1e9;
        if (std::getenv("BENCH_VERBOSE"))
            std::fprintf(stderr, "  %s: key to sound %.0f ms\n", name, ms);
        r.keyToSoundMs += ms / double(keys.size());
        r.worstKeyToSoundMs = std::max(r.worstKeyToSoundMs, ms);
    }
    const std::size_t from = firstLoudAfter(longKey);
    if (from < s.size())
        r.gaps = findGaps(std::vector<std::int16_t>(s.begin() + std::ptrdiff_t(from), s.end()));
    r.seconds = double(r.gaps.last - r.gaps.first) / 8000.0;
    return r;
}

Run runPsk(const char* name, int mode, double seconds, const StderrCounter& counter)
{
    std::atomic<int> errors{0};
    psk::Engine engine;
    engine.setPoster([&](std::int32_t, std::uint32_t msg, std::intptr_t w, std::intptr_t) {
        if (msg == psk::kMsgStatus && w >= 10) {
            ++errors;
            std::fprintf(stderr, "%s: engine error %d: %s\n", name, int(w), sound::takeAudioError().c_str());
        }
    });
    const std::string words = text(std::size_t(seconds * 6 + 100));
    Keyer k;
    k.start = [&] {
        engine.setTxFrequency(1000);
        return engine.start(1, -1, 1);
    };
    k.key = [&] {
        for (unsigned char c : words)
            engine.sendCharacter(c, false);
        engine.startTx(mode);
    };
    k.unkey = [&] { engine.abortTx(); };
    k.stop = [&] { engine.stop(); };
    Run r = measure(name, seconds, k, counter);
    r.errors = errors;
    return r;
}

Run runRtty(double seconds, const StderrCounter& counter, const std::string& folder)
{
    rtty::RttyEngine engine(nullptr, QString::fromStdString(folder + "/UserPara.INI"), [](int, std::int32_t) {});
    std::atomic<int> told{0};
    engine.setTell([&](const QString& t) {
        std::fprintf(stderr, "RTTY: %s\n", t.toLocal8Bit().constData());
        ++told;
    });
    const std::string words = text(std::size_t(seconds * 7 + 100));
    Keyer k;
    k.start = [&] { return engine.start([] { return sound::makeAudioDevice(-1); }); };
    k.key = [&] {
        for (unsigned char c : words)
            engine.command(4, c);
        engine.command(3, 2);
    };
    k.unkey = [&] { engine.command(3, 0); };
    k.stop = [&] { engine.stop(); };
    Run r = measure("RTTY", seconds, k, counter);
    r.errors = told;
    return r;
}

// Starts the private server; false when it cannot (pulseaudio missing).
bool startServer(const std::string& folder)
{
    const std::string cmd = std::string("bash ") + SONDREL_SOURCE_DIR + "/scripts/private_pulse.sh start " + folder;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return false;
    char line[512];
    while (std::fgets(line, sizeof line, p)) {
        std::string l(line);
        while (!l.empty() && (l.back() == '\n' || l.back() == '\r'))
            l.pop_back();
        auto eq = l.find('=');
        if (eq != std::string::npos)
            ::setenv(l.substr(0, eq).c_str(), l.substr(eq + 1).c_str(), 1);
    }
    return ::pclose(p) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    double seconds = argc > 1 ? std::atof(argv[1]) : 60;
    if (seconds <= 0)
        seconds = 60;
    std::vector<std::string> which;
    for (int i = 2; i < argc; ++i)
        which.emplace_back(argv[i]);
    if (which.empty())
        which = {"bpsk", "qpsk", "rtty"};

    char folderTemplate[] = "/tmp/sondrel-live-XXXXXX";
    const char* made = ::mkdtemp(folderTemplate);
    if (!made) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string folder = made;
    if (!startServer(folder + "/pulse")) {
        std::fprintf(stderr, "No private PulseAudio server (is pulseaudio installed?)\n");
        return 1;
    }
    ::unsetenv("SONDREL_AUDIO");

    std::vector<Run> runs;
    {
        StderrCounter counter;
        for (const auto& w : which) {
            if (w == "bpsk")
                runs.push_back(runPsk("BPSK31", 0, seconds, counter));
            else if (w == "qpsk")
                runs.push_back(runPsk("QPSK31", 1, seconds, counter));
            else if (w == "rtty")
                runs.push_back(runRtty(seconds, counter, folder));
        }
    }
    const std::string stop = std::string("bash ") + SONDREL_SOURCE_DIR + "/scripts/private_pulse.sh stop " + folder
                             + "/pulse && rm -rf " + folder;
    (void)!std::system(stop.c_str());

    std::printf("Transmit audio on a private PulseAudio server (default devices, PortAudio -> ALSA pulse plug-in),\n"
                "keyed 1 s after the engine's start: five transmissions of 1 s, then one of %.0f s:\n\n", seconds);
    std::printf("%-7s %8s %10s %8s %8s %10s %10s %11s %16s %6s %7s\n", "engine", "signal s", "underruns", "per min",
                "starved", "gaps>=2ms", "longest ms", "silence ms", "key->sound ms", "cpu %", "errors");
    for (const auto& r : runs) {
        const double minutes = r.seconds / 60.0;
        std::printf("%-7s %8.1f %10ld %8.1f %8ld %10d %10.1f %11.1f %8.0f (%4.0f) %6.1f %7d\n", r.name, r.seconds,
                    r.underruns, minutes > 0 ? r.underruns / minutes : 0.0, r.starved, r.gaps.count, r.gaps.longestMs,
                    r.gaps.totalMs, r.keyToSoundMs, r.worstKeyToSoundMs, r.cpuPercent, r.errors);
    }
    std::printf("\nunderruns: as the sound libraries report them (ALSA's messages); starved: times the playback\n"
                "found no sound queued by the engine; gaps: runs of 2 ms or more of silence inside the\n"
                "long transmission; key->sound: mean (worst) of five short transmissions; cpu: of one core,\n"
                "the engine and the recorder together.\n");
    return 0;
}

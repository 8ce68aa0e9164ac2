// Transmit audio on a live sound server: a private PulseAudio server (scripts/private_pulse.sh,
// two null sinks at 8000 samples/s) reached through PortAudio and ALSA's pulse plug-in, as on a
// Debian desktop. A recorder listens to the sink's monitor all along, as the station at the
// other end does. BPSK31, QPSK31 and RTTY are run one after the other, each started as the
// previous one stops (a mode change; the first as the program starts) on the default devices:
// keyed a second after its start for long, with text, then ten times for a second.
// Printed per engine: the underruns the sound libraries reported (per minute), the times the
// playback found nothing queued, the gaps of 2 ms or more of silence inside the long
// transmission, the longest, the time from the first key to the sound and from the end of
// the long transmission to the end of its sound, and the time from the later keys to the sound.
//   bench_live_sound [seconds of the long transmission, default 60] [bpsk|qpsk|rtty[:seconds] ...]
// An engine named with :seconds transmits that long instead (bench_live_sound 60 rtty:5 qpsk:1800:
// a short RTTY run, then half an hour of QPSK31 right after the change).
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
#include <utility>
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
// Then, after the long transmission, this many keys of a second each.
constexpr int kShortKeys = 10;

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
    // When sample i was played, and the sample played at t.
    Clock::time_point timeOf(std::size_t i) const { return startAt_ + seconds(i); }
    std::size_t indexAt(Clock::time_point t) const
    {
        return t <= startAt_ ? 0 : std::size_t(std::chrono::duration<double>(t - startAt_).count() * 8000.0);
    }
    // Whether it has had sound within `wait`. (A null sink nobody listened to keeps a new
    // listener waiting up to two seconds.)
    bool hears(std::chrono::milliseconds wait)
    {
        const auto end = Clock::now() + wait;
        while (Clock::now() < end) {
            {
                std::lock_guard lock(mutex_);
                if (!samples_.empty())
                    return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
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
    int count = 0;
    double longestMs = 0, totalMs = 0;
};

bool loud(std::int16_t v)
{
    return std::abs(int(v)) > 300;
}

// Runs of 16 or more samples (2 ms) at digital silence in s[from, to). (A PSK31 phase reversal
// passes through zero in one or two samples, not sixteen.)
Gaps findGaps(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to)
{
    Gaps g;
    std::size_t run = 0;
    for (std::size_t i = from; i < to && i < s.size(); ++i) {
        if (std::abs(int(s[i])) <= 2) {
            ++run;
            continue;
        }
        if (run >= 16) {
            if (std::getenv("BENCH_VERBOSE"))
                std::fprintf(stderr, "  gap of %.1f ms at %.3f s into the signal\n", run / 8.0, double(i - run - from) / 8000.0);
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
    bool started = false;
    long underruns = 0; // reported by the sound libraries
    long starved = 0;   // the playback found nothing queued
    long raises = 0;    // the sound queued ahead of the playback was raised a step
    double cpuPercent = 0; // of one core, the whole run
    int errors = 0;
    // When the keys were pressed and the long transmission ended.
    Clock::time_point longKey, longEnd;
    std::vector<Clock::time_point> keys;
    // From the recording.
    double seconds = 0; // of the long transmission's sound
    Gaps gaps;
    double firstKeyMs = 0, endMs = 0, keyMs = 0, worstKeyMs = 0;
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

// The engine started, keyed a second later for `seconds`, then kShortKeys times for a second (with
// a second between); the figures from the recording come later (analyse).
Run measure(const char* name, double seconds, Keyer k, const StderrCounter& counter)
{
    Run r;
    r.name = name;
    const long before = counter.underruns();
    const sound::SoundCounters countersBefore = sound::soundCounters();
    const double cpuBefore = cpuSeconds();
    const auto startedAt = Clock::now();
    if (int rc = k.start()) {
        std::fprintf(stderr, "%s: the engine did not start (error %d): %s\n", name, rc, sound::takeAudioError().c_str());
        return r;
    }
    r.started = true;
    std::this_thread::sleep_for(kKeyAfter);
    r.longKey = Clock::now();
    k.key();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    r.longEnd = Clock::now();
    k.unkey();
    for (int i = 0; i < kShortKeys; ++i) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        r.keys.push_back(Clock::now());
        k.key();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        k.unkey();
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    k.stop();
    r.cpuPercent = 100.0 * (cpuSeconds() - cpuBefore) / since(startedAt, Clock::now());
    r.starved = sound::soundCounters().starved - countersBefore.starved;
    r.raises = sound::soundCounters().marginRaises - countersBefore.marginRaises;
    r.underruns = sound::soundCounters().hostUnderruns - countersBefore.hostUnderruns + counter.underruns() - before;
    return r;
}

// The run's figures from the recording of the sink's monitor.
void analyse(Run& r, const Recorder& rec)
{
    const auto& s = rec.samples();
    const auto firstLoudAfter = [&](Clock::time_point t) {
        for (std::size_t i = rec.indexAt(t - std::chrono::milliseconds(30)); i < s.size(); ++i)
            if (loud(s[i]))
                return i;
        return s.size();
    };
    const auto ms = [&](Clock::time_point t, std::size_t i) { return i < s.size() ? 1000.0 * since(t, rec.timeOf(i)) : 1e9; };
    const std::size_t first = firstLoudAfter(r.longKey);
    // The long transmission's sound ends before the next key's.
    std::size_t last = std::min(s.size(), rec.indexAt(r.keys.empty() ? Clock::now() : r.keys.front()));
    while (last > first && !loud(s[last - 1]))
        --last;
    r.firstKeyMs = ms(r.longKey, first);
    r.endMs = ms(r.longEnd, last);
    if (first < last) {
        r.gaps = findGaps(s, first, last);
        r.seconds = double(last - first) / 8000.0;
    }
    for (auto t : r.keys) {
        const double k = ms(t, firstLoudAfter(t));
        if (std::getenv("BENCH_VERBOSE"))
            std::fprintf(stderr, "  %s: key to sound %.0f ms\n", r.name, k);
        r.keyMs += k / double(r.keys.size());
        r.worstKeyMs = std::max(r.worstKeyMs, k);
    }
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
    std::vector<std::pair<std::string, double>> which;
    for (int i = 2; i < argc; ++i) {
        std::string w = argv[i];
        double s = seconds;
        if (auto colon = w.find(':'); colon != std::string::npos) {
            s = std::atof(w.c_str() + colon + 1);
            w.resize(colon);
        }
        if (s <= 0 || (w != "bpsk" && w != "qpsk" && w != "rtty")) {
            std::fprintf(stderr, "%s: not bpsk, qpsk or rtty with seconds above 0\n", argv[i]);
            return 1;
        }
        which.emplace_back(w, s);
    }
    if (which.empty())
        which = {{"bpsk", seconds}, {"qpsk", seconds}, {"rtty", seconds}};

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
        Recorder rec("tx.monitor");
        if (!rec.hears(std::chrono::seconds(5)))
            std::fprintf(stderr, "The sink's monitor gives no sound\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        {
            StderrCounter counter;
            for (const auto& [w, s] : which) {
                if (w == "bpsk")
                    runs.push_back(runPsk("BPSK31", 0, s, counter));
                else if (w == "qpsk")
                    runs.push_back(runPsk("QPSK31", 1, s, counter));
                else
                    runs.push_back(runRtty(s, counter, folder));
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        rec.stop();
        for (auto& r : runs)
            if (r.started)
                analyse(r, rec);
    }
    const std::string stop = std::string("bash ") + SONDREL_SOURCE_DIR + "/scripts/private_pulse.sh stop " + folder
                             + "/pulse && rm -rf " + folder;
    (void)!std::system(stop.c_str());

    std::printf("Transmit audio on a private PulseAudio server (default devices, PortAudio -> ALSA pulse plug-in),\n"
                "the engines one after the other (a mode change), each keyed 1 s after its start for long\n"
                "(signal s), then ten times for 1 s:\n\n");
    std::printf("%-7s %8s %9s %7s %7s %7s %9s %8s %9s %9s %7s %13s %6s %6s\n", "engine", "signal s", "underruns",
                "per min", "starved", "raised", "gaps>=2ms", "longest", "silence", "first key", "end", "later keys", "cpu %", "errors");
    for (const auto& r : runs) {
        const double minutes = r.seconds / 60.0;
        std::printf("%-7s %8.1f %9ld %7.1f %7ld %7ld %9d %8.1f %9.1f %9.0f %7.0f %6.0f (%4.0f) %6.1f %6d\n", r.name, r.seconds,
                    r.underruns, minutes > 0 ? r.underruns / minutes : 0.0, r.starved, r.raises, r.gaps.count, r.gaps.longestMs,
                    r.gaps.totalMs, r.firstKeyMs, r.endMs, r.keyMs, r.worstKeyMs, r.cpuPercent, r.errors);
    }
    std::printf("\nunderruns: as the sound libraries report them (ALSA's messages); starved: times the playback\n"
                "found no sound queued by the engine; raised: times the sound kept queued ahead of the playback\n"
                "(and so every later key's delay) was raised by 32 ms, the engine's blocks having come late;\n"
                "gaps: runs of 2 ms or more of silence inside the long transmission, the longest and all\n"
                "together in ms; first key: ms from the key a second after the start to the sound; end: ms\n"
                "from the end of the long transmission to the end of its sound (the delay the playback kept;\n"
                "both wait for the engine's next block, up to 128 ms in PSK, 32 ms in RTTY); later keys: ms from the key to the sound, mean (worst) of ten;\n"
                "cpu: of one core, the engine and the recorder together.\n");
    return 0;
}

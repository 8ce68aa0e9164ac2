// Character error rate of BPSK31 and QPSK31 from our own transmitter through white Gaussian
// noise (SNR in 3000 Hz), received the way the program receives: AFC on with its 45 Hz range,
// the signal starting at a random sample and 0 to 20 Hz off the tuned frequency, several
// seeds per point. For comparison the same with AFC off and the receiver tuned exactly, and
// QPSK31 as an ideal receiver would copy it (frequency, phase and timing known exactly); on three threads.
// Prints the table and the SNR from which on the CER stays at or below 1%.
//   bench_psk_cer [characters per point, default 10000] [lowest dB] [highest dB] [step dB]
// With "fading" first, the same receiver (AFC on) over simulated HF paths instead: the CCIR
// good, moderate and poor two-path channels and one Rayleigh path of 0.2 to 1 Hz spread, from
// +10 to -5 dB (SNR of the unfaded signal), each point over its own fading seeds.
//   bench_psk_cer fading [characters per point, default 10000] [threads, default 3]
// With "drift" first, a signal that drifts 1 Hz/s for a minute either way across the tuned
// frequency, and one from it to 40 Hz above in 40 s, from +10 to -10 dB.
//   bench_psk_cer drift [characters per point, default 10000] [threads, default 3]
// With "noise" first, no signal at all: white noise alone through a BPSK31 and a QPSK31 channel
// with AFC on, in ten-minute runs; counts how often the search takes the noise for a signal
// (the channel tuned afresh after each), and how often a channel left on the noise moves its
// loops to something it found, per hour of noise.
//   bench_psk_cer noise [hours per mode and way, default 1] [threads, default 3]
// With "crowded" first, a weak station with a neighbour 30-70 Hz away calling (crowded.cpp).
//   bench_psk_cer crowded [transmissions per point, default 3] [threads, default 3]
// With "qso" first, a QSO: a station, quiet, and a reply or the station again a few hertz away
// (qso.cpp).
//   bench_psk_cer qso [noise seeds, default 3] [threads, default 3] [modes: b, q or bq]
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/hf_channel/hf_channel.h"
#include "engines/psk/receive/rxchannel.h"
#include "ideal_qpsk.h"
#include "psk_bench.h"

namespace {

constexpr int kSeeds = 5;        // transmissions per point, each with its own start, offset and noise
constexpr int kAfcRange = 45;    // the program's AFC range, Hz

struct Point {
    int mode;
    bool afc;
    bool ideal;
    double snr;
    double cer = 0;
    const hfchannel::Settings* path = nullptr; // over an HF path (fading and drift columns)
    std::size_t length = 0;                    // characters a transmission (0: the point's in kSeeds)
};

double measure(const Point& p, std::size_t chars, unsigned salt)
{
    std::size_t errors = 0, sent = 0;
    const std::size_t transmissions = p.length ? std::max<std::size_t>(1, chars / p.length) : kSeeds;
    // A drifting signal starts where its path puts it.
    const bool placed = p.path && p.path->paths == 0;
    for (std::size_t s = 0; s < transmissions; ++s) {
        unsigned seed = salt * 131u + unsigned(s) * 7919u + unsigned(p.mode) * 17u;
        std::mt19937 rng(seed);
        std::string t = pskbench::text(p.length ? p.length : chars / kSeeds, seed);
        if (p.ideal) {
            errors += pskbench::errors(t, pskbench::idealQpsk(t, p.snr, seed + 1));
            sent += t.size();
            continue;
        }
        double off = p.afc && !placed ? std::uniform_real_distribution<double>(0.0, 20.0)(rng) : 0.0;
        if (p.afc && !placed && (rng() & 1u))
            off = -off;
        double lead = 0.5 + std::uniform_int_distribution<int>(0, 8000)(rng) / 8000.0;
        auto sound = pskbench::transmission(t, p.mode, 1000 + off, lead);
        const double power = pskbench::signalPower(sound);
        if (p.path)
            sound = hfchannel::apply(sound, *p.path, seed + 2);
        pskbench::addNoise(sound, power, p.snr, seed + 1);
        auto got = pskbench::receive(sound, {{1000, p.mode, p.afc ? kAfcRange : 0}});
        errors += pskbench::errors(t, got[0]);
        sent += t.size();
    }
    return double(errors) / double(sent);
}

// Runs every point on a few threads.
void run(std::vector<Point>& points, std::size_t chars, std::size_t perColumn, unsigned threads)
{
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (unsigned w = 0; w < std::max(1u, threads); ++w)
        workers.emplace_back([&] {
            for (std::size_t i; (i = next++) < points.size();)
                points[i].cer = measure(points[i], chars, unsigned(i % perColumn) + 1);
        });
    for (auto& w : workers)
        w.join();
}

struct Case {
    const char* name;
    hfchannel::Settings path;
    std::size_t length; // characters a transmission (0: five transmissions a point)
};

// BPSK31 and QPSK31 with AFC through each case at each SNR; prints the table.
void table(const char* what, const std::vector<Case>& cases, const std::vector<double>& snrs, std::size_t chars, unsigned threads)
{
    std::vector<Point> points;
    for (const auto& c : cases)
        for (double snr : snrs)
            for (int mode : {0, 1})
                points.push_back({mode, true, false, snr, 0, &c.path, c.length});
    run(points, chars, points.size(), threads);
    std::printf("%-22s %6s %9s %9s\n", what, "SNR dB", "BPSK31", "QPSK31");
    std::size_t i = 0;
    for (const auto& c : cases)
        for (double snr : snrs) {
            std::printf("%-22s %6.0f %8.2f%% %8.2f%%\n", c.name, snr, 100 * points[i].cer, 100 * points[i + 1].cer);
            i += 2;
        }
}

int fading(std::size_t chars, unsigned threads)
{
    std::printf("Character error rate over simulated HF paths, %zu characters per point in %d transmissions\n", chars, kSeeds);
    std::printf("(each with its own fading), AFC on with a %d Hz range; SNR of the unfaded signal in 3000 Hz.\n", kAfcRange);
    table("path", {{"good", hfchannel::good(), 0}, {"moderate", hfchannel::moderate(), 0}, {"poor", hfchannel::poor(), 0},
           {"flat 0.2 Hz", hfchannel::flat(0.2), 0}, {"flat 0.5 Hz", hfchannel::flat(0.5), 0}, {"flat 1.0 Hz", hfchannel::flat(1.0), 0}},
          {10, 5, 0, -5}, chars, threads);
    return 0;
}

// A signal whose frequency runs at `hzPerS` from `fromHz` off the tuned frequency on.
hfchannel::Settings drifting(double fromHz, double hzPerS)
{
    auto s = hfchannel::drift(hzPerS);
    s.offsetHz = fromHz;
    return s;
}

int drift(std::size_t chars, unsigned threads)
{
    std::printf("Character error rate of a drifting signal (a rig warming up, a moving station), %zu characters\n", chars);
    std::printf("per point in transmissions of about a minute (200 characters) or 40 s (130), AFC on with a %d Hz\n", kAfcRange);
    std::printf("range; SNR in 3000 Hz.\n");
    table("drift", {{"+1 Hz/s, -30 to +30 Hz", drifting(-30, 1), 200}, {"-1 Hz/s, +30 to -30 Hz", drifting(30, -1), 200},
           {"+1 Hz/s, 0 to +40 Hz", drifting(0, 1), 130}},
          {10, 0, -5, -10}, chars, threads);
    return 0;
}

struct NoiseRun {
    int mode;
    unsigned seed;
    bool retuned;           // tuned afresh after each find (else left to follow what it found)
    int finds = 0;          // times the channel took the noise for a signal
    int holds = 0;          // times it took the noise for a station read (which holds the channel)
};

// Ten minutes of noise through one channel with AFC on. Tuned afresh after each find, it counts
// how often the search takes noise for a signal; left alone, how often the loops are moved to
// something (the oscillator jumps), whether by a search or while following what was found.
void noiseRun(NoiseRun& r)
{
    constexpr int kBlock = 1024, kBlocks = 600 * 8000 / kBlock;
    psk::RxChannel ch;
    ch.setMode(r.mode);
    ch.setAfcLimit(100);
    ch.setSquelch(0, 0);
    ch.setFrequency(1000, kAfcRange);
    std::mt19937 rng(r.seed);
    std::normal_distribution<float> g(0.0f, 3000.0f);
    std::vector<float> block(kBlock);
    psk::RxOutput out;
    for (int b = 0; b < kBlocks; ++b) {
        for (float& v : block)
            v = g(rng);
        const double before = ch.frequency();
        const bool held = ch.holding();
        ch.process(block.data(), kBlock, out);
        out = {};
        r.holds += ch.holding() && !held;
        if (r.retuned && !ch.searching()) {
            ++r.finds;
            ch.setFrequency(1000, kAfcRange);
        } else if (!r.retuned && std::abs(ch.frequency() - before) > 2.0) {
            ++r.finds;
        }
    }
}

int noise(double hours, unsigned threads)
{
    const int runs = std::max(1, int(std::lround(hours * 6)));
    std::vector<NoiseRun> all;
    for (int mode : {0, 1})
        for (bool retuned : {true, false})
            for (int i = 0; i < runs; ++i)
                all.push_back({mode, unsigned(1000 * mode + i + 1), retuned});
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (unsigned w = 0; w < std::max(1u, threads); ++w)
        workers.emplace_back([&] {
            for (std::size_t i; (i = next++) < all.size();)
                noiseRun(all[i]);
        });
    for (auto& w : workers)
        w.join();
    std::printf("White noise alone through one channel with AFC on (%d Hz range), %d ten-minute runs (%.1f h)\n", kAfcRange,
                runs, runs / 6.0);
    std::printf("a mode each way. Search: finds (the noise taken for a signal), tuned afresh after each. Left on\n");
    std::printf("the noise: moves of the loops to something found (by a search or while following). Held: the\n");
    std::printf("noise read as a station's text long enough to hold the channel, both ways.\n");
    std::printf("%-7s %20s %20s %20s\n", "mode", "search finds / hour", "moves left / hour", "held / hour");
    for (int mode : {0, 1}) {
        int finds[2] = {}, holds = 0;
        for (const auto& r : all)
            if (r.mode == mode) {
                finds[r.retuned ? 0 : 1] += r.finds;
                holds += r.holds;
            }
        std::printf("%-7s %12d %7.2f %12d %7.2f %12d %7.2f\n", mode ? "QPSK31" : "BPSK31", finds[0], finds[0] / (runs / 6.0), finds[1],
                    finds[1] / (runs / 6.0), holds, holds / (runs / 3.0));
    }
    return 0;
}

} // namespace

int crowded(unsigned seeds, unsigned threads);
int qso(unsigned seeds, unsigned threads, const std::string& modes);

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "crowded")
        return crowded(argc > 2 ? unsigned(std::atoi(argv[2])) : 3u, argc > 3 ? unsigned(std::atoi(argv[3])) : 3u);
    if (argc > 1 && std::string(argv[1]) == "qso")
        return qso(argc > 2 ? unsigned(std::atoi(argv[2])) : 3u, argc > 3 ? unsigned(std::atoi(argv[3])) : 3u, argc > 4 ? argv[4] : "bq");
    if (argc > 1 && std::string(argv[1]) == "noise")
        return noise(argc > 2 ? std::atof(argv[2]) : 1.0, argc > 3 ? unsigned(std::atoi(argv[3])) : 3u);
    if (argc > 1 && (std::string(argv[1]) == "fading" || std::string(argv[1]) == "drift")) {
        const std::size_t chars = argc > 2 ? std::size_t(std::atoi(argv[2])) : 10000;
        const unsigned threads = argc > 3 ? unsigned(std::atoi(argv[3])) : 3u;
        return std::string(argv[1]) == "fading" ? fading(chars, threads) : drift(chars, threads);
    }
    const std::size_t chars = argc > 1 ? std::size_t(std::atoi(argv[1])) : 10000;
    std::vector<double> snrs;
    if (argc > 4) {
        const double from = std::atof(argv[2]), to = std::atof(argv[3]), step = std::atof(argv[4]);
        for (int i = 0; step > 0 && from + i * step <= to + 1e-9; ++i)
            snrs.push_back(from + i * step);
    } else {
        for (double s = -18; s <= 6.01; s += (s >= -17 && s < -9) ? 0.5 : 1.0)
            snrs.push_back(s);
    }
    if (snrs.empty() || chars < std::size_t(kSeeds)) {
        std::fprintf(stderr, "bench_psk_cer: no SNR in the range given\n");
        return 1;
    }
    struct Column { const char* name; int mode; bool afc; bool ideal; } columns[] = {
        {"BPSK31 AFC", 0, true, false}, {"QPSK31 AFC", 1, true, false}, {"BPSK31 off", 0, false, false},
        {"QPSK31 off", 1, false, false}, {"QPSK ideal", 1, false, true}};
    constexpr std::size_t kColumns = sizeof columns / sizeof *columns;
    std::vector<Point> points;
    for (const auto& c : columns)
        for (double s : snrs)
            points.push_back({c.mode, c.afc, c.ideal, s});
    run(points, chars, snrs.size(), std::min(3u, std::thread::hardware_concurrency()));

    std::printf("Character error rate, %zu characters per point in %d transmissions, SNR in 3000 Hz\n", chars, kSeeds);
    std::printf("AFC: on with a %d Hz range, signal 0-20 Hz off the tuned frequency, random start;\n", kAfcRange);
    std::printf("off: receiver tuned exactly to the signal; ideal: frequency, phase and timing known.\n");
    std::printf("%8s", "SNR dB");
    for (const auto& c : columns)
        std::printf(" %11s", c.name);
    std::printf("\n");
    const std::size_t n = snrs.size();
    for (std::size_t i = 0; i < n; ++i) {
        std::printf("%8.1f", snrs[i]);
        for (std::size_t c = 0; c < kColumns; ++c)
            std::printf(" %10.2f%%", 100 * points[c * n + i].cer);
        std::printf("\n");
    }
    for (std::size_t c = 0; c < kColumns; ++c) {
        // Lowest SNR from which on every point is at or below 1%.
        double at = snrs.back();
        for (std::size_t i = n; i-- > 0;) {
            if (points[c * n + i].cer > 0.01)
                break;
            at = snrs[i];
        }
        std::printf("%s: CER <= 1%% from %.1f dB SNR\n", columns[c].name, at);
    }
    return 0;
}

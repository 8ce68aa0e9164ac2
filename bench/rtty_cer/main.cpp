// Character error rate of the RTTY engine (45.45 Bd, 170 Hz), SNR in 3000 Hz as for PSK; the
// receiver as most operators run it: AFC on, squelch off, unshift-on-space on.
//  - steady: white Gaussian noise on the engine's own signal, on a sender 1.5% slow, one whose
//    tones are 10 Hz high, one both slow and high, and on another program's recording (its text
//    again and again, each time with other noise, four times the characters); the SNR where
//    each crosses 1%.
//  - fading: the own signal over the simulated CCIR moderate path and the selective 3 ms one
//    (mark and space fade on their own) from +12 to -3 dB (SNR of the unfaded signal), each
//    point over several fadings, beside minimodem's figures on the same paths; and the
//    characters lost once the signal is back at its level after deep fades of both tones or of
//    one.
//  - the receiver's speed.
//   bench_rtty_cer [steady|fading|all] [characters per point, default 10000] [threads, default 3]
//                  [lowest dB] [highest dB] [step dB]   (steady noise; default -9 to -4 by 0.5)
#include "rtty_bench.h" // before Qt, whose keywords it would trip on

#include <QByteArray>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/hf_channel/hf_channel.h"
#include "engines/psk/sound/wavfile.h"

namespace {

constexpr double kMark = 2125;
constexpr std::size_t kPeerRuns = 4; // the recording's column: characters per point, times
constexpr std::int32_t kSwitches = rtty::kSwAfc | rtty::kSwNet | rtty::kSwBandPass | rtty::kSwUos;
const char* const kPeerFile = SONDREL_SOURCE_DIR "/tests/data/peer/rtty45-1500hz.wav";
const char* const kPeerText = SONDREL_SOURCE_DIR "/tests/data/peer/text-rtty.txt";

// Runs jobs 0..count-1 on a few threads.
void parallel(std::size_t count, int threads, const std::function<void(std::size_t)>& job)
{
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&] {
            for (std::size_t i; (i = next++) < count;)
                job(i);
        });
    for (auto& t : pool)
        t.join();
}

std::string withoutBlanks(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '\r' && c != '\n')
            out.push_back(c);
    return out;
}

// Lowest SNR from which on every point is at or below 1% (NaN when none is).
double crossing(const std::vector<double>& snrs, const std::vector<double>& cer)
{
    double at = std::nan("");
    for (std::size_t i = snrs.size(); i-- > 0 && cer[i] <= 0.01;)
        at = snrs[i];
    return at;
}

struct Peer {
    std::vector<float> audio;
    std::string text;
    bool ok = false;
};

Peer loadPeer()
{
    Peer p;
    std::vector<std::int16_t> samples;
    if (psk::readWav(kPeerFile, samples) != 0)
        return p;
    p.audio.assign(samples.begin(), samples.end());
    p.audio.resize(p.audio.size() + 4000, 0.0f);
    if (FILE* f = std::fopen(kPeerText, "rb")) {
        char buf[4096];
        const std::size_t n = std::fread(buf, 1, sizeof buf, f);
        std::fclose(f);
        p.text = withoutBlanks(std::string(buf, n));
    }
    p.ok = !p.text.empty();
    return p;
}

void steady(std::size_t chars, int threads, const std::vector<double>& snrs)
{
    struct Sender {
        const char* name;
        double baud, toneOffsetHz;
    } senders[] = {{"own", rtty::kDefaultBaud, 0},
                   {"baud -1.5%", rtty::kDefaultBaud * 0.985, 0},
                   {"tone +10Hz", rtty::kDefaultBaud, 10},
                   {"both", rtty::kDefaultBaud * 0.985, 10}};
    constexpr std::size_t kSenders = 4;
    const Peer peer = loadPeer();
    if (!peer.ok)
        std::fprintf(stderr, "bench_rtty_cer: %s or its text cannot be read; no peer column\n", kPeerFile);
    const std::size_t columns = kSenders + (peer.ok ? 1 : 0);
    std::vector<std::vector<double>> cer(columns, std::vector<double>(snrs.size()));
    parallel(columns * snrs.size(), threads, [&](std::size_t job) {
        const std::size_t m = job / snrs.size(), i = job % snrs.size();
        if (m < kSenders) {
            const std::string text = rttybench::upper(pskbench::text(chars, unsigned(100 + i)));
            std::vector<float> s = rttybench::transmission(text, senders[m].baud, kMark + senders[m].toneOffsetHz);
            pskbench::addNoise(s, pskbench::signalPower(s), snrs[i], unsigned(7 + i));
            cer[m][i] = double(pskbench::errors(text, rttybench::receive(s, kMark, kSwitches))) / double(text.size());
            return;
        }
        // The recording: mark on its upper tone (1585 Hz), so copied in reverse; compared
        // without white space. Each pass has its own noise; its text is short and one lost
        // shift spoils several characters, so it is run over four times the characters.
        const double power = pskbench::signalPower(peer.audio);
        std::size_t errors = 0, sent = 0;
        for (unsigned pass = 0; sent < kPeerRuns * chars; ++pass) {
            std::vector<float> s = peer.audio;
            pskbench::addNoise(s, power, snrs[i], 1000 * unsigned(i) + pass);
            const std::string got = withoutBlanks(rttybench::receive(s, 1415, kSwitches | rtty::kSwReverse));
            errors += pskbench::errors(peer.text, got);
            sent += peer.text.size();
        }
        cer[m][i] = double(errors) / double(sent);
    });

    std::printf("Steady noise: character error rate, %zu characters per point (the recording %zu), SNR in 3000 Hz\n",
                chars, kPeerRuns * chars);
    std::printf("%8s", "SNR dB");
    for (std::size_t m = 0; m < kSenders; ++m)
        std::printf(" %11s", senders[m].name);
    if (peer.ok)
        std::printf(" %11s", "peer rec.");
    std::printf("\n");
    for (std::size_t i = 0; i < snrs.size(); ++i) {
        std::printf("%8.2f", snrs[i]);
        for (std::size_t m = 0; m < columns; ++m)
            std::printf(" %10.2f%%", 100 * cer[m][i]);
        std::printf("\n");
    }
    for (std::size_t m = 0; m < columns; ++m) {
        const char* name = m < kSenders ? senders[m].name : "peer recording";
        const double at = crossing(snrs, cer[m]);
        if (std::isnan(at))
            std::printf("%s: CER above 1%% at the highest SNR measured\n", name);
        else
            std::printf("%s: CER <= 1%% from %.1f dB SNR\n", name, at);
    }
}

// Characters lost once the signal is back at its level after deep fades: a text of plain words
// at +15 dB, a -25 dB fade of both tones or of one, held 0.2 to 2 s, at different places in
// the character; several noises each.
void fadeRecovery(int threads)
{
    struct Case {
        const char* name;
        bool mark, space;
    } cases[] = {{"both tones", true, true}, {"mark only", true, false}, {"space only", false, true}};
    const double holds[] = {0.2, 0.5, 1.0, 2.0};
    constexpr int kTrials = 12;
    constexpr std::size_t kCases = 3, kHolds = 4;
    std::vector<std::size_t> lost(kCases * kHolds * kTrials);
    parallel(lost.size(), threads, [&](std::size_t job) {
        const std::size_t c = job / (kHolds * kTrials), h = job / kTrials % kHolds, t = job % kTrials;
        const std::string text = rttybench::upper(pskbench::text(110, unsigned(300 + job)));
        rttybench::Keyed k = rttybench::keyed(text);
        const double power = pskbench::signalPower(k.audio);
        rttybench::Fade f{9.0 + 0.013 * double(t), holds[h], -25, cases[c].mark, cases[c].space};
        rttybench::applyFade(k, f);
        pskbench::addNoise(k.audio, power, 15, unsigned(job));
        const std::string got = rttybench::receive(k.audio, kMark, kSwitches);
        lost[job] = rttybench::lostFrom(text, k.charAt, got, f.end());
    });
    std::printf("Characters lost after a -25 dB fade once the signal is back (+15 dB SNR, %d fades each):\n", kTrials);
    std::printf("%12s", "held s");
    for (double h : holds)
        std::printf(" %9.1f", h);
    std::printf("   (mean/most)\n");
    for (std::size_t c = 0; c < kCases; ++c) {
        std::printf("%12s", cases[c].name);
        for (std::size_t h = 0; h < kHolds; ++h) {
            std::size_t sum = 0, most = 0;
            for (int t = 0; t < kTrials; ++t) {
                const std::size_t v = lost[(c * kHolds + h) * kTrials + std::size_t(t)];
                sum += v;
                most = std::max(most, v);
            }
            std::printf(" %6.1f/%-2zu", double(sum) / kTrials, most);
        }
        std::printf("\n");
    }
}

void fading(std::size_t chars, int threads)
{
    constexpr int kSeeds = 4;
    struct Path {
        const char* name;
        hfchannel::Settings s;
    } paths[] = {{"moderate", hfchannel::moderate()}, {"selective", hfchannel::selective()}};
    const double snrs[] = {12, 9, 6, 3, 0, -3};
    // minimodem over the same paths (3 fadings), where it was measured.
    const double peer[2][6] = {{-1, 1.6, -1, 7.7, -1, 22.7}, {-1, 5.4, -1, 13.8, -1, 28.4}};
    constexpr std::size_t kPaths = 2, kSnrs = 6;
    std::vector<double> cer(kPaths * kSnrs * kSeeds);
    std::vector<std::size_t> sent(cer.size());
    parallel(cer.size(), threads, [&](std::size_t job) {
        const std::size_t p = job / (kSnrs * kSeeds), i = job / kSeeds % kSnrs, seed = job % kSeeds;
        const std::string text = rttybench::upper(pskbench::text(chars / kSeeds, unsigned(500 + 10 * i + seed)));
        std::vector<float> s = rttybench::transmission(text, rtty::kDefaultBaud, kMark);
        const double power = pskbench::signalPower(s);
        s = hfchannel::apply(s, paths[p].s, unsigned(40 + seed));
        pskbench::addNoise(s, power, snrs[i], unsigned(900 + job));
        cer[job] = double(pskbench::errors(text, rttybench::receive(s, kMark, kSwitches)));
        sent[job] = text.size();
    });
    std::printf("Fading: character error rate over simulated HF paths, %zu characters per point in %d fadings;\n"
                "SNR of the unfaded signal in 3000 Hz (minimodem: its figures on the same paths, 3 fadings)\n", chars, kSeeds);
    std::printf("%8s %10s %10s %10s %10s\n", "SNR dB", "moderate", "minimodem", "selective", "minimodem");
    for (std::size_t i = 0; i < kSnrs; ++i) {
        std::printf("%8.0f", snrs[i]);
        for (std::size_t p = 0; p < kPaths; ++p) {
            double e = 0, n = 0;
            for (std::size_t s = 0; s < kSeeds; ++s) {
                e += cer[(p * kSnrs + i) * kSeeds + s];
                n += double(sent[(p * kSnrs + i) * kSeeds + s]);
            }
            std::printf(" %9.2f%%", 100 * e / n);
            if (peer[p][i] >= 0)
                std::printf(" %9.1f%%", peer[p][i]);
            else
                std::printf(" %10s", "-");
        }
        std::printf("\n");
    }
    fadeRecovery(threads);
}

void speed(std::size_t chars)
{
    // The whole receiving engine (filters, framing, spectrum) on a clean signal.
    const std::string text = rttybench::upper(pskbench::text(std::min<std::size_t>(chars, 2000), 1));
    const std::vector<float> clean = rttybench::transmission(text, rtty::kDefaultBaud, kMark);
    double seconds = 0;
    const std::string copy = rttybench::receive(clean, kMark, kSwitches, &seconds);
    std::printf("Receiver speed: %.0f x real time (%.1f s of signal in %.3f s; clean copy %s)\n",
                (double(clean.size()) / 8000.0) / seconds, double(clean.size()) / 8000.0, seconds,
                pskbench::errors(text, copy) == 0 ? "exact" : "WITH ERRORS");
}

} // namespace

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "all";
    if (what != "steady" && what != "fading" && what != "all") {
        std::fprintf(stderr, "usage: %s [steady|fading|all] [characters per point] [threads] [lowest dB] [highest dB] [step dB]\n", argv[0]);
        return 2;
    }
    const std::size_t chars = argc > 2 ? std::size_t(std::atoi(argv[2])) : 10000;
    const int threads = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    const double from = argc > 4 ? std::atof(argv[4]) : -9, to = argc > 5 ? std::atof(argv[5]) : -4;
    const double step = argc > 6 ? std::atof(argv[6]) : 0.5;
    std::vector<double> snrs;
    for (int i = 0; step > 0 && from + i * step <= to + 1e-9; ++i)
        snrs.push_back(from + i * step);
    if (snrs.empty() || chars < 100) {
        std::fprintf(stderr, "bench_rtty_cer: no SNR in the range given, or fewer than 100 characters a point\n");
        return 1;
    }
    std::printf("RTTY 45.45 Bd 170 Hz (receiver: AFC on, squelch off, unshift-on-space on)\n");
    if (what != "fading")
        steady(chars, threads, snrs);
    if (what != "steady")
        fading(chars, threads);
    speed(chars);
    return 0;
}

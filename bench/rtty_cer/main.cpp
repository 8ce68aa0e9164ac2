// Character error rate of the RTTY engine (45.45 Bd, 170 Hz), SNR in 3000 Hz as for PSK. Every
// figure is given for the receiver as the program starts it (AFC on, squelch on at its default
// level, unshift-on-space off) beside the same with the squelch off, and beside minimodem on the
// same signals where it is installed.
//  - steady: white Gaussian noise on two other programs' signals (the recording in
//    tests/data/peer and minimodem's transmission of its text, each again and again with other
//    noise, four times the characters), and on the engine's own signal, a sender 1.5% slow, one
//    whose tones are 10 Hz high and one both slow and high; the SNR where each crosses 1%.
//  - fading: the own signal over the simulated CCIR moderate path and the selective 3 ms one
//    (mark and space fade on their own) from +12 to -3 dB (SNR of the unfaded signal), each
//    point over several fadings; and the characters lost once the signal is back at its level
//    after deep fades of both tones or of one.
//  - start: how a signal begins, and what noise alone prints (start.cpp).
//  - line: the squelch line on the level bar (start.cpp).
//  - the receiver's speed.
//   bench_rtty_cer [steady|fading|start|line|all] [characters per point, default 10000] [threads, default 3]
//                  [lowest dB] [highest dB] [step dB]   (steady noise; default -9 to -4 by 0.5)
#include "bench_common.h" // before Qt, whose keywords it would trip on

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench/hf_channel/hf_channel.h"
#include "engines/sound/wavfile.h"
#include "other_modem.h"

namespace rttycer {

namespace {

constexpr std::size_t kOtherRuns = 4; // the other programs' signals: characters per point, times
const char* const kPeerFile = SONDREL_SOURCE_DIR "/tests/data/peer/rtty45-1500hz.wav";
const char* const kPeerText = SONDREL_SOURCE_DIR "/tests/data/peer/text-rtty.txt";

std::string readText(const char* path)
{
    std::string text;
    if (FILE* f = std::fopen(path, "rb")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
            text.append(buf, n);
        std::fclose(f);
    }
    return text;
}

void printCell(double v)
{
    if (std::isnan(v))
        std::printf(" %8s", "-");
    else
        std::printf(" %7.2f%%", 100 * v);
}

void printCrossing(const std::string& name, const std::string& receiver, double at)
{
    if (std::isnan(at))
        std::printf("  %s, %s: CER above 1%% at the highest SNR measured\n", name.c_str(), receiver.c_str());
    else
        std::printf("  %s, %s: CER <= 1%% from %.2f dB SNR\n", name.c_str(), receiver.c_str(), at);
}

} // namespace

std::string receive(std::size_t receiver, const std::vector<float>& audio, double markHz, double spaceHz)
{
    if (receiver == kMinimodem)
        return othermodem::receive(audio, markHz, spaceHz);
    const std::int32_t switches = switchesOf(receiver);
    if (spaceHz < markHz)
        return rttybench::receive(audio, spaceHz, switches | rtty::kSwReverse);
    return rttybench::receive(audio, markHz, switches);
}

std::string withoutBlanks(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '\r' && c != '\n')
            out.push_back(c);
    return out;
}

OtherSignal recording()
{
    OtherSignal s{"recording", {}, withoutBlanks(readText(kPeerText))};
    std::vector<std::int16_t> samples;
    if (sound::readWav(kPeerFile, samples) != 0 || s.text.empty()) {
        std::fprintf(stderr, "bench_rtty_cer: %s or its text cannot be read\n", kPeerFile);
        return s;
    }
    s.audio.assign(samples.begin(), samples.end());
    s.audio.resize(s.audio.size() + 4000, 0.0f);
    s.ok = true;
    return s;
}

OtherSignal minimodemSignal()
{
    const std::string text = readText(kPeerText);
    OtherSignal s{"minimodem's", {}, withoutBlanks(text)};
    const std::vector<float> audio = othermodem::transmit(text);
    if (audio.empty() || s.text.empty())
        return s;
    s.audio.assign(4000, 0.0f);
    s.audio.insert(s.audio.end(), audio.begin(), audio.end());
    s.audio.resize(s.audio.size() + 4000, 0.0f);
    s.ok = true;
    return s;
}

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

double crossing(const std::vector<double>& snrs, const std::vector<double>& cer)
{
    std::size_t i = snrs.size();
    while (i > 0 && cer[i - 1] <= 0.01)
        --i;
    if (i == snrs.size())
        return std::nan("");
    if (i == 0)
        return snrs[0];
    // cer[i - 1] > 1% >= cer[i]
    const double f = (cer[i - 1] - 0.01) / (cer[i - 1] - cer[i]);
    return snrs[i - 1] + f * (snrs[i] - snrs[i - 1]);
}

std::size_t lostIn(const std::string& sent, const std::string& got, std::size_t first, std::size_t n)
{
    const std::vector<bool> ok = rttybench::printed(sent, got);
    std::size_t lost = 0;
    for (std::size_t i = first; i < first + n && i < sent.size(); ++i)
        lost += !ok[i];
    return lost;
}

// ---- steady noise ----

void steady(std::size_t chars, int threads, const std::vector<double>& snrs)
{
    const std::size_t receivers = othermodem::available() ? kCompared : kMinimodem;
    // The other programs' signals: each pass has its own noise; their text is short and one
    // lost shift spoils several characters, so they are run over four times the characters.
    const OtherSignal others[2] = {recording(), minimodemSignal()};
    struct Sender {
        const char* name;
        double baud, toneOffsetHz;
    } senders[] = {{"own", rtty::kDefaultBaud, 0},
                   {"baud -1.5%", rtty::kDefaultBaud * 0.985, 0},
                   {"tone +10Hz", rtty::kDefaultBaud, 10},
                   {"both", rtty::kDefaultBaud * 0.985, 10}};
    constexpr std::size_t kOthers = 2, kSenders = 4, kSignals = kOthers + kSenders;
    // cer[signal][receiver][snr]
    std::vector<std::vector<std::vector<double>>> cer(
        kSignals, std::vector<std::vector<double>>(kCompared, std::vector<double>(snrs.size(), std::nan(""))));
    parallel(kSignals * snrs.size(), threads, [&](std::size_t job) {
        const std::size_t m = job / snrs.size(), i = job % snrs.size();
        if (m < kOthers) {
            const OtherSignal& o = others[m];
            if (!o.ok)
                return;
            const double power = pskbench::signalPower(o.audio);
            std::size_t errors[kCompared] = {}, sent = 0;
            for (unsigned pass = 0; sent < kOtherRuns * chars; ++pass) {
                std::vector<float> s = o.audio;
                pskbench::addNoise(s, power, snrs[i], 1000 * unsigned(i) + pass + unsigned(m) * 500000);
                for (std::size_t r = 0; r < receivers; ++r)
                    errors[r] += pskbench::errors(o.text, withoutBlanks(receive(r, s, 1585, 1415)));
                sent += o.text.size();
            }
            for (std::size_t r = 0; r < receivers; ++r)
                cer[m][r][i] = double(errors[r]) / double(sent);
            return;
        }
        const Sender& sender = senders[m - kOthers];
        const std::string text = rttybench::upper(pskbench::text(chars, unsigned(100 + i)));
        std::vector<float> s = rttybench::transmission(text, sender.baud, kMark + sender.toneOffsetHz);
        pskbench::addNoise(s, pskbench::signalPower(s), snrs[i], unsigned(7 + i));
        for (std::size_t r = 0; r < receivers; ++r) {
            // minimodem's text has the line ends as it prints them
            const std::string got = receive(r, s, kMark, kMark + 170);
            cer[m][r][i] = r == kMinimodem ? double(pskbench::errors(withoutBlanks(text), withoutBlanks(got))) / double(withoutBlanks(text).size())
                                           : double(pskbench::errors(text, got)) / double(text.size());
        }
    });

    std::printf("Steady noise: character error rate, SNR in 3000 Hz\n");
    std::printf("Other programs' signals (their text, %zu characters per point, compared without white space):\n",
                kOtherRuns * chars);
    std::printf("%8s", "SNR dB");
    for (std::size_t m = 0; m < kOthers; ++m)
        for (std::size_t r = 0; r < kCompared; ++r)
            std::printf(" %8.8s", r == kDefaultSquelch ? (m == 0 ? "rec:def" : "mm:def") : receiverName(r));
    std::printf("\n");
    for (std::size_t i = 0; i < snrs.size(); ++i) {
        std::printf("%8.2f", snrs[i]);
        for (std::size_t m = 0; m < kOthers; ++m)
            for (std::size_t r = 0; r < kCompared; ++r)
                printCell(cer[m][r][i]);
        std::printf("\n");
    }
    std::printf("Own transmitter (%zu characters per point):\n%8s", chars, "SNR dB");
    for (std::size_t m = 0; m < kSenders; ++m)
        std::printf(" %8.8s %8s", senders[m].name, "sq off");
    std::printf("\n");
    for (std::size_t i = 0; i < snrs.size(); ++i) {
        std::printf("%8.2f", snrs[i]);
        for (std::size_t m = kOthers; m < kSignals; ++m)
            for (std::size_t r = 0; r < kMinimodem; ++r)
                printCell(cer[m][r][i]);
        std::printf("\n");
    }
    std::printf("1%% crossings:\n");
    for (std::size_t m = 0; m < kSignals; ++m) {
        const std::string name = m < kOthers ? others[m].name : senders[m - kOthers].name;
        for (std::size_t r = 0; r < receivers; ++r)
            if (m < kOthers ? others[m].ok : r != kMinimodem)
                printCrossing(name, receiverName(r), crossing(snrs, cer[m][r]));
    }
}

// ---- fading ----

namespace {

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
    constexpr std::size_t kCases = 3, kHolds = 4, kEngine = 2;
    std::vector<std::size_t> lost(kCases * kHolds * kTrials * kEngine);
    parallel(lost.size() / kEngine, threads, [&](std::size_t job) {
        const std::size_t c = job / (kHolds * kTrials), h = job / kTrials % kHolds, t = job % kTrials;
        const std::string text = rttybench::upper(pskbench::text(110, unsigned(300 + job)));
        rttybench::Keyed k = rttybench::keyed(text);
        const double power = pskbench::signalPower(k.audio);
        rttybench::Fade f{9.0 + 0.013 * double(t), holds[h], -25, cases[c].mark, cases[c].space};
        rttybench::applyFade(k, f);
        pskbench::addNoise(k.audio, power, 15, unsigned(job));
        for (std::size_t r = 0; r < kEngine; ++r)
            lost[job * kEngine + r] = rttybench::lostFrom(text, k.charAt, receive(r, k.audio, kMark, kMark + 170), f.end());
    });
    std::printf("Characters lost after a -25 dB fade once the signal is back (+15 dB SNR, %d fades each),\n"
                "mean/most, default squelch | squelch off:\n", kTrials);
    std::printf("%12s", "held s");
    for (std::size_t r = 0; r < kEngine; ++r)
        for (double h : holds)
            std::printf(" %8.1f", h);
    std::printf("\n");
    for (std::size_t c = 0; c < kCases; ++c) {
        std::printf("%12s", cases[c].name);
        for (std::size_t r = 0; r < kEngine; ++r) {
            for (std::size_t h = 0; h < kHolds; ++h) {
                std::size_t sum = 0, most = 0;
                for (int t = 0; t < kTrials; ++t) {
                    const std::size_t v = lost[((c * kHolds + h) * kTrials + std::size_t(t)) * kEngine + r];
                    sum += v;
                    most = std::max(most, v);
                }
                std::printf(" %5.1f/%-2zu", double(sum) / kTrials, most);
            }
            std::printf(r == 0 ? " |" : "\n");
        }
    }
}

} // namespace

void fading(std::size_t chars, int threads)
{
    constexpr int kSeeds = 4;
    struct Path {
        const char* name;
        hfchannel::Settings s;
    } paths[] = {{"moderate", hfchannel::moderate()}, {"selective", hfchannel::selective()}};
    const double snrs[] = {12, 9, 6, 3, 0, -3};
    constexpr std::size_t kPaths = 2, kSnrs = 6;
    const std::size_t receivers = othermodem::available() ? kCompared : kMinimodem;
    std::vector<double> errors(kPaths * kSnrs * kSeeds * kCompared, 0);
    std::vector<std::size_t> sent(kPaths * kSnrs * kSeeds);
    parallel(sent.size(), threads, [&](std::size_t job) {
        const std::size_t p = job / (kSnrs * kSeeds), i = job / kSeeds % kSnrs, seed = job % kSeeds;
        const std::string text = rttybench::upper(pskbench::text(chars / kSeeds, unsigned(500 + 10 * i + seed)));
        std::vector<float> s = rttybench::transmission(text, rtty::kDefaultBaud, kMark);
        const double power = pskbench::signalPower(s);
        s = hfchannel::apply(s, paths[p].s, unsigned(40 + seed));
        pskbench::addNoise(s, power, snrs[i], unsigned(900 + job));
        for (std::size_t r = 0; r < receivers; ++r) {
            const std::string got = receive(r, s, kMark, kMark + 170);
            errors[job * kCompared + r] = double(r == kMinimodem ? pskbench::errors(withoutBlanks(text), withoutBlanks(got))
                                                                  : pskbench::errors(text, got));
        }
        sent[job] = text.size();
    });
    std::printf("Fading: character error rate over simulated HF paths, %zu characters per point in %d fadings;\n"
                "SNR of the unfaded signal in 3000 Hz\n", chars, kSeeds);
    std::printf("%8s", "SNR dB");
    for (std::size_t p = 0; p < kPaths; ++p)
        for (std::size_t r = 0; r < kCompared; ++r)
            std::printf(" %8.8s", r == kDefaultSquelch ? paths[p].name : receiverName(r));
    std::printf("\n");
    for (std::size_t i = 0; i < kSnrs; ++i) {
        std::printf("%8.0f", snrs[i]);
        for (std::size_t p = 0; p < kPaths; ++p)
            for (std::size_t r = 0; r < kCompared; ++r) {
                if (r >= receivers) {
                    printCell(std::nan(""));
                    continue;
                }
                double e = 0, n = 0;
                for (std::size_t s = 0; s < kSeeds; ++s) {
                    const std::size_t job = (p * kSnrs + i) * kSeeds + s;
                    e += errors[job * kCompared + r];
                    n += double(sent[job]);
                }
                printCell(e / n);
            }
        std::printf("\n");
    }
    fadeRecovery(threads);
}

} // namespace rttycer

namespace {

void speed(std::size_t chars)
{
    // The whole receiving engine (filters, framing, spectrum) on a clean signal.
    const std::string text = rttybench::upper(pskbench::text(std::min<std::size_t>(chars, 2000), 1));
    const std::vector<float> clean = rttybench::transmission(text, rtty::kDefaultBaud, rttycer::kMark);
    double seconds = 0;
    const std::string copy = rttybench::receive(clean, rttycer::kMark, rttycer::kStart, &seconds);
    std::printf("Receiver speed: %.0f x real time (%.1f s of signal in %.3f s; clean copy %s)\n",
                (double(clean.size()) / 8000.0) / seconds, double(clean.size()) / 8000.0, seconds,
                pskbench::errors(text, copy) == 0 ? "exact" : "WITH ERRORS");
}

} // namespace

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "all";
    if (what != "steady" && what != "fading" && what != "start" && what != "line" && what != "all") {
        std::fprintf(stderr, "usage: %s [steady|fading|start|line|all] [characters per point] [threads] [lowest dB] [highest dB] [step dB]\n",
                     argv[0]);
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
    std::printf("RTTY 45.45 Bd 170 Hz; \"default\": the engine's switches as the program starts it (AFC, squelch at its\n"
                "default level) but unshift-on-space on, \"sq off\": the same with the squelch off; \"UOS off\": as the\n"
                "program starts; minimodem %s\n",
                othermodem::available() ? "as installed" : "not found (its columns \"-\")");
    if (what == "steady" || what == "all")
        rttycer::steady(chars, threads, snrs);
    if (what == "fading" || what == "all")
        rttycer::fading(chars, threads);
    if (what == "start" || what == "all")
        rttycer::start(threads);
    if (what == "line" || what == "all")
        rttycer::squelchLine(threads);
    speed(chars);
    return 0;
}

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
//  - start: how a signal begins, and what noise alone prints: a fade of a CCIR moderate path in
//    the first seconds of a signal beside the same fade later on (a shallow one with no noise,
//    and the deepest at +12 dB); the first word of a signal out of noise after 0, 2 and 20
//    bits of mark; a steady space tone before the first start bit (printing nothing is right);
//    the characters noise alone prints in 10 minutes with the engine's default squelch, and how
//    soon a signal at 0 and -6 dB opens it.
//  - the receiver's speed.
//   bench_rtty_cer [steady|fading|start|all] [characters per point, default 10000] [threads, default 3]
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
#include "engines/sound/wavfile.h"

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
    if (sound::readWav(kPeerFile, samples) != 0)
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

// ---- how a signal begins, and what noise alone prints ----

// The engine's own switches where no profile says otherwise: the squelch on at its default level.
constexpr std::int32_t kDefaultSwitches = rtty::kSwAfc | rtty::kSwNet | rtty::kSwBandPass | rtty::kSwSquelch;
constexpr double kKeyedPower = 16000.0 * 16000.0 / 2; // of rttybench::keyed's signal
constexpr double kRate = rtty::kSampleRate;
const std::string kFox = "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG";

// Characters of sent[first, first + n) that were not printed.
std::size_t lostIn(const std::string& sent, const std::string& got, std::size_t first, std::size_t n)
{
    const std::vector<bool> ok = rttybench::printed(sent, got);
    std::size_t lost = 0;
    for (std::size_t i = first; i < first + n; ++i)
        lost += !ok[i];
    return lost;
}

// A fade of a CCIR moderate path once a few seconds after a signal begins and once well into
// it, under the same characters, the same noise and the same fading (the path runs from the
// first sample; the early signal is silent before it begins, the later one sends other text
// before them):
//  - a shallow fade (12 to 18 dB, and no deeper than 18 dB for 0.7 s either side) with no
//    noise, 2.5 s after the signal begins (its lowest 1.8 to 3.2 s in) or about 49 s later;
//  - the deepest fade between 34 and 64 s at +12 dB, 2 s after the signal begins or about 30 s
//    later.
// The characters lost of the 40 sent from 1.5 s before the fade on.
void pathFade(int threads, bool shallow)
{
    constexpr std::size_t kPaths = 40, kChars = 40;
    const double lead = shallow ? 2.5 : 2.0, later = shallow ? 49 : 30; // seconds
    const std::size_t from = shallow ? 5400 : 3400; // 10 ms steps
    const auto total = std::size_t(76 * kRate);
    // characters sent in about `later` seconds (shifts and line ends take some more)
    const auto filler = std::size_t(later * rtty::kDefaultBaud / 7.5 * 0.85);
    std::vector<std::size_t> lost(2 * kPaths, 0);
    std::vector<double> depth(kPaths, 0), laterAt(kPaths, 0);
    std::vector<int> found(kPaths, 0);
    parallel(kPaths, threads, [&](std::size_t p) {
        const hfchannel::Settings path = hfchannel::moderate();
        const auto seed = unsigned((shallow ? 170 : 70) + p);
        std::vector<float> tone(total);
        for (std::size_t i = 0; i < total; ++i)
            tone[i] = float(16000 * std::sin(2 * 3.14159265358979323846 * 2210 * double(i) / kRate));
        const std::vector<float> faded = hfchannel::apply(tone, path, seed);
        std::vector<double> db; // the path's gain each 10 ms
        for (std::size_t b = 0; b + 80 <= total; b += 80) {
            double e = 0;
            for (std::size_t i = b; i < b + 80; ++i)
                e += double(faded[i]) * faded[i];
            db.push_back(10 * std::log10(e / 80 / kKeyedPower + 1e-30));
        }
        std::size_t at = 0;
        for (std::size_t b = from; b < 6400; ++b) {
            if (!shallow) {
                if (at == 0 || db[b] < db[at])
                    at = b;
                continue;
            }
            if (db[b] > -12 || db[b] < -18 || db[b] > db[b - 1] || db[b] > db[b + 1])
                continue;
            bool alone = true;
            for (std::size_t c = b - 70; c <= b + 70; ++c)
                alone = alone && db[c] >= -18;
            if (alone) {
                at = b;
                break;
            }
        }
        if (at == 0)
            return;
        depth[p] = db[at];
        const std::size_t fadeAt = at * 80 + 40;
        const std::string sentence = rttybench::upper(pskbench::text(kChars, unsigned(600 + p)));
        const std::string before = rttybench::upper(pskbench::text(filler, unsigned(700 + p)));
        for (bool isLater : {false, true}) {
            const std::string text = isLater ? before + sentence : sentence;
            const std::size_t first = isLater ? filler : 0;
            rttybench::Lead l;
            l.silence = 0;
            const rttybench::Keyed bare = rttybench::keyed(text, l);
            // The sentence begins as far before the fade in both.
            const std::size_t ahead = std::size_t(lead * kRate) + bare.charAt[first] - bare.charAt[0];
            if (ahead + 8000 > fadeAt)
                return; // the text too long for the fade's place
            l.silence = fadeAt - ahead;
            if (isLater)
                laterAt[p] = double(ahead) / kRate;
            rttybench::Keyed k = rttybench::keyed(text, l);
            k.audio.resize(total, 0.0f);
            std::vector<float> s = hfchannel::apply(k.audio, path, seed);
            if (!shallow)
                pskbench::addNoise(s, kKeyedPower, 12, unsigned(800 + p));
            lost[2 * p + (isLater ? 1 : 0)] = lostIn(text, rttybench::receive(s, kMark, kSwitches), first, kChars);
        }
        found[p] = 1;
    });
    std::size_t sum[2] = {0, 0}, paths = 0;
    std::vector<double> depths;
    double laterMean = 0;
    for (std::size_t p = 0; p < kPaths; ++p)
        if (found[p]) {
            ++paths;
            laterMean += laterAt[p];
            depths.push_back(depth[p]);
            sum[0] += lost[2 * p];
            sum[1] += lost[2 * p + 1];
        }
    std::sort(depths.begin(), depths.end());
    const double n = double(std::max<std::size_t>(1, paths * kChars));
    std::printf("CCIR moderate, %s: %zu paths (median fade %.0f dB), characters lost of the %zu under it\n"
                "  the fade %4.1f s after the signal begins: %.2f%%\n"
                "  the fade %4.1f s after it begins:         %.2f%%\n",
                shallow ? "a shallow fade with no noise" : "its deepest fade at +12 dB", paths,
                depths.empty() ? 0.0 : depths[depths.size() / 2], kChars, lead, 100.0 * double(sum[0]) / n,
                laterMean / double(std::max<std::size_t>(1, paths)), 100.0 * double(sum[1]) / n);
}

// The first word of a signal out of noise (+10 dB) after 0, 2 and 20 bits of mark and one letters
// shift, 20 noises: with the bench's switches (squelch off) and the engine's defaults.
void firstWord(int threads)
{
    constexpr std::size_t kSeeds = 20, kMarks = 3;
    const double marks[kMarks] = {0, 2, 20};
    const std::int32_t switches[2] = {kSwitches, kDefaultSwitches};
    const std::string text = "THE QUICK BROWN FOX";
    std::vector<int> right(kMarks * 2 * kSeeds);
    parallel(right.size(), threads, [&](std::size_t job) {
        const std::size_t m = job / (2 * kSeeds), c = job / kSeeds % 2, seed = job % kSeeds;
        rttybench::Lead lead;
        lead.silence = std::size_t(3 * kRate) + 37 * seed;
        lead.markBits = marks[m];
        lead.shifts = 1;
        rttybench::Keyed k = rttybench::keyed(text, lead);
        pskbench::addNoise(k.audio, kKeyedPower, 10, unsigned(1000 + seed));
        right[job] = lostIn(text, rttybench::receive(k.audio, kMark, switches[c]), 0, 3) == 0;
    });
    std::printf("The first word out of noise at +10 dB (\"THE\" of \"%s\"), %zu noises:\n", text.c_str(), kSeeds);
    std::printf("%12s %14s %14s\n", "mark bits", "squelch off", "engine default");
    for (std::size_t m = 0; m < kMarks; ++m) {
        std::printf("%12.0f", marks[m]);
        for (std::size_t c = 0; c < 2; ++c) {
            int n = 0;
            for (std::size_t s = 0; s < kSeeds; ++s)
                n += right[(m * 2 + c) * kSeeds + s];
            std::printf(" %11d/%zu", n, kSeeds);
        }
        std::printf("\n");
    }
}

// A steady space tone of 4, 8 and 20 bits, then 6.4 bits of mark and a letters shift, before the
// text (as the recording begins): out of digital silence, how often exactly the text is printed;
// out of noise at +10 dB with the engine's defaults, what is printed from the tone's start to the
// text's first character. And what is printed before the recording's own text.
void preamble(int threads, const Peer& peer)
{
    constexpr std::size_t kPlaces = 12, kLengths = 3;
    const double spaces[kLengths] = {4, 8, 20};
    std::vector<int> exact(kLengths * kPlaces);
    std::vector<std::size_t> strays(exact.size());
    parallel(exact.size(), threads, [&](std::size_t job) {
        const std::size_t p = job / kPlaces, t = job % kPlaces;
        rttybench::Lead lead;
        lead.silence = 8000 + 7 * t;
        lead.spaceBits = spaces[p];
        lead.markBits = 6.4;
        lead.shifts = 1;
        rttybench::Keyed k = rttybench::keyed(kFox, lead);
        exact[job] = rttybench::receive(k.audio, kMark, kSwitches) == kFox;
        pskbench::addNoise(k.audio, kKeyedPower, 10, unsigned(2000 + job));
        std::vector<std::size_t> when;
        const std::string got = rttybench::receive(k.audio, kMark, kDefaultSwitches, nullptr, &when);
        // The first character's frame is complete 8.5 bits after it begins; the block ends after.
        const std::size_t until = k.charAt[0] + std::size_t(9 * kRate / rtty::kDefaultBaud) + rtty::RttyEngine::kBlock;
        std::size_t n = 0, last = 0;
        for (std::size_t i = 0; i < got.size(); ++i)
            if (when[i] > lead.silence && when[i] <= until) {
                ++n;
                last = i;
            }
        strays[job] = n - (n > 0 && got[last] == kFox[0] ? 1 : 0);
    });
    std::printf("A steady space tone before the first start bit, %zu places each:\n", kPlaces);
    std::printf("%12s %26s %28s\n", "space bits", "out of silence: text alone", "+10 dB, default: printed before");
    for (std::size_t p = 0; p < kLengths; ++p) {
        int n = 0;
        std::size_t s = 0;
        for (std::size_t t = 0; t < kPlaces; ++t) {
            n += exact[p * kPlaces + t];
            s += strays[p * kPlaces + t];
        }
        std::printf("%12.0f %23d/%zu %28zu\n", spaces[p], n, kPlaces, s);
    }
    if (peer.ok) {
        const std::string got = withoutBlanks(rttybench::receive(peer.audio, 1415, kSwitches | rtty::kSwReverse));
        const std::size_t at = got.find(peer.text.substr(0, 8));
        std::printf("The recording (space tone first): printed before its text: \"%s\"\n",
                    at == std::string::npos ? "(its text not found)" : got.substr(0, at).c_str());
    }
}

// Noise alone for 10 minutes, three noises, with the engine's default squelch and with it off;
// and a signal out of noise at 0 and -6 dB (2 bits of mark, a letters shift, then text): in how
// many of 20 the squelch lets its first character through, and when it prints.
void squelch(int threads)
{
    constexpr std::size_t kNoises = 3, kSeeds = 20;
    std::vector<std::size_t> chars(2 * kNoises);
    parallel(chars.size(), threads, [&](std::size_t job) {
        std::vector<float> noise(std::size_t(600 * kRate), 0.0f);
        pskbench::addNoise(noise, 2000.0 * 2000.0 * 0.75, 0, unsigned(3000 + job / 2)); // 2000 rms
        chars[job] = rttybench::receive(noise, kMark, job % 2 == 0 ? kDefaultSwitches : kDefaultSwitches & ~rtty::kSwSquelch).size();
    });
    std::printf("Noise alone, 10 minutes: characters printed with the default squelch");
    for (std::size_t n = 0; n < kNoises; ++n)
        std::printf(" %zu", chars[2 * n]);
    std::printf("; with the squelch off");
    for (std::size_t n = 0; n < kNoises; ++n)
        std::printf(" %zu", chars[2 * n + 1]);
    std::printf("\n");

    const double snrs[2] = {0, -6};
    struct Open {
        bool first = false;
        std::size_t lost = 0;
        double ms = 0;
    };
    std::vector<Open> open(2 * 2 * kSeeds);
    parallel(open.size(), threads, [&](std::size_t job) {
        const std::size_t i = job / (2 * kSeeds), c = job / kSeeds % 2, seed = job % kSeeds;
        const std::string text = rttybench::upper(pskbench::text(40, unsigned(900 + seed)));
        rttybench::Lead lead;
        lead.silence = std::size_t(3 * kRate) + 37 * seed;
        lead.markBits = 2;
        lead.shifts = 1;
        rttybench::Keyed k = rttybench::keyed(text, lead);
        pskbench::addNoise(k.audio, kKeyedPower, snrs[i], unsigned(4000 + seed));
        std::vector<std::size_t> when;
        const std::string got = rttybench::receive(k.audio, kMark, c == 0 ? kDefaultSwitches : kDefaultSwitches & ~rtty::kSwSquelch,
                                                   nullptr, &when);
        std::vector<long> where;
        const std::vector<bool> ok = rttybench::printed(text, got, &where);
        Open& o = open[job];
        o.lost = text.size();
        for (std::size_t j = 0; j < text.size(); ++j)
            if (ok[j]) {
                o.lost = j;
                o.first = j == 0;
                o.ms = 1000.0 * double(when[std::size_t(where[j])] - lead.silence) / kRate;
                break;
            }
    });
    std::printf("A signal out of noise (2 bits of mark, a letters shift, 40 characters), %zu noises; its first\n"
                "character printed, characters lost before the first printed (mean), and when that one\n"
                "printed after the signal began (median; its first character's frame ends about 400 ms in):\n", kSeeds);
    std::printf("%8s %30s %30s\n", "SNR dB", "default squelch", "squelch off");
    for (std::size_t i = 0; i < 2; ++i) {
        std::printf("%8.0f", snrs[i]);
        for (std::size_t c = 0; c < 2; ++c) {
            int first = 0;
            std::size_t lost = 0;
            std::vector<double> ms;
            for (std::size_t s = 0; s < kSeeds; ++s) {
                const Open& o = open[(i * 2 + c) * kSeeds + s];
                first += o.first;
                lost += o.lost;
                ms.push_back(o.ms);
            }
            std::sort(ms.begin(), ms.end());
            std::printf("   %5d/%zu %6.2f lost %6.0f ms", first, kSeeds, double(lost) / kSeeds, ms[kSeeds / 2]);
        }
        std::printf("\n");
    }
}

void start(int threads)
{
    pathFade(threads, true);
    pathFade(threads, false);
    firstWord(threads);
    preamble(threads, loadPeer());
    squelch(threads);
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
    if (what != "steady" && what != "fading" && what != "start" && what != "all") {
        std::fprintf(stderr, "usage: %s [steady|fading|start|all] [characters per point] [threads] [lowest dB] [highest dB] [step dB]\n", argv[0]);
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
    if (what == "steady" || what == "all")
        steady(chars, threads, snrs);
    if (what == "fading" || what == "all")
        fading(chars, threads);
    if (what == "start" || what == "all")
        start(threads);
    speed(chars);
    return 0;
}

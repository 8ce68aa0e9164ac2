// bench_rtty_cer start and line: how a signal begins, what noise alone prints, and the squelch
// line on the level bar.
#include "bench_common.h" // before Qt, whose keywords it would trip on

#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/hf_channel/hf_channel.h"
#include "other_modem.h"

namespace rttycer {
namespace {

const std::string kFox = "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG";

bool runs(std::size_t receiver)
{
    return receiver != kMinimodem || othermodem::available();
}

// A fade of a CCIR moderate path once a second or two after a signal begins and once well into
// it, under the same characters, the same noise and the same fading (the path runs from the
// first sample; the early signal is silent before it begins, the later one sends other text
// before them):
//  - a shallow fade (12 to 18 dB, and no deeper than 18 dB for 0.7 s either side) with no
//    noise, 2.5 s after the signal begins (its lowest 1.8 to 3.2 s in) or about 49 s later;
//  - the deepest fade between 34 and 64 s at +12 dB and with no noise, 1 s and 2 s after the
//    signal begins or about 28 s later.
// The characters lost of the 40 sent from the signal's start (early) or as far before the fade
// (later).
void pathFade(int threads, bool shallow)
{
    constexpr std::size_t kPaths = 40, kChars = 40;
    const std::vector<double> leads = shallow ? std::vector<double>{2.5} : std::vector<double>{1.0, 2.0};
    const std::vector<double> noises = shallow ? std::vector<double>{99} : std::vector<double>{12, 99}; // 99: none
    const double later = shallow ? 49 : 30; // seconds
    const std::size_t from = shallow ? 5400 : 3400; // 10 ms steps
    const auto total = std::size_t(76 * kRate);
    // characters sent in about `later` seconds (shifts and line ends take some more)
    const auto filler = std::size_t(later * rtty::kDefaultBaud / 7.5 * 0.85);
    const std::size_t cases = leads.size() * noises.size() * 2;
    // lost[((path * cases) + case) * kCompared + receiver], case = (noise, lead, later)
    std::vector<std::size_t> lost(kPaths * cases * kCompared, 0);
    std::vector<double> depth(kPaths, 0), laterAt(kPaths * leads.size(), 0);
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
        std::size_t c = 0;
        for (double noise : noises)
            for (std::size_t l = 0; l < leads.size(); ++l)
                for (bool isLater : {false, true}) {
                    const std::string text = isLater ? before + sentence : sentence;
                    const std::size_t first = isLater ? filler : 0;
                    rttybench::Lead lead;
                    lead.silence = 0;
                    const rttybench::Keyed bare = rttybench::keyed(text, lead);
                    // The sentence begins as far before the fade in both.
                    const std::size_t ahead = std::size_t(leads[l] * kRate) + bare.charAt[first] - bare.charAt[0];
                    if (ahead + 8000 > fadeAt)
                        return; // the text too long for the fade's place
                    lead.silence = fadeAt - ahead;
                    if (isLater)
                        laterAt[p * leads.size() + l] = double(ahead) / kRate;
                    rttybench::Keyed k = rttybench::keyed(text, lead);
                    k.audio.resize(total, 0.0f);
                    std::vector<float> s = hfchannel::apply(k.audio, path, seed);
                    if (noise < 99)
                        pskbench::addNoise(s, kKeyedPower, noise, unsigned(800 + p));
                    for (std::size_t r = 0; r < kCompared; ++r)
                        if (runs(r))
                            lost[(p * cases + c) * kCompared + r] = lostIn(text, receive(r, s, kMark, kMark + 170), first, kChars);
                    ++c;
                }
        found[p] = 1;
    });
    std::size_t paths = 0;
    std::vector<double> depths;
    for (std::size_t p = 0; p < kPaths; ++p)
        if (found[p]) {
            ++paths;
            depths.push_back(depth[p]);
        }
    std::sort(depths.begin(), depths.end());
    std::printf("CCIR moderate, %s: %zu paths (median fade %.0f dB), characters lost of the %zu under it\n"
                "(sum over the paths; default / sq off / minimodem):\n",
                shallow ? "a shallow fade" : "its deepest fade", paths, depths.empty() ? 0.0 : depths[depths.size() / 2], kChars);
    std::size_t c = 0;
    for (double noise : noises)
        for (std::size_t l = 0; l < leads.size(); ++l)
            for (bool isLater : {false, true}) {
                double when = leads[l];
                if (isLater) {
                    when = 0;
                    for (std::size_t p = 0; p < kPaths; ++p)
                        when += found[p] ? laterAt[p * leads.size() + l] : 0;
                    when /= double(std::max<std::size_t>(1, paths));
                }
                char label[64];
                std::snprintf(label, sizeof label, "%s, the fade %4.1f s in", noise < 99 ? "+12 dB" : "no noise", when);
                std::printf("  %-28s", label);
                for (std::size_t r = 0; r < kCompared; ++r) {
                    if (!runs(r)) {
                        std::printf(" %6s", "-");
                        continue;
                    }
                    std::size_t sum = 0;
                    for (std::size_t p = 0; p < kPaths; ++p)
                        sum += found[p] ? lost[(p * cases + c) * kCompared + r] : 0;
                    std::printf(" %6zu", sum);
                }
                std::printf("\n");
                ++c;
            }
}

// The first word of a signal out of noise (+10 dB) after 0, 2 and 20 bits of mark and one letters
// shift, 20 noises: as the program starts and with the squelch off.
void firstWord(int threads)
{
    constexpr std::size_t kSeeds = 20, kMarks = 3;
    const double marks[kMarks] = {0, 2, 20};
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
        right[job] = lostIn(text, receive(c == 0 ? kStartSquelch : kOff, k.audio, kMark, kMark + 170), 0, 3) == 0;
    });
    std::printf("The first word out of noise at +10 dB (\"THE\" of \"%s\"), %zu noises:\n", text.c_str(), kSeeds);
    std::printf("%12s %14s %14s\n", "mark bits", "as started", "sq off");
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

// The other programs' signals after 10 s of noise (what a receiver hears between overs), 40
// noises at 0, -3 and -6 dB: how often the first word ("THE") is lost, and how often the whole
// over is (more than a fifth of its characters wrong: printed in figures, or not at all).
void afterNoise(int threads)
{
    constexpr std::size_t kSeeds = 40, kSnrs = 3;
    const double snrs[kSnrs] = {0, -3, -6};
    const OtherSignal others[2] = {recording(), minimodemSignal()};
    struct Result {
        bool word = false, over = false;
    };
    std::vector<Result> lost(2 * kSnrs * kSeeds * kReceivers);
    parallel(2 * kSnrs * kSeeds, threads, [&](std::size_t job) {
        const std::size_t m = job / (kSnrs * kSeeds), i = job / kSeeds % kSnrs, seed = job % kSeeds;
        const OtherSignal& o = others[m];
        if (!o.ok)
            return;
        std::vector<float> s(std::size_t(10 * kRate), 0.0f);
        s.insert(s.end(), o.audio.begin(), o.audio.end());
        pskbench::addNoise(s, pskbench::signalPower(o.audio), snrs[i], unsigned(5000 + 100 * m + seed));
        for (std::size_t r = 0; r < kReceivers; ++r) {
            if (!runs(r))
                continue;
            const std::string got = withoutBlanks(receive(r, s, 1585, 1415));
            lost[job * kReceivers + r] = {lostIn(o.text, got, 0, 3) > 0, pskbench::errors(o.text, got) * 5 > o.text.size()};
        }
    });
    std::printf("After 10 s of noise, the other programs' signals (%zu noises): first words lost / overs lost\n", kSeeds);
    std::printf("%8s", "SNR dB");
    for (std::size_t m = 0; m < 2; ++m)
        for (std::size_t r = 0; r < kReceivers; ++r)
            std::printf(" %9.9s", r == kDefaultSquelch ? (m == 0 ? "rec:def" : "mm:def") : receiverName(r));
    std::printf("\n");
    for (std::size_t i = 0; i < kSnrs; ++i) {
        std::printf("%8.0f", snrs[i]);
        for (std::size_t m = 0; m < 2; ++m)
            for (std::size_t r = 0; r < kReceivers; ++r) {
                if (!runs(r) || !others[m].ok) {
                    std::printf(" %9s", "-");
                    continue;
                }
                int words = 0, overs = 0;
                for (std::size_t s = 0; s < kSeeds; ++s) {
                    const Result& x = lost[((m * kSnrs + i) * kSeeds + s) * kReceivers + r];
                    words += x.word;
                    overs += x.over;
                }
                std::printf(" %6d/%-2d", words, overs);
            }
        std::printf("\n");
    }
}

// A steady space tone of 4, 8 and 20 bits, then 6.4 bits of mark and a letters shift, before the
// text (as the recording begins): out of digital silence with the squelch off, how often exactly
// the text is printed; out of noise at +10 dB as the program starts, what is printed from
// the tone's start to the text's first character. And what is printed before the recording's
// own text.
void preamble(int threads)
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
        exact[job] = rttybench::receive(k.audio, kMark, switchesOf(kOff)) == kFox;
        pskbench::addNoise(k.audio, kKeyedPower, 10, unsigned(2000 + job));
        std::vector<std::size_t> when;
        const std::string got = rttybench::receive(k.audio, kMark, kStart, nullptr, &when);
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
    const OtherSignal rec = recording();
    if (rec.ok) {
        const std::string got = withoutBlanks(rttybench::receive(rec.audio, 1415, switchesOf(kOff) | rtty::kSwReverse));
        const std::size_t at = got.find(rec.text.substr(0, 8));
        std::printf("The recording (space tone first): printed before its text: \"%s\"\n",
                    at == std::string::npos ? "(its text not found)" : got.substr(0, at).c_str());
    }
}

// Noise alone for 10 minutes, three noises, as the program starts and with the squelch off;
// and a signal out of noise at 0 and -6 dB (2 bits of mark, a letters shift, then text): in how
// many of 20 the squelch lets its first character through, and when it prints.
void squelch(int threads)
{
    constexpr std::size_t kNoises = 3, kSeeds = 20;
    std::vector<std::size_t> chars(2 * kNoises);
    parallel(chars.size(), threads, [&](std::size_t job) {
        std::vector<float> noise(std::size_t(600 * kRate), 0.0f);
        pskbench::addNoise(noise, 2000.0 * 2000.0 * 0.75, 0, unsigned(3000 + job / 2)); // 2000 rms
        chars[job] = rttybench::receive(noise, kMark, job % 2 == 0 ? kStart : kStartOff).size();
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
        const std::string got = rttybench::receive(k.audio, kMark, c == 0 ? kStart : kStartOff, nullptr, &when);
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
    std::printf("%8s %30s %30s\n", "SNR dB", "default", "sq off");
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

} // namespace

void start(int threads)
{
    pathFade(threads, true);
    pathFade(threads, false);
    firstWord(threads);
    afterNoise(threads);
    preamble(threads);
    squelch(threads);
}

// The squelch line on the level bar, as the program sets it: the level shown while a signal is
// on (the program's 0..100; median and tenth percentile over the signal), and the share of its
// characters printed with the line at each tenth of the bar (0: the bottom, everything printed;
// 100: the top), for signals from -9 to +20 dB out of noise (120 characters, 4 noises each); and
// the level noise alone shows.
void squelchLine(int threads)
{
    const double snrs[] = {-99, -9, -6, -3, 0, 3, 6, 9, 12, 20}; // -99: noise alone
    constexpr std::size_t kSnrs = 10, kSeeds = 4, kLines = 11;
    struct Run {
        std::size_t sent = 0, errors = 0;
        std::vector<int> levels;
    };
    std::vector<Run> runs(kSnrs * kSeeds * kLines);
    parallel(runs.size(), threads, [&](std::size_t job) {
        const std::size_t i = job / (kSeeds * kLines), seed = job / kLines % kSeeds, line = job % kLines;
        const std::string text = rttybench::upper(pskbench::text(120, unsigned(1200 + seed)));
        rttybench::Lead lead;
        lead.silence = std::size_t(3 * kRate);
        rttybench::Keyed k = rttybench::keyed(text, lead);
        if (snrs[i] < -90)
            std::fill(k.audio.begin(), k.audio.end(), 0.0f);
        pskbench::addNoise(k.audio, kKeyedPower, snrs[i] < -90 ? 0 : snrs[i], unsigned(6000 + seed));
        QTemporaryDir dir;
        std::string got;
        Run& run = runs[job];
        bool on = false;
        rtty::RttyEngine rx(nullptr, dir.filePath(QStringLiteral("UserPara.INI")), [&](int code, std::int32_t v) {
            if (code == rtty::kNoteChar)
                got += static_cast<char>(v & 0xFF);
            else if (code == rtty::kNoteLevel && on)
                run.levels.push_back(std::min(100, int(std::lround((v & 0xFFFF) / 10.24))));
        });
        rx.command(9, static_cast<std::int32_t>(kMark));
        rx.command(10, static_cast<std::int32_t>(kMark + 170));
        rx.command(11, kStart);
        // The value the program sends for a line at that tenth of the bar's height.
        rx.command(15, static_cast<std::int32_t>(std::lround(double(line) * 10 * 10.25)));
        std::vector<float> out(rtty::RttyEngine::kBlock);
        const std::size_t first = k.charAt.front(), last = k.charAt.back();
        for (std::size_t at = 0; at + rtty::RttyEngine::kBlock <= k.audio.size(); at += rtty::RttyEngine::kBlock) {
            on = at >= first && at < last;
            rx.processBlock(k.audio.data() + at, out.data(), rtty::RttyEngine::kBlock);
        }
        run.sent = text.size();
        run.errors = snrs[i] < -90 ? got.size() : pskbench::errors(text, got);
    });
    std::printf("The squelch line on the level bar: the level shown (median / tenth percentile) and the share of\n"
                "the characters printed with the line at each tenth of the bar (noise alone: characters printed)\n");
    std::printf("%8s %9s", "SNR dB", "level");
    for (std::size_t l = 0; l < kLines; ++l)
        std::printf(" %5zu", l * 10);
    std::printf("\n");
    for (std::size_t i = 0; i < kSnrs; ++i) {
        std::vector<int> levels;
        for (std::size_t s = 0; s < kSeeds; ++s) {
            const Run& r = runs[(i * kSeeds + s) * kLines];
            levels.insert(levels.end(), r.levels.begin(), r.levels.end());
        }
        std::sort(levels.begin(), levels.end());
        if (snrs[i] < -90)
            std::printf("%8s", "noise");
        else
            std::printf("%8.0f", snrs[i]);
        std::printf(" %4d/%-4d", levels.empty() ? 0 : levels[levels.size() / 2], levels.empty() ? 0 : levels[levels.size() / 10]);
        for (std::size_t l = 0; l < kLines; ++l) {
            std::size_t sent = 0, errors = 0;
            for (std::size_t s = 0; s < kSeeds; ++s) {
                const Run& r = runs[(i * kSeeds + s) * kLines + l];
                sent += r.sent;
                errors += r.errors;
            }
            if (snrs[i] < -90)
                std::printf(" %5zu", errors);
            else
                std::printf(" %4.0f%%", 100.0 * double(sent - std::min(sent, errors)) / double(sent));
        }
        std::printf("\n");
    }
}

} // namespace rttycer

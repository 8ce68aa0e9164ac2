// bench_psk_cer qso: a QSO. Station A (the other program's BPSK31 recording, or our own
// transmitter's QPSK31, about a minute) on 1000 Hz, where the channel is tuned; then 4 s or 30 s
// of quiet, and station B (the reply, or A resuming: the same recording, or another text from our
// transmitter) D Hz away, as strong. Nobody clicks again. Each way:
//   - with or without an over of ours between A and B (through the receiver's transmit switch:
//     the channels rest while the spectrum shows our signal);
//   - with no neighbour, or one 40-60 Hz from A (either side, as strong, calling: 3 s of idle,
//     100 characters, 2 s of idle) starting during the quiet or a few seconds into B;
//   - AFC on (45 Hz range) and off; the squelch as the program starts (its line at 52, slow).
// CER of B's text, several noise seeds a point; "click": the same with the channel retuned to B
// as it begins, the figure a reply should be copied within 1 point of. Also what the channel
// prints during the quiet and the oscillator's farthest from where it was tuned.
//   bench_psk_cer qso [seeds, default 3] [threads, default 3] [modes: b, q or bq]
// QSO_TRACE=mode,dB,quiet,neighbour,over,afc,D,seed (e.g. 0,-8,4,1,0,1,10,0) runs that one file
// alone and prints its course: the oscillator, level, hold and search every half second, the
// text printed and its errors (and the click's).
#include <atomic>
#include <cstdlib>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engines/psk/dsp/dsp.h"
#include "engines/sound/wavfile.h"
#include "psk_bench.h"

namespace {

constexpr int kAfcRange = 45;
constexpr int kBlock = 1024;
constexpr int kSquelch = 19;       // the squelch line at 52 on the level bar, as the program starts
constexpr int kSquelchSpeed = 1;   // slow
constexpr double kOverSeconds = 10; // our over, when there is one, 1 s after A stops
const double kOffsets[] = {0, 4, -4, 7, -7, 10, -10, 15, -15, 20, -20, 30, -30, 40, -40};
const double kSnrs[] = {-13, -8, 10};
const double kQuiet[] = {4, 30};
const char* const kNeighbourNames[] = {"none", "quiet", "during B"};

struct Source {
    std::vector<float> sound;
    std::string text;
};

// The sound turned up by hz (through its analytic signal).
std::vector<float> shifted(const std::vector<float>& s, double hz)
{
    std::size_t n = 1;
    while (n < s.size())
        n *= 2;
    std::vector<psk::cplx> x(n);
    for (std::size_t i = 0; i < s.size(); ++i)
        x[i] = s[i];
    psk::fft(x);
    for (std::size_t k = 1; k < n / 2; ++k)
        x[k] *= 2.0;
    for (std::size_t k = n / 2 + 1; k < n; ++k)
        x[k] = 0;
    for (auto& v : x) // the inverse through the forward transform
        v = std::conj(v);
    psk::fft(x);
    std::vector<float> out(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        out[i] = float((std::conj(x[i]) / double(n) * std::polar(1.0, 2 * psk::kPi * hz * double(i) / psk::kSampleRate)).real());
    return out;
}

std::string peerText()
{
    std::ifstream f(SONDREL_TEST_DATA "/peer/text.txt", std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    std::string t = s.str();
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r'))
        t.pop_back();
    return t;
}

// A's recording as it was sent: from its first sample to its last that is not silent.
std::vector<float> peerRecording()
{
    std::vector<std::int16_t> raw;
    if (sound::readWav(SONDREL_TEST_DATA "/peer/bpsk31-1000hz.wav", raw) != 0)
        return {};
    std::vector<float> s(raw.begin(), raw.end());
    while (!s.empty() && std::abs(s.back()) < 1.0f)
        s.pop_back();
    return s;
}

struct Case {
    int mode;
    double snr;
    double quiet;
    double offset;
    int neighbour; // 0 none, 1 starting in the quiet, 2 starting during B
    bool over;     // an over of ours between A and B
    bool afc;
    // Summed over the seeds.
    std::size_t errors = 0, clickErrors = 0, sent = 0, files = 0, copied = 0, aErrors = 0, aSent = 0;
    std::size_t quietPrinted = 0; // characters printed in the quiet
    bool nearest = true;          // no neighbour as near to A as B (in every file)
    double farthest = 0;          // the oscillator from where it was tuned
};

struct Sources {
    Source a[2];                             // per mode
    std::map<std::pair<int, int>, Source> b; // per mode and offset
};

void run(Case& c, const Sources& src, unsigned seeds)
{
    const Source& a = src.a[c.mode];
    const Source& b = src.b.at({c.mode, int(c.offset)});
    const double power = pskbench::signalPower(a.sound);
    for (unsigned s = 0; s < seeds; ++s) {
        const unsigned seed = 1 + s * 7919u + unsigned(c.mode) * 31u + unsigned(c.snr + 20) * 131u +
                              unsigned(c.quiet) * 17u + unsigned(c.offset + 50) * 1009u + unsigned(c.neighbour) * 3u + (c.over ? 5u : 0u);
        const char* trace = std::getenv("QSO_TRACE");
        char want[128];
        std::snprintf(want, sizeof want, "%d,%g,%g,%d,%d,%d,%g,%u", c.mode, c.snr, c.quiet, c.neighbour, int(c.over), int(c.afc), c.offset, s);
        const bool tracing = trace && std::string(trace) == want;
        if (trace && !tracing)
            continue;
        std::mt19937 rng(seed);
        double nbHz = 0, nbAt = 0;
        const std::size_t lead = std::size_t(8000 * std::uniform_real_distribution<double>(0.5, 1.5)(rng));
        // What the channel hears: A, the quiet (with our over in it, 1 s after A), B.
        std::vector<float> sound(lead, 0.0f);
        sound.insert(sound.end(), a.sound.begin(), a.sound.end());
        const std::size_t aEnd = sound.size();
        const std::size_t overAt = (aEnd + 8000 + kBlock - 1) / kBlock * kBlock;
        const std::size_t bStart = (aEnd + std::size_t(8000 * (c.over ? c.quiet + 1 : c.quiet)) + kBlock - 1) / kBlock * kBlock;
        sound.resize(bStart, 0.0f);
        sound.insert(sound.end(), b.sound.begin(), b.sound.end());
        sound.resize(sound.size() + 8000, 0.0f);
        if (c.neighbour) {
            const double side = c.offset > 0 ? -1.0 : c.offset < 0 ? 1.0 : (rng() & 1u) ? 1.0 : -1.0;
            const double away = (rng() & 2u ? side : -side) * std::uniform_real_distribution<double>(40, 60)(rng);

            const double quietStart = double(c.over ? overAt : aEnd) / 8000;
            const double start = c.neighbour == 1 ? quietStart + std::uniform_real_distribution<double>(0.3, c.quiet - 1.0)(rng)
                                                  : double(bStart) / 8000 + std::uniform_real_distribution<double>(3, 10)(rng);
            auto nb = pskbench::transmit(pskbench::text(100, seed + 3), c.mode, 1000 + away, start, 3, 2);
            const double gain = std::sqrt(power / pskbench::signalPower(nb.sound));
            for (std::size_t i = 0; i < nb.sound.size() && i < sound.size(); ++i)
                sound[i] += float(gain * nb.sound[i]);
            c.nearest = c.nearest && std::abs(away) > std::abs(c.offset) + 2;
            nbHz = 1000 + away;
            nbAt = start;
        }
        pskbench::addNoise(sound, power, c.snr, seed + 1);
        std::vector<float> over;
        if (c.over) {
            auto ours = pskbench::transmit(pskbench::text(60, seed + 5), c.mode, 1000, 0, 0, 0);
            over.assign(ours.sound.begin(), ours.sound.end());
            over.resize(std::size_t(kOverSeconds * 8000), 0.0f);
        }

        psk::Receiver rx;
        rx.setChannelCount(1);
        psk::RxChannel& ch = rx.channel(0);
        ch.setMode(c.mode);
        ch.setAfcLimit(c.afc ? 100 : 0);
        ch.setSquelch(kSquelch, kSquelchSpeed);
        ch.setFrequency(1000, c.afc ? kAfcRange : 0);
        std::array<psk::RxOutput, psk::Receiver::kChannels> out;
        std::string aGot, quietGot, bGot, clickGot;
        psk::Receiver click;
        auto feed = [&](psk::Receiver& r, std::size_t pos, std::string& got) {
            for (auto& o : out)
                o = {};
            r.process(sound.data() + pos, int(std::min<std::size_t>(kBlock, sound.size() - pos)), out);
            for (int code : out[0].chars)
                got += char(code);
        };
        if (tracing)
            std::printf("neighbour %.1f Hz from %.1f s\n", nbHz, nbAt);
        if (tracing)
            std::printf("aEnd %.1f overAt %.1f bStart %.1f\n", aEnd / 8000.0, overAt / 8000.0, bStart / 8000.0);
        for (std::size_t pos = 0; pos < sound.size(); pos += kBlock) {
            if (tracing && pos % 4096 == 0 && pos + 30 * 8000 > aEnd)
                std::printf("%6.1f s %7.1f Hz lvl %3d hold %d search %d | %s\n", pos / 8000.0, ch.frequency(), ch.level(), int(ch.holding()), int(ch.searching()),
                            (pos < aEnd + 8000 ? aGot : pos < bStart ? quietGot : bGot).substr(std::max<std::ptrdiff_t>(0, std::ptrdiff_t((pos < aEnd + 8000 ? aGot : pos < bStart ? quietGot : bGot).size()) - 30)).c_str());
            if (c.over && pos == overAt)
                for (std::size_t o = 0; o + kBlock <= over.size(); o += kBlock)
                    rx.showTransmit(over.data() + o, kBlock);
            if (pos == bStart && c.afc) {
                click = rx;
                click.channel(0).setFrequency(1000 + c.offset, kAfcRange);
            }
            feed(rx, pos, pos < aEnd + 8000 ? aGot : pos < bStart ? quietGot : bGot);
            if (pos >= bStart && c.afc) {
                feed(click, pos, clickGot);
                if (tracing && pos % 4096 == 0)
                    std::printf("        click %7.1f Hz lvl %3d | %s\n", click.channel(0).frequency(), click.channel(0).level(), clickGot.substr(std::max<std::ptrdiff_t>(0, std::ptrdiff_t(clickGot.size()) - 30)).c_str());
            }
            c.farthest = std::max(c.farthest, std::abs(ch.frequency() - 1000));
        }
        if (tracing)
            std::printf("B: %s\nclick: %s\n", bGot.c_str(), clickGot.c_str());
        const std::size_t e = pskbench::errors(b.text, bGot);
        if (tracing)
            std::printf("errors of %zu: B %zu, click %zu\n", b.text.size(), e, c.afc ? pskbench::errors(b.text, clickGot) : 0);
        c.errors += e;
        c.sent += b.text.size();
        c.aErrors += pskbench::errors(a.text, aGot);
        c.aSent += a.text.size();
        c.quietPrinted += quietGot.size();
        ++c.files;
        if (c.afc) {
            const std::size_t ce = pskbench::errors(b.text, clickGot);
            c.clickErrors += ce;
            c.copied += double(e) <= double(ce) + 0.01 * double(b.text.size());
        }
    }
}

double percent(std::size_t e, std::size_t n) { return n ? 100.0 * double(e) / double(n) : 0.0; }

} // namespace

int qso(unsigned seeds, unsigned threads, const std::string& modes)
{
    Sources src;
    const std::string text = peerText();
    src.a[0] = {peerRecording(), text};
    if (src.a[0].sound.empty()) {
        std::fprintf(stderr, "bench_psk_cer qso: cannot read the recording in %s/peer\n", SONDREL_TEST_DATA);
        return 1;
    }
    src.a[1] = {pskbench::transmit(text, 1, 1000, 0, 0, 0).sound, text};
    const std::string reply = pskbench::text(text.size(), 77);
    for (double d : kOffsets) {
        src.b[{0, int(d)}] = {shifted(src.a[0].sound, d), text};
        src.b[{1, int(d)}] = {pskbench::transmit(reply, 1, 1000 + d, 0, 0, 0).sound, reply};
    }
    std::vector<Case> cases;
    for (int mode : {0, 1}) {
        if (modes.find(mode ? 'q' : 'b') == std::string::npos)
            continue;
        for (double snr : kSnrs)
            for (double quiet : kQuiet)
                for (int nb : {0, 1, 2})
                    for (bool over : {false, true})
                        for (bool afc : {true, false})
                            for (double d : kOffsets)
                                cases.push_back({mode, snr, quiet, d, nb, over, afc});
    }
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (unsigned w = 0; w < std::max(1u, threads); ++w)
        workers.emplace_back([&] {
            for (std::size_t i; (i = next++) < cases.size();)
                run(cases[i], src, seeds);
        });
    for (auto& w : workers)
        w.join();

    std::printf("A QSO: A on 1000 Hz where the channel is tuned, quiet, then B D Hz away (%u noise seeds a point,\n", seeds);
    std::printf("squelch as the program starts). CER of B's text; AFC on (%d Hz range) / click (the channel retuned\n", kAfcRange);
    std::printf("to B as it begins) / AFC off. A neighbour 40-60 Hz from A calls in the quiet or during B; \"over\": an\n");
    std::printf("over of ours 1 s after A. \"*\": a neighbour as near to A as B in some file.\n");
    std::printf("%-6s %4s %5s %-8s %4s %-5s", "mode", "dB", "quiet", "nb", "over", "way");
    for (double d : kOffsets)
        std::printf(" %+6.0f", d);
    std::printf("\n");
    int worse = 0, applicable = 0;
    std::size_t quietPrinted[2] = {}, quietFiles[2] = {};
    double farthest = 0;
    std::size_t copied = 0, files = 0;
    for (std::size_t i = 0; i < cases.size(); i += 2 * std::size(kOffsets)) {
        for (int way = 0; way < 3; ++way) {
            const Case& first = cases[i + (way == 2 ? std::size(kOffsets) : 0)];
            std::printf("%-6s %+4.0f %4.0fs %-8s %-4s %-5s", first.mode ? "QPSK31" : "BPSK31", first.snr, first.quiet,
                        kNeighbourNames[first.neighbour], first.over ? "yes" : "no", way == 0 ? "AFC" : way == 1 ? "click" : "off");
            for (std::size_t k = 0; k < std::size(kOffsets); ++k) {
                const Case& c = cases[i + k + (way == 2 ? std::size(kOffsets) : 0)];
                const double cer = percent(way == 1 ? c.clickErrors : c.errors, c.sent);
                std::printf(" %5.1f%s", cer, way == 0 && !c.nearest ? "*" : " ");
            }
            std::printf("\n");
        }
        for (std::size_t k = 0; k < 2 * std::size(kOffsets); ++k) {
            const Case& c = cases[i + k];
            farthest = std::max(farthest, c.afc ? c.farthest : 0.0);
            quietPrinted[c.afc] += c.quietPrinted;
            quietFiles[c.afc] += c.files;
            if (!c.afc || !c.nearest)
                continue;
            ++applicable;
            worse += percent(c.errors, c.sent) > percent(c.clickErrors, c.sent) + 1.0;
            copied += c.copied;
            files += c.files;
        }
    }
    std::printf("Points with no neighbour as near where AFC on is over 1 point worse than a click: %d of %d\n", worse, applicable);
    std::printf("Files there copied within 1 point of a click: %zu of %zu\n", copied, files);
    std::printf("Characters printed in the quiet, per file: AFC on %.2f, off %.2f\n", double(quietPrinted[1]) / double(std::max<std::size_t>(1, quietFiles[1])),
                double(quietPrinted[0]) / double(std::max<std::size_t>(1, quietFiles[0])));
    std::size_t aErrors = 0, aSent = 0;
    for (const auto& c : cases) {
        aErrors += c.aErrors;
        aSent += c.aSent;
    }
    std::printf("CER of A, all files: %.2f%%\n", percent(aErrors, aSent));
    std::printf("Oscillator farthest from where it was tuned: %.1f Hz (%s the AFC range)\n", farthest, farthest > kAfcRange + 1e-9 ? "beyond" : "within");
    return 0;
}

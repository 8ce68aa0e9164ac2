// bench_psk_cer crowded: a crowded band. A weak station is copied on a channel tuned to it
// while a neighbour 30-70 Hz away, 0 to 20 dB stronger, calls: 15 s of idle, about 25 s of
// text, 15 s of idle, starting some 30 s after the weak station. The weak station's CER while
// the neighbour is on, with AFC off (tuned exactly) and on (45 Hz range, tuned within 3 Hz);
// for neighbours closer than 35 Hz, which take the weak station's copy away anyway, also the
// CER of its text after the neighbour stops. For every neighbour, the CER of its text from 5 s
// after the neighbour stops, and the files where over a tenth of that is wrong (the receiver has
// not come back to the weak station). Both stations come from our own transmitter.
// CROWDED_TRACE=mode,dB,neighbour Hz,neighbour dB,seed[,afc] (e.g. 1,-13,30,20,1) runs that one file
// with AFC off (or, given afc 1, on) alone and prints the text copied and its errors while the
// neighbour is on and from 5 s after it, and the channel's course around the neighbour's end.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engines/psk/receive/rxchannel.h"
#include "psk_bench.h"

namespace {

constexpr int kAfcRange = 45;
constexpr int kBlock = 1024;

struct Point {
    int mode;
    double snr;   // of the weak station, in 3000 Hz
    double away;  // the neighbour from the weak station, Hz
    double above; // the neighbour over the weak station, dB
    // Per way (0 AFC off, 1 on): errors and characters while the neighbour is on, and after it.
    std::size_t errors[2] = {}, sent[2] = {}, errorsAfter[2] = {}, sentAfter[2] = {};
    std::size_t errorsBack[2] = {}, sentBack[2] = {}, lost[2] = {}; // from 5 s after it stops
    double farthest = 0;  // AFC on: the oscillator's greatest distance from where it was tuned
    double awaySeconds = 0; // AFC on: seconds the oscillator spent over 10 Hz from the weak station
};

// Text in [from, to) of the weak station's characters sent wholly between the two samples.
std::string sentBetween(const std::string& text, const pskbench::Station& st, std::size_t from, std::size_t to, std::size_t start)
{
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < st.ends.size(); ++i) {
        const std::size_t begin = i ? st.ends[i - 1] : start;
        if (begin >= from && st.ends[i] <= to)
            out += text[i];
    }
    return out;
}

void measure(Point& p, unsigned seeds, unsigned salt)
{
    for (unsigned s = 0; s < seeds; ++s) {
        const unsigned seed = salt * 7919u + s * 104729u;
        std::mt19937 rng(seed);
        const double weakHz = 1000 + std::uniform_real_distribution<double>(-3.0, 3.0)(rng);
        const double lead = 0.5 + std::uniform_real_distribution<double>(0.0, 1.0)(rng);
        const double nStart = 30 + std::uniform_real_distribution<double>(0.0, 2.0)(rng);
        const std::string text = pskbench::text(560, seed), call = pskbench::text(115, seed + 1);
        pskbench::Station weak = pskbench::transmit(text, p.mode, weakHz, lead, 0, 0);
        pskbench::Station nb = pskbench::transmit(call, p.mode, weakHz + p.away, nStart, 15, 15);
        const double power = pskbench::signalPower(weak.sound);
        const double gain = std::pow(10.0, p.above / 20);
        std::vector<float> sound = weak.sound;
        sound.resize(std::max(sound.size(), nb.sound.size()) + 8000, 0.0f);
        for (std::size_t i = 0; i < nb.sound.size(); ++i)
            sound[i] += float(gain * nb.sound[i]);
        pskbench::addNoise(sound, power, p.snr, seed + 2);
        std::size_t nbFirst = std::size_t(nStart * 8000), nbLast = nb.sound.size();
        while (nbLast > nbFirst && nb.sound[nbLast - 1] == 0.0f)
            --nbLast;
        const std::size_t textStart = std::size_t(lead * 8000);
        const std::string during = sentBetween(text, weak, nbFirst, nbLast, textStart);
        const std::string after = sentBetween(text, weak, nbLast, weak.sound.size(), textStart);
        const std::string back = sentBetween(text, weak, nbLast + 5 * 8000, weak.sound.size(), textStart);
        const char* trace = std::getenv("CROWDED_TRACE");
        char want[96];
        std::snprintf(want, sizeof want, "%d,%g,%g,%g,%u", p.mode, p.snr, p.away, p.above, s);
        // The trace names the file by its first five fields; a sixth, "1", runs it with AFC on.
        std::string traced = trace ? trace : "";
        int tracedAfc = 0;
        if (std::count(traced.begin(), traced.end(), ',') == 5) {
            tracedAfc = traced.back() == '1';
            traced.erase(traced.rfind(','));
        }
        if (trace && traced != want)
            continue;
        if (trace)
            std::printf("weak station %.2f Hz, neighbour %.1f to %.1f s\n", weakHz, nStart, nbLast / 8000.0);
        for (int afc : {0, 1}) {
            if (trace && afc != tracedAfc)
                continue;
            psk::RxChannel ch;
            ch.setMode(p.mode);
            ch.setAfcLimit(afc ? 100 : 0);
            ch.setSquelch(0, 0);
            const double tuned = afc ? 1000 : weakHz;
            ch.setFrequency(tuned, afc ? kAfcRange : 0);
            std::string got;
            psk::RxOutput out;
            for (std::size_t pos = 0; pos < sound.size(); pos += kBlock) {
                out = {};
                ch.process(sound.data() + pos, int(std::min<std::size_t>(kBlock, sound.size() - pos)), out);
                for (int c : out.chars)
                    got += char(c);
                if (trace && pos % 4096 == 0 && pos + 10 * 8000 > nbLast && pos < nbLast + 15 * 8000)
                    std::printf("%6.1f s %7.2f Hz lvl %3d hold %d search %d | %s\n", pos / 8000.0, ch.frequency(), ch.level(), int(ch.holding()),
                                int(ch.searching()), got.substr(got.size() > 30 ? got.size() - 30 : 0).c_str());
                if (afc) {
                    p.farthest = std::max(p.farthest, std::abs(ch.frequency() - tuned));
                    if (pos > std::size_t((lead + 3) * 8000) && pos < weak.sound.size() && std::abs(ch.frequency() - weakHz) > 10)
                        p.awaySeconds += double(kBlock) / 8000;
                }
            }
            // Each stretch is matched against the whole copy on its own.
            p.errors[afc] += pskbench::errors(during, got);
            p.sent[afc] += during.size();
            p.errorsAfter[afc] += pskbench::errors(after, got);
            p.sentAfter[afc] += after.size();
            const std::size_t e = pskbench::errors(back, got);
            p.errorsBack[afc] += e;
            p.sentBack[afc] += back.size();
            p.lost[afc] += 10 * e > back.size();
            if (trace)
                std::printf("errors while it is on: %zu of %zu; from 5 s after: %zu of %zu\n%s\n", pskbench::errors(during, got),
                            during.size(), e, back.size(), got.c_str());
        }
    }
}

double percent(std::size_t e, std::size_t n) { return n ? 100.0 * double(e) / double(n) : 0.0; }

} // namespace

int crowded(unsigned seeds, unsigned threads)
{
    std::vector<Point> points;
    for (int mode : {0, 1})
        for (double snr : {-13.0, -8.0, 0.0})
            for (double away : {-70.0, -50.0, -45.0, -40.0, -30.0, 30.0, 35.0, 40.0, 45.0, 50.0, 70.0})
                for (double above : {0.0, 10.0, 20.0})
                    points.push_back({mode, snr, away, above});
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (unsigned w = 0; w < std::max(1u, threads); ++w)
        workers.emplace_back([&] {
            for (std::size_t i; (i = next++) < points.size();)
                measure(points[i], seeds, unsigned(i % (points.size() / 2)) + 1);
        });
    for (auto& w : workers)
        w.join();
    std::printf("A weak station and a neighbour: CER of the weak station's text while the neighbour is on (and,\n");
    std::printf("where it is closer than 35 Hz, after it stops), %u transmissions a point; AFC off (tuned\n", seeds);
    std::printf("exactly) and on (%d Hz range, tuned within 3 Hz). Farthest: the oscillator from where it was tuned;\n", kAfcRange);
    std::printf("away: seconds it spent over 10 Hz from the weak station. SNR of the weak station in 3000 Hz.\n");
    std::printf("%-7s %6s %6s %6s %9s %9s %9s %9s %8s %7s %9s %9s\n", "mode", "weak", "nb Hz", "nb dB", "off", "AFC", "off after",
                "AFC after", "farthest", "away s", "off +5 s", "AFC +5 s");
    int worse = 0, worseAfter = 0;
    std::size_t lost[2][2] = {}, files[2] = {};
    double beyond = 0;
    for (const auto& p : points) {
        const double off = percent(p.errors[0], p.sent[0]), on = percent(p.errors[1], p.sent[1]);
        std::printf("%-7s %6.0f %+6.0f %+6.0f %8.2f%% %8.2f%%", p.mode ? "QPSK31" : "BPSK31", p.snr, p.away, p.above, off, on);
        if (std::abs(p.away) < 35) {
            const double offAfter = percent(p.errorsAfter[0], p.sentAfter[0]), onAfter = percent(p.errorsAfter[1], p.sentAfter[1]);
            std::printf(" %8.2f%% %8.2f%%", offAfter, onAfter);
            worseAfter += onAfter > offAfter + 0.5;
        } else {
            std::printf(" %9s %9s", "", "");
            worse += on > off + 0.5;
        }
        std::printf(" %7.1f %7.1f %8.2f%% %8.2f%%\n", p.farthest, p.awaySeconds, percent(p.errorsBack[0], p.sentBack[0]),
                    percent(p.errorsBack[1], p.sentBack[1]));
        for (int afc : {0, 1}) {
            lost[p.mode][afc] += p.lost[afc];
            files[p.mode] += afc ? 0 : seeds;
        }
        beyond = std::max(beyond, p.farthest - kAfcRange);
    }
    std::printf("Points 35 Hz or more away where AFC on is over 0.5 points worse than off: %d\n", worse);
    std::printf("Points closer where AFC on is over 0.5 points worse after the neighbour stops: %d\n", worseAfter);
    std::printf("Oscillator beyond the AFC range: %s\n", beyond > 1e-9 ? "yes" : "never");
    for (int mode : {0, 1})
        std::printf("%s: files with over 10%% of the text from 5 s after the neighbour stops wrong: AFC off %zu, on %zu of %zu\n",
                    mode ? "QPSK31" : "BPSK31", lost[mode][0], lost[mode][1], files[mode]);
    return 0;
}

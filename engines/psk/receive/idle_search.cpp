#include "engines/psk/receive/rxchannel.h"

// Finding a signal by its idle: phase reversals put two tones 31.25 Hz apart with the carrier
// halfway between. Their power is measured straight from the spectrum of the last second, with
// nothing raised to a power first, so a signal starting with a second of idle is found well
// below the level at which its text can be copied.
#include <algorithm>
#include <cmath>

namespace psk {
namespace {

constexpr int kIdleFft = 1024;       // the one-second buffer, padded to half-bin steps
constexpr int kIdleNoiseBins = 40;   // bins either side that give the noise around a tone
constexpr int kIdleGuardBins = 3;    // and those next to it that do not
constexpr double kIdleDetect = 20.0; // the two tones over the noise around them, summed: noise
                                     // alone gets there about once an hour of searching
constexpr double kIdlePurity = 0.12; // share of the band's power in the two tones' bins (a pure
                                     // idle has a third there; text about a twentieth)
constexpr double kFineDetect = 40.0; // without AFC a clear idle only: one mixed with text is
                                     // measured off
constexpr double kFineHz = 0.5;      // closer than this the decoder's loops take it over
constexpr double kPipeline = 3.0;    // symbols between the newest sample and the decoder's
constexpr double kElsewhereHz = 3.0; // an idle this far from the oscillator is another signal's
constexpr double kBalance = 0.25;    // its weaker tone's share of the stronger at least (one strong
                                     // line, a carrier, with noise 31 Hz beside it is no idle)

constexpr double kFloorApart = 8.0;  // the noise around one tone over that around the other: a
                                     // signal's body under it
constexpr double kOwnFloor = 8.0;    // and each tone over its own floor at least, for its power to count

constexpr double kBridge = 0.5;     // tones beyond both of a pair this strong against its weaker: no idle
constexpr double kBesideHz = kBaud / 2 + 2; // within this of a signal's carrier its own spectrum lies
constexpr double kShareHz = 2.0;    // an idle this near a symbol rate from it shares a tone with its idle

} // namespace

bool RxChannel::idleSearch(double lowHz, double highHz, double& hz, double& phase, double& strength, double& weaker, bool balanced,
                           double besideHz) const
{
    const int n = int(searchBuf_.size());
    const double rate = double(kSampleRate) / kDecimation;
    const double binHz = rate / kIdleFft;
    const int tone = int(std::lround(kBaud / 2 / binHz)); // 15.625 Hz, bins
    std::vector<cplx> spec(kIdleFft, cplx(0, 0));
    for (int i = 0; i < n; ++i)
        spec[std::size_t(i)] = searchBuf_[std::size_t((searchPos_ + i) % n)] * searchIdleWin_[std::size_t(i)];
    fft(spec);
    std::vector<double> power(kIdleFft), sum(kIdleFft + 1, 0.0);
    for (int k = 0; k < kIdleFft; ++k) {
        power[std::size_t(k)] = std::norm(spec[std::size_t(k)]);
        sum[std::size_t(k) + 1] = sum[std::size_t(k)] + power[std::size_t(k)];
    }
    auto at = [&](int k) { return power[std::size_t((k % kIdleFft + kIdleFft) % kIdleFft)]; };
    // The mean power of the bins around k, leaving out those next to it (spread of a tone).
    auto noiseAt = [&](int k) {
        auto range = [&](int from, int to) { // bins from..to, to > from, wrapping
            double s = 0;
            for (int a = from; a < to;) {
                int idx = (a % kIdleFft + kIdleFft) % kIdleFft;
                int run = std::min(to - a, kIdleFft - idx);
                s += sum[std::size_t(idx + run)] - sum[std::size_t(idx)];
                a += run;
            }
            return s;
        };
        double s = range(k - kIdleNoiseBins, k - kIdleGuardBins) + range(k + kIdleGuardBins + 1, k + kIdleNoiseBins + 1);
        return s / (2 * (kIdleNoiseBins - kIdleGuardBins));
    };
    // The same from the median (a strong tone of another signal among the bins leaves it alone);
    // the median of noise's power is ln 2 of its mean.
    std::vector<double> around;
    auto medianNoiseAt = [&](int k) {
        around.clear();
        for (int d = kIdleGuardBins + 1; d <= kIdleNoiseBins; ++d) {
            around.push_back(at(k - d));
            around.push_back(at(k + d));
        }
        auto middle = around.begin() + std::ptrdiff_t(around.size() / 2);
        std::nth_element(around.begin(), middle, around.end());
        return *middle / std::log(2.0);
    };
    const double offsetLow = lowHz - nco_.frequency(), offsetHigh = highHz - nco_.frequency();
    const double beside = besideHz - nco_.frequency();
    int best = 0;
    double top = -1;
    for (int c = int(std::ceil(offsetLow / binHz)); c <= int(std::floor(offsetHigh / binHz)); ++c) {
        double nl = balanced ? medianNoiseAt(c - tone) : noiseAt(c - tone), nh = balanced ? medianNoiseAt(c + tone) : noiseAt(c + tone);
        if (nl <= 0 || nh <= 0)
            continue;
        double l = at(c - tone) / nl, h = at(c + tone) / nh;
        // (A tone in the body of a neighbour's text stands far less over the power around it than
        // one over noise alone: where the two floors lie that far apart and each tone stands clear
        // of its own, the tones' own powers say whether they balance.)
        double share = std::min(l, h) / std::max(l, h);
        if (balanced && share < kBalance && std::max(nl, nh) >= kFloorApart * std::min(nl, nh) && std::min(l, h) >= kOwnFloor)
            share = std::min(at(c - tone), at(c + tone)) / std::max(at(c - tone), at(c + tone));
        if (balanced && share < kBalance)
            continue;
        // Two idles two symbol rates apart (a reply and a neighbour) put a pair of tones halfway
        // between them, one of each, as clear as an idle's: there the tones a symbol rate beyond
        // both are as strong, the partners of each. (A true idle has nothing there but noise, or
        // one side of another signal.)
        const double ol = at(c - 3 * tone) / (balanced ? medianNoiseAt(c - 3 * tone) : noiseAt(c - 3 * tone));
        const double oh = at(c + 3 * tone) / (balanced ? medianNoiseAt(c + 3 * tone) : noiseAt(c + 3 * tone));
        if (std::min(ol, oh) >= kBridge * std::min(l, h))
            continue;
        // (A station a symbol rate from that carrier shares one tone with its idle, and has its
        // other one clear: whose the pair is, the image check decides.)
        if (besideHz > 0 && std::min(std::abs(c * binHz - kBaud / 2 - beside), std::abs(c * binHz + kBaud / 2 - beside)) < kBesideHz &&
            std::abs(std::abs(c * binHz - beside) - kBaud) >= kShareHz)
            continue;
        if (l + h > top) {
            top = l + h;
            best = c;
            weaker = share;
        }
    }
    if (top < 0)
        return false;
    strength = top;
    // A clear tone with noise where its partner should be is one tone of a signal beyond the
    // range, or a carrier: no idle. (Beside a station read, whose idle is clear when it comes,
    // one tone is taken for none however weak: it is the tone of a neighbour's idle. So it is
    // while the reply is listened for: a neighbour's idle just beyond the range puts one tone
    // inside it, and the reply would find the loops there, on its own lower tone.)
    if (weaker < kBalance && (strength >= kFineDetect || home_ || listening_))
        return false;
    double band = 0;
    for (int k = best - tone - 6; k <= best + tone + 6; ++k)
        band += at(k);
    const double purity = (at(best - tone) + at(best + tone)) / band;
    if (purity < kIdlePurity)
        return false;
    // Finer: the peak of a parabola through the log power of the three bins, for each tone.
    auto vertex = [&](int k) {
        double l = std::log(at(k - 1) + 1e-30), c = std::log(at(k) + 1e-30), r = std::log(at(k + 1) + 1e-30);
        double d2 = l - 2 * c + r;
        return d2 < 0 ? std::clamp(0.5 * (l - r) / d2, -0.5, 0.5) : 0.0;
    };
    const double offset = (best + (vertex(best - tone) + vertex(best + tone)) / 2) * binHz;
    hz = nco_.frequency() + offset;
    // The carrier's phase, now: halfway between the two tones' phases (up to half a turn, which
    // the decoders do not mind).
    auto toneAt = [&](double f) {
        const double w = 2 * kPi * f / rate;
        cplx acc(0, 0);
        for (int i = 0; i < n; ++i)
            acc += searchBuf_[std::size_t((searchPos_ + i) % n)] * searchIdleWin_[std::size_t(i)] *
                   std::polar(1.0, -w * (i - (n - 1)));
        return acc;
    };
    phase = std::arg(toneAt(offset - kBaud / 2) * toneAt(offset + kBaud / 2)) / 2;
    return strength >= kIdleDetect;
}

bool RxChannel::confirmedIdle(bool found, double hz)
{
    // An idle counts when the next block sees it again in the same place.
    const bool confirmed = found && idleCandidate_ > 0 && std::abs(hz - idleCandidate_) < 1.0;
    idleCandidate_ = found && !confirmed ? hz : 0.0;
    return confirmed;
}

void RxChannel::watchForIdle()
{
    // What the search found may have been noise, with the signal starting a moment later
    // somewhere else in the range: a QPSK channel can follow noise for ten seconds and more
    // before its quality reading lets it search again, and by then the signal's idle is over
    // (its text alone shows a drifting signal poorly). So while nothing is copied well, a clear
    // idle elsewhere in the range moves the loops to it (until a station has been copied: one
    // copied is never left for a neighbour's idle). Listening for a reply, only one nearer where
    // the operator tuned.
    double hz = 0, phase = 0, strength = 0, weaker = 0;
    const bool found = idleSearch(setHz_ - afcRange_, setHz_ + afcRange_, hz, phase, strength, weaker) &&
                       strength >= kFineDetect && weaker >= kBalance && std::abs(hz - nco_.frequency()) > kElsewhereHz &&
                       !(listening_ && std::abs(hz - setHz_) >= std::abs(nco_.frequency() - setHz_)) && !idleImage(hz, strength);
    if (confirmedIdle(found, hz)) {
        startOn(hz, phase);
        takeAsReply(hz);
    }
}

void RxChannel::fineSearch()
{
    // Without AFC the oscillator stays where the operator tuned, and the decoder's loops pull in
    // no more than a hertz or so of a weak signal. A signal's idle shows where it is: the
    // symbols are turned by the difference, within the few hertz the receiver may pull.
    double hz = 0, phase = 0, strength = 0, weaker = 0;
    const bool found = idleSearch(nco_.frequency() - kFreePullHz, nco_.frequency() + kFreePullHz, hz, phase, strength, weaker) &&
                       strength >= kFineDetect;
    if (!confirmedIdle(found, hz))
        return;
    const double w = 2 * kPi * (hz - nco_.frequency()) / kBaud;
    if (std::abs(w - omega_ - viterbi_.carrierFrequency()) < 2 * kPi * kFineHz / kBaud)
        return; // the decoder follows it already
    omega_ = w;
    garbledFor_ = 0;
    text_.reset(); // what the loops held before says nothing of this signal
    // The phase measured is the carrier's at the newest sample; the decoder's next symbol is
    // a few older, and it sees the symbols turned by freePhase_.
    restart(wrapPhase(phase - kPipeline * w - freePhase_));
}

} // namespace psk

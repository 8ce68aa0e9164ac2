#include "engines/psk/receive/rxchannel.h"

// Acquisition with AFC: finding a signal's carrier within the AFC range, telling it from the
// lines beside it, and keeping the loops on it.
#include <algorithm>
#include <cmath>

namespace psk {
namespace {

constexpr double kQpskFollowHz = 5.0;  // how far QPSK follows a signal from where it was found
constexpr double kSearchAverage = 0.3; // weight of each block's line spectrum while searching
constexpr double kSearchBandHz = 15.0; // width of each band searched
constexpr int kTextSearchBlocks = 16;  // blocks searched before QPSK text alone may decide
constexpr double kSlowAverage = 1.0 / 64; // weight of each block in the long average
constexpr int kSlowStart = 24;         // blocks in the long average before it may decide
constexpr double kSlowDetect4 = 4.4;   // strength of the fourth-order line in the long average
constexpr double kSlowDetect2 = 3.5;   // and of the second-order line (weaker in text) beside it
constexpr double kAgreeHz = 0.3;       // how close the two lines, and each block to the first
constexpr int kMoveConfirm = 4;        // confirmations of a QPSK line away from the one followed
constexpr int kSlowRun = 8;            // blocks running the lines must agree
constexpr double kDetect = 18.0;       // three lines this far above the average bin are a signal
constexpr double kSteadyDetect = 12.0; // listening, a BPSK line this strong in one place search after search
constexpr double kRead = 0.3;          // a quality reading over that of noise followed by the loops
constexpr double kTheirsHz = 2.0;      // a line this near the loops is the signal they are on
constexpr double kHomeHz = RxChannel::kFreePullHz + 1; // a signal farther than this from the station read is another
constexpr double kClearIdle = 40.0;    // an idle with both tones this clear (see idle_search.cpp)
constexpr int kRecentSamples = 320;    // the last 0.64 s of the search buffer
constexpr double kImage = 4.0;         // a carrier's line this much stronger than one a symbol rate away
constexpr double kImageTone = 2.5;     // an idle's weaker tone this much stronger than one's a symbol rate away
constexpr double kImageBalance = 0.25; // (of an idle whose tones are both clear)
constexpr double kBesideHz = kBaud / 2 + 2; // within this of a signal's carrier its own spectrum lies
constexpr double kShareHz = 2.0;       // an idle this near a symbol rate from a carrier shares a tone with it
constexpr double kBodyHz = kBaud / 4;  // within this of a signal's carrier, the body of its text
constexpr double kOwnIdleLine = 0.1;   // an idle's own line against the carrier beside, at least
constexpr double kIdleLineNoise = 2.0; // and against the noise between the lines around
constexpr double kEnvelopeShare = 0.2; // the lines of an idle's envelope against its own, each at least
constexpr double kCentreHz = 25.0;     // the band either side whose middle a QPSK carrier is
constexpr double kAsStrong = 2.0;      // lines within this of each other in power are as strong
constexpr double kSidebandClear = 20.0; // a carrier's line this much stronger than the loops' (on its sideband)
// Weight of a sample at t (0 oldest .. 1 newest) in the acquisition buffer: a smooth rise over
// most of it and a short fall at the end, so a signal that has only just begun already counts.
double searchWindow(double t)
{
    constexpr double kFall = 0.125;
    if (t < 1 - kFall)
        return std::pow(std::sin(kPi / 2 * t / (1 - kFall)), 2);
    return std::pow(std::cos(kPi / 2 * (t - (1 - kFall)) / kFall), 2);
}

} // namespace

void RxChannel::initSearch()
{
    // The search filter: the shape of the matched filter, one symbol long (twice as wide).
    const int taps = int(searchTaps_.size()), n = int(searchBuf_.size());
    for (int i = 0; i < taps; ++i)
        searchTaps_[std::size_t(i)] = 0.5 * (1 - std::cos(2 * kPi * (i + 0.5) / taps)) / (taps / 2.0);
    for (int i = taps - 1; i < n; ++i)
        searchWin_[std::size_t(i)] = searchWindow(double(i - taps + 1.5) / (n - taps + 1));
    for (int i = 0; i < n; ++i)
        searchIdleWin_[std::size_t(i)] = searchWindow((i + 0.5) / n);
}

bool RxChannel::lineSearch(int order, double& hz, double& strength, double& slowHz, double& slowStrength, double nearer, Line* place)
{
    // Raising the baseband to the modulation order takes the modulation off and leaves a line
    // at order times the frequency error, wherever the signal is in the data. The AFC range is
    // cut into bands that each pass the signal with both its idle tones but little more noise
    // (a band that saw one tone alone would take it for a carrier); each sample is normalised to
    // its own amplitude so that noise peaks do not swamp the line.
    const int n = int(searchBuf_.size());
    const double rate = double(kSampleRate) / kDecimation;
    const int taps = int(searchTaps_.size());
    const int bands = 2 * int(std::ceil(afcRange_ / kSearchBandHz)) + 1;
    const bool watch = nearer > 0;
    auto& spectra = watch ? watchPower_ : order == 2 ? searchPower2_ : searchPower4_;
    const int averaged = watch ? watchBlocks_ : searchBlocks_;
    spectra.resize(std::size_t(bands));
    const int side = int(std::lround(kBaud / (rate / n))); // envelope lines, bins away
    auto& slowSpectra = order == 2 ? slowPower2_ : slowPower4_;
    slowSpectra.resize(std::size_t(bands));
    struct Found {
        bool any = false;
        double hz = 0, strength = 0, lines = 0;
    } fast, slowFound, placed;
    // The strongest line within a band's part of the range (and within `within` of where the
    // operator tuned), if stronger than the best so far.
    auto peak = [&](const std::vector<double>& power, double centre, Found& found, double within = 0) {
        int best = -1;
        double top = 0;
        for (int k = 0; k < n; ++k) {
            int kk = k < n / 2 ? k : k - n;
            double f = kk * rate / n / order;
            if (std::abs(f) > kSearchBandHz / 2 + 0.5 || std::abs(centre + f - setHz_) > afcRange_)
                continue;
            if (watch && (std::abs(centre + f - setHz_) >= nearer || std::abs(centre + f - nco_.frequency()) < kBesideHz))
                continue;
            if (within > 0 && std::abs(centre + f - setHz_) > within)
                continue;
            if (power[std::size_t(k)] > top) {
                top = power[std::size_t(k)];
                best = k;
            }
        }
        if (best < 0)
            return;
        // The symbol-rate envelope adds weaker lines 31.25 Hz either side of the strongest;
        // they count towards its strength, against the noise of the bins around them.
        double noise = 0;
        int count = 0;
        for (int d = -3 * side / 2; d <= 3 * side / 2; ++d) {
            if (std::abs(d) <= 2 || std::abs(std::abs(d) - side) <= 2)
                continue;
            noise += power[std::size_t((best + d + n) % n)];
            ++count;
        }
        noise /= count;
        if (noise <= 0)
            return;
        // The band that holds the signal in its middle passes it best: the strongest line in
        // power decides between bands (a band that holds the signal near its edge has less
        // noise too, so the ratio would favour it).
        double lines = top + power[std::size_t((best + side) % n)] + power[std::size_t((best - side + n) % n)];
        if (found.any && lines <= found.lines)
            return;
        found.any = true;
        found.lines = lines;
        found.strength = lines / noise;
        // Finer: the peak of a parabola through the log power of the three bins.
        auto at = [&](int k) { return std::log(power[std::size_t((k + n) % n)] + 1e-30); };
        double l = at(best - 1), c = at(best), r = at(best + 1);
        double d2 = l - 2 * c + r;
        double frac = d2 < 0 ? std::clamp(0.5 * (l - r) / d2, -0.5, 0.5) : 0.0;
        double offset = ((best < n / 2 ? best : best - n) + frac) * rate / n; // of the line, Hz
        found.hz = centre + offset / order;
    };
    // The bands' filtered signals are made with the second order and kept for the fourth.
    const bool fresh = order == 2 || watch || bandSignals_.size() != std::size_t(bands * n);
    if (fresh)
        bandSignals_.assign(std::size_t(bands * n), cplx(0, 0));
    std::vector<cplx> x(static_cast<std::size_t>(n)), w(static_cast<std::size_t>(n));
    for (int b = 0; b < bands; ++b) {
        const double centre = setHz_ + (b - bands / 2) * kSearchBandHz;
        cplx* band = &bandSignals_[std::size_t(b * n)];
        if (fresh) {
            const double rel = 2 * kPi * (centre - nco_.frequency()) / rate;
            cplx turn = std::polar(1.0, rel * (n - 1));
            const cplx step = std::polar(1.0, -rel);
            for (int i = 0; i < n; ++i, turn *= step)
                x[std::size_t(i)] = searchBuf_[std::size_t((searchPos_ + i) % n)] * turn;
            for (int i = taps - 1; i < n; ++i) {
                cplx z(0, 0);
                for (int k = 0; k < taps; ++k)
                    z += searchTaps_[std::size_t(k)] * x[std::size_t(i - k)];
                band[i] = z;
            }
        }
        std::fill(w.begin(), w.end(), cplx(0, 0));
        for (int i = taps - 1; i < n; ++i) {
            const cplx z = band[i];
            double m = std::abs(z);
            if (m <= 0)
                continue;
            cplx u = z / m;
            cplx p = u;
            for (int k = 1; k < order; ++k)
                p *= u;
            w[std::size_t(i)] = p * m * searchWin_[std::size_t(i)];
        }
        std::vector<cplx> spec = w;
        fft(spec);
        // Averaged over the blocks searched since tuning, so noise bins vary less; and over many
        // more, for a weak signal whose line stands out only in a long average.
        auto& power = spectra[std::size_t(b)];
        auto& slow = slowSpectra[std::size_t(b)];
        if (power.size() != std::size_t(n))
            power.assign(std::size_t(n), 0.0);
        if (slow.size() != std::size_t(n))
            slow.assign(std::size_t(n), 0.0);
        const double slowWeight = std::max(1.0 / (slowBlocks_ + 1), kSlowAverage);
        for (int k = 0; k < n; ++k) {
            const double e = std::norm(spec[std::size_t(k)]);
            double& p = power[std::size_t(k)];
            p = averaged == 0 ? e : p + kSearchAverage * (e - p);
            if (watch)
                continue;
            double& q = slow[std::size_t(k)];
            q = slowBlocks_ == 0 ? e : q + slowWeight * (e - q);
        }
        peak(power, centre, fast);
        if (place)
            peak(power, centre, placed, kPlaceHz + 1);
        if (!watch)
            peak(slow, centre, slowFound);
    }
    if (place)
        *place = {placed.hz, placed.strength};
    hz = fast.hz;
    strength = fast.strength;
    slowHz = slowFound.hz;
    slowStrength = slowFound.strength;
    return fast.any;
}

std::array<cplx, 3> RxChannel::lines(int order, double hz, bool filtered, double& noise) const
{
    // The line of the carrier after raising to the order, and those of the idle tones and the
    // envelope 31.25 Hz either side, over the buffer mixed down to hz (through the search filter,
    // or not); and the mean power between them, for the noise.
    const int n = int(searchBuf_.size());
    const double rate = double(kSampleRate) / kDecimation;
    const double rel = 2 * kPi * (hz - nco_.frequency()) / rate;
    std::vector<cplx> x(static_cast<std::size_t>(n)), w(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        x[std::size_t(i)] = searchBuf_[std::size_t((searchPos_ + i) % n)] * std::polar(1.0, -rel * (i - (n - 1)));
    const int taps = filtered ? int(searchTaps_.size()) : 1;
    for (int i = taps - 1; i < n; ++i) {
        cplx z = x[std::size_t(i)];
        if (filtered) {
            z = 0;
            for (int k = 0; k < taps; ++k)
                z += searchTaps_[std::size_t(k)] * x[std::size_t(i - k)];
        }
        double m = std::abs(z);
        cplx u = m > 0 ? z / m : cplx(0, 0);
        cplx p = u;
        for (int k = 1; k < order; ++k)
            p *= u;
        w[std::size_t(i)] = p * m * searchWindow((i + 0.5) / n);
    }
    auto at = [&](double offset) {
        cplx acc(0, 0);
        for (int i = 0; i < n; ++i)
            acc += w[std::size_t(i)] * std::polar(1.0, -2 * kPi * offset * (i - (n - 1)) / rate);
        return acc;
    };
    noise = (std::norm(at(-1.5 * kBaud)) + std::norm(at(-0.5 * kBaud)) + std::norm(at(0.5 * kBaud)) +
             std::norm(at(1.5 * kBaud))) / 4;
    return {at(-kBaud), at(0), at(kBaud)};
}

double RxChannel::centre(int order, double hz, double& phase) const
{
    // A band search can find a line beside the carrier's first (15.6 Hz off in the second
    // order, 7.8 Hz in the fourth). In the second order the carrier is where the signal has
    // power on both sides, 15.6 Hz up and down (the idle tones; with text, the body of its
    // spectrum): beside it one of the two falls where the signal has next to none.
    const int n = int(searchBuf_.size());
    const double rate = double(kSampleRate) / kDecimation;
    auto tone = [&](double f) {
        const double w = 2 * kPi * (f - nco_.frequency()) / rate;
        cplx acc(0, 0);
        for (int i = 0; i < n; ++i)
            acc += searchBuf_[std::size_t((searchPos_ + i) % n)] * searchWindow((i + 0.5) / n) *
                   std::polar(1.0, -w * (i - (n - 1)));
        return std::norm(acc);
    };
    double best = -1, found = hz;
    if (order == 4) {
        // QPSK text has power at its carrier, and its lines beside, up to two steps off, stand as
        // high as the carrier's: of the line and those two steps either side, the one nearest the
        // middle of the power around (found again from there).
        double middle = hz;
        for (int pass = 0; pass < 2; ++pass) {
            double sum = 0, moment = 0;
            for (double f = -kCentreHz; f <= kCentreHz; f += 1.0) {
                const double p = tone(middle + f);
                sum += p;
                moment += p * f;
            }
            middle += sum > 0 ? moment / sum : 0.0;
        }
        const double step = kBaud / order;
        found = hz + step * std::clamp(std::round((middle - hz) / step), -2.0, 2.0);
    } else {
        for (int j = -1; j <= 1; ++j) {
            const double c = hz + j * kBaud / order;
            const double both = std::min(tone(c - kBaud / 2), tone(c + kBaud / 2));
            if (both > best) {
                best = both;
                found = c;
            }
        }
    }
    double noise = 0;
    phase = std::arg(lines(order, found, true, noise)[1]) / order;
    return found;
}

bool RxChannel::inText(double idleHz, const Line& carrier) const
{
    // A strong signal's text, a second of it, puts lines all over its spectrum, at times two of
    // them 31 Hz apart as clear as an idle's tones. An idle's reversals put a line at its carrier
    // in the second order, as strong as the lines its envelope puts beside it (the search may
    // have found one of those); a pair of text lines puts next to nothing there, against the
    // carrier of the text it lies in. So a pair with a tone inside the spectrum of the strongest
    // carrier found and little line of its own is that text. (Not the idle of a station a symbol
    // rate from that carrier: it shares one tone with its idle.)
    const double apart = std::abs(idleHz - carrier.hz);
    if (carrier.strength < kDetect || apart <= kShareHz || std::abs(apart - kBaud) < kShareHz ||
        std::min(std::abs(apart - kBaud / 2), apart + kBaud / 2) >= kBesideHz)
        return false;
    // (A pair with its middle in the body of that text is its: the text's power there lifts a
    // line at its middle as well.)
    if (apart < kBodyHz)
        return true;
    double noise = 0;
    const double own = std::norm(lines(2, idleHz, true, noise)[1]);
    return own < kOwnIdleLine * std::norm(lines(2, carrier.hz, true, noise)[1]);
}

bool RxChannel::idleLine(double idleHz) const
{
    // An idle's reversals put a line at its carrier in the second order; a pair of text lines
    // puts no more there than the noise between the lines around.
    double noise = 0;
    return std::norm(lines(2, idleHz, true, noise)[1]) >= kIdleLineNoise * noise;
}

bool RxChannel::idleEnvelope(double idleHz) const
{
    // An idle's reversals shape its envelope at the symbol rate: in the second order its line
    // has lines a symbol rate either side. A steady tone's has none.
    double noise = 0;
    const auto l = lines(2, idleHz, true, noise);
    return std::min(std::norm(l[0]), std::norm(l[2])) >= kEnvelopeShare * std::norm(l[1]);
}

bool RxChannel::idleImage(double hz, double strength) const
{
    // The same for an idle: a stronger idle a symbol rate away (its tones and the weaker ones
    // beyond them make a pair here). Of a signal just beyond the range only one tone is here, and
    // the other is noise, or that signal's faint third-order product: an idle a symbol rate away
    // whose weaker tone is far stronger than the weaker here is the one these tones belong to.
    // (Two stations a symbol rate apart share a tone, and each has its other one as strong.)
    double h = 0, p = 0, own = 0, ownWeaker = 0;
    idleSearch(hz - 0.5, hz + 0.5, h, p, own, ownWeaker);
    const double weakerTone = own * ownWeaker / (1 + ownWeaker);
    for (double side : {-kBaud, kBaud}) {
        double s = 0, w = 0;
        idleSearch(hz + side - 1, hz + side + 1, h, p, s, w);
        if (s > kImage * strength || (w >= kImageBalance && s * w / (1 + w) > kImageTone * weakerTone))
            return true;
    }
    return false;
}

bool RxChannel::image(double hz, int order, double followed) const
{
    // A signal's envelope puts lines a symbol rate either side of its carrier's (in the second
    // order; 31 Hz in its own frequency): one of a strong signal, even beyond the range, stands
    // out like a carrier of its own, and through it the loops copy that signal's text. Where the
    // carrier a symbol rate away is far stronger, the line is its.
    // (In the fourth order the same holds of QPSK: loops a symbol rate from a strong QPSK signal
    // see its symbols turned by a whole turn each, and read its text.) A side within half a symbol
    // rate of followed, the signal the loops are on, is passed over: its own fourth-order lines
    // beside its carrier stand as high as a carrier's there.
    double noise = 0;
    const double line = std::norm(lines(order, hz, false, noise)[1]);
    for (double side : {-kBaud, kBaud})
        if (!(followed > 0 && std::abs(hz + side - followed) < kBaud / 2 + 2) &&
            std::norm(lines(order, hz + side, false, noise)[1]) > kImage * line)
            return true;
    return false;
}

void RxChannel::checkSideband()
{
    // The carrier loop holds a sideband as firmly as the carrier (BPSK 15.6 Hz off looks like
    // BPSK with every bit inverted), so while following a BPSK signal its second-order lines are
    // looked at now and then: a line beside stronger than the carrier's, twice running, moves to
    // the carrier. (QPSK text has no such lines to look at; its loops are kept near where the
    // search found it instead.) Where they may not move (without AFC, or held by a station read),
    // nothing can be copied there: the level reads so, and the squelch holds the garbled text.
    const int order = 2;
    double noise = 0;
    const double hz = nco_.frequency() + (afcOn() ? 0.0 : omega_ * kBaud / (2 * kPi));
    auto l = lines(order, hz, false, noise);
    int j = std::norm(l[0]) > std::norm(l[2]) ? 0 : 2;
    // (While what is decoded reads as text, only a line beside far stronger than the carrier's: a
    // sideband's text has its letters too, but a signal's own line is some hundred times the
    // lines its envelope puts beside it.)
    const double over = afcOn() && text_.copying() ? kSidebandClear : 2.0;
    bool beside = std::norm(l[std::size_t(j)]) > over * std::norm(l[1]) && std::norm(l[std::size_t(j)]) > 8 * noise;
    sidebandVotes_ = beside ? sidebandVotes_ + 1 : 0;
    if (!beside)
        onSideband_ = false;
    if (sidebandVotes_ < 2)
        return;
    sidebandVotes_ = 0;
    if (afcOn() && (!home_ || taken_) && !parked_)
        startOn(hz + (j - 1) * kBaud / order, std::arg(l[std::size_t(j)]) / order);
    else
        onSideband_ = true;
}

double RxChannel::followed(double hz) const
{
    hz = std::clamp(hz, setHz_ - afcRange_, setHz_ + afcRange_);
    // QPSK's loops, in weak signals, can slip to the line beside the carrier (7.8 Hz off), which
    // nothing but a new search would notice: they follow a signal found by the search only so far
    // (farther drift ends in a new search).
    if (!fresh_ && (mode_ == RxMode::Qpsk || mode_ == RxMode::QpskInverted))
        hz = std::clamp(hz, foundHz_ - kQpskFollowHz, foundHz_ + kQpskFollowHz);
    // A station read holds the loops: while it is read they follow it as without AFC (where it
    // was read moves with it), and while it cannot be read (a neighbour stronger than it over
    // it, a fade) they stay within 2 Hz of where it was read last, so that no neighbour drags
    // them away and they are on it the moment it can be read again.
    if (home_ && !taken_) {
        const double hold = text_.copying() ? kFreePullHz : kHeldHz;
        hz = std::clamp(hz, homeHz_ - hold, homeHz_ + hold);
    } else if (parked_) {
        hz = std::clamp(hz, homeHz_ - kHeldHz, homeHz_ + kHeldHz);
    }
    return hz;
}

void RxChannel::timingOf(double hz)
{
    // The symbol timing of the signal at hz: its energy through the matched filter, symbol slot
    // by slot, over the last second mixed down from there. What the timing loop averaged before
    // is of what the oscillator was on (another signal, or noise): at half a symbol off, a weak
    // signal's first characters were lost while it crept over.
    const int n = int(searchBuf_.size()), len = int(mfTaps_.size());
    const double rel = 2 * kPi * (hz - nco_.frequency()) * kDecimation / kSampleRate;
    std::vector<cplx> x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        x[std::size_t(i)] = searchBuf_[std::size_t((searchPos_ + i) % n)] * std::polar(1.0, -rel * i);
    std::array<double, kDecimatedPerSymbol> energy{};
    std::array<int, kDecimatedPerSymbol> count{};
    for (int i = len - 1; i < n; ++i) {
        cplx y(0, 0);
        for (int k = 0; k < len; ++k)
            y += mfTaps_[std::size_t(k)] * x[std::size_t(i - (len - 1) + k)];
        // (the newest sample of the buffer went in just before index_)
        const auto slot = std::size_t(((index_ - n + i) % kDecimatedPerSymbol + kDecimatedPerSymbol) % kDecimatedPerSymbol);
        energy[slot] += std::norm(y);
        ++count[slot];
    }
    for (std::size_t k = 0; k < energy.size(); ++k)
        energy_[k] = count[k] ? energy[k] / count[k] : 0.0;
}

bool RxChannel::recentIdle(double& hz, double& phase, double strength)
{
    // The same idle measured over the last part of the buffer alone (a window that is nought
    // before it), for its frequency: where it stands clearer there, the idle fills more of it.
    std::array<double, 512> window{};
    const int n = int(window.size());
    for (int i = 0; i < kRecentSamples; ++i)
        window[std::size_t(n - kRecentSamples + i)] = searchWindow((i + 0.5) / kRecentSamples);
    std::swap(window, searchIdleWin_);
    double h = 0, p = 0, s = 0, weaker = 0;
    const bool found = idleSearch(hz - 1, hz + 1, h, p, s, weaker);
    std::swap(window, searchIdleWin_);
    if (!found || s <= strength)
        return false;
    hz = h;
    phase = p;
    return true;
}

void RxChannel::startOn(double hz, double phase)
{
    foundHz_ = std::clamp(hz, setHz_ - afcRange_, setHz_ + afcRange_);
    // The phase was measured at the newest sample of the search buffer, mixed at the frequency the
    // oscillator had; the decimating filter's delay lies between that sample and the oscillator,
    // which keeps its phase as it is retuned: over that delay the signal turned by the difference
    // (20 Hz away a radian: past the eighth of a turn at which QPSK's decisions fall between its
    // points, and its loops took a second or more to pull in a weak reply, its first characters lost).
    const double delay = (double(decimTaps_.size()) - 1) / 2 / kSampleRate;
    phase = wrapPhase(phase + 2 * kPi * (foundHz_ - nco_.frequency()) * delay);
    // (The station held, found again where it was read, keeps the timing the loop has followed
    // it with: beside a strong neighbour the last second mixes in the neighbour's.)
    if (!home_ || std::abs(foundHz_ - homeHz_) > kHomeHz)
        timingOf(foundHz_);
    retune(foundHz_);
    restart(phase);
    parked_ = false;
    acquire_ = 0; // the search measured the frequency closer than the pull would
}

void RxChannel::acquire()
{
    const bool qpsk = mode_ == RxMode::Qpsk || mode_ == RxMode::QpskInverted;
    double hz = 0, phase = 0, strength = 0, slowHz2 = 0, slow2 = 0, slowHz4 = 0, slow4 = 0;
    // QPSK's second-order line comes from its idle alone, which the idle's tones show better:
    // in text, noise lifts a line of its own there now and then.
    Line place2, place4, strongest4;
    bool found = lineSearch(2, hz, strength, slowHz2, slow2, 0, &place2) && strength >= kDetect && !qpsk;
    const Line strongest2{hz, strength};
    int order = 2;
    double idleHz = 0, idlePhase = 0, idle = 0, weaker = 0;
    bool idleFound = idleSearch(setHz_ - afcRange_, setHz_ + afcRange_, idleHz, idlePhase, idle, weaker);
    // One tone of a neighbour's idle, beyond the range or beside the station, can stand out
    // over a whole idle: the search then looks for one with both its tones clear.
    if (!idleFound) {
        idleFound = idleSearch(setHz_ - afcRange_, setHz_ + afcRange_, idleHz, idlePhase, idle, weaker, true);
        // (Listening for the reply, a clear idle seen a moment ago is seen again at less: beside a
        // neighbour's text its tones stand out only now and then, and a reply's opening idle is short.)
        idleFound = idleFound && (idle >= kClearIdle || (listening_ && replyIdle_.near(idleHz)));
    }
    if (idleFound) {
        // The strongest idle; but of two, the one nearer where the operator tuned is the reply.
        // (QPSK text has no second-order line to tell a pair of its lines from an idle by.)
        nearestIdle(idleHz, idlePhase, idle);
        idleFound = !idleImage(idleHz, idle) && !(listening_ && !qpsk && inText(idleHz, strongest2));
    }
    if (idleFound) {
        found = true;
        hz = idleHz;
    }
    if (qpsk) {
        // QPSK shows the second-order line in its idle reversals, where the carrier's line is
        // told from those beside it with certainty. Text gives only the fourth-order line, and
        // its lines beside can outweigh the carrier's: taken only when a signal has been there
        // without idle for a while (tuned in during a transmission), and only where the long
        // average has its line too.
        double hz4 = 0, strength4 = 0;
        const bool any4 = lineSearch(4, hz4, strength4, slowHz4, slow4, 0, &place4);
        strongest4 = {hz4, strength4};
        if (any4 && !found && strength4 >= kDetect && searchBlocks_ >= kTextSearchBlocks && std::abs(hz4 - slowHz4) < 1.0) {
            found = true;
            hz = hz4;
            order = 4;
        }
    }
    bool weak = false;
    if (qpsk && !found) {
        // A weak signal shows its lines only in the long average, the second order from the
        // reversals between characters and the fourth from all of it: both on one frequency,
        // block after block, is a signal (noise puts them together for a while about once in
        // hours) and its carrier (the lines beside fall 15.6 and 7.8 Hz off, apart).
        const bool agree = slowBlocks_ >= kSlowStart && slow2 >= kSlowDetect2 && slow4 >= kSlowDetect4 &&
                           std::abs(slowHz2 - slowHz4) < kAgreeHz;
        slowRun_ = !agree ? 0 : slowRun_ > 0 && std::abs(slowHz4 - slowRunHz_) < kAgreeHz ? slowRun_ + 1 : 1;
        if (slowRun_ == 1)
            slowRunHz_ = slowHz4;
        if (slowRun_ >= kSlowRun) {
            weak = found = true;
            hz = slowHz4;
            order = 4;
        }
    }
    // Listening with the loops still where the station was, a carrier is looked for near where the
    // operator tuned: a neighbour as strong farther off, whose line the search finds as often as
    // the reply's, would keep the reply's from being found in one place search after search.
    // (Not a line of that neighbour's envelope: a symbol rate from its carrier, or whole steps of
    // the symbol rate over the order from the strongest line and weaker than it: in QPSK's idle
    // the lines a step or two from the carrier stand as high as its own.)
    const Line& place = qpsk ? place4 : place2;
    const Line& strongest = qpsk ? strongest4 : strongest2;
    const double step = kBaud / (qpsk ? 4 : 2), apart = std::abs(place.hz - strongest.hz);
    const bool stepsAway = apart > 1 && std::abs(apart - step * std::round(apart / step)) < 1 && place.strength < strongest.strength;
    if (parked_ && !home_ && !idleFound && !(found && std::abs(hz - setHz_) <= kPlaceHz + 1) && place.strength >= kDetect &&
        (!qpsk || searchBlocks_ >= kTextSearchBlocks) && !stepsAway && !image(place.hz, qpsk ? 4 : 2)) {
        found = true;
        weak = false;
        hz = place.hz;
        order = qpsk ? 4 : 2;
    }
    // A fourth-order line that the long average shows too is the carrier's; the second order
    // can still be on a line beside it.
    bool line = found; // a line, whatever it proves to be (for a carrier that stays in one place)
    double lineHz = 0;  // and where the search found BPSK's
    if (idleFound) {
        phase = idlePhase; // the idle's two tones leave no doubt where the carrier is
    } else if (found && order == 2) {
        lineHz = hz;
        hz = centre(order, hz, phase);
        line = found = !image(hz);
    } else if (found) {
        double noise = 0;
        phase = std::arg(lines(order, hz, true, noise)[1]) / order;
        // A line beside the carrier of a signal just beyond the range reaches into it.
        double ignored = 0;
        const double carrier = weak ? hz : centre(order, hz, ignored);
        if (std::abs(carrier - setHz_) > afcRange_) {
            found = false;
        } else if (listening_ && carrier != hz) {
            // Listening for the reply, the text of a signal that began without the loops on it
            // lifts the lines beside its carrier as often as the carrier's: the loops go where the
            // signal has its body on both sides.
            hz = carrier;
            phase = std::arg(lines(order, hz, true, noise)[1]) / order;
        }
    }
    // A signal beyond the range never pulls the loops (they would only sit at its edge); once a
    // station has been copied, nothing but it does: a search finds it again after a fade, or
    // after a neighbour stronger than it has stopped, and takes no other signal for it..
    // (Listening for the reply with the loops still where the station was, only an idle elsewhere
    // is taken, as a station begins its over: in a deep fade of the station the lines noise
    // lifts elsewhere now and then are none.)
    bool steady = false;
    if (found && std::abs(hz - setHz_) > afcRange_ + 0.5)
        found = weak = false;
    // (Listening, the loops on a signal they read, at more than noise's quality, have what is nearest
    // where the operator tuned: a neighbour calling farther away is not the reply, however little
    // farther: a line of a neighbour's envelope 3.7 Hz beyond a reply took the loops from it.)
    if (found && listening_ && !parked_ && ((text_.copying() && text_.current()) || (scaled(qualitySlow_) >= kRead && !readable_.garbage())) &&
        std::abs(hz - setHz_) > std::abs(nco_.frequency() - setHz_) + kTheirsHz)
        found = weak = false;
    // (A weak BPSK reply whose idle was missed puts its carrier's line under the detection level in
    // its text, though in one place block after block, where noise lifts one only now and then:
    // near where the operator tuned it counts towards a carrier staying in one place all the same.)
    bool faint = false;
    if (parked_ && !home_ && !idleFound && !found && !qpsk && place.strength >= kSteadyDetect &&
        std::abs(place.hz - setHz_) <= kPlaceHz && !stepsAway && !image(place.hz)) {
        faint = line = true;
        hz = lineHz = place.hz;
    }
    if (parked_ && !home_ && !idleFound) {
        // (QPSK text's fourth-order lines beside the station's carrier, 7.8 Hz off, are its own.)
        const double away = std::abs(hz - homeHz_);
        const bool elsewhere = (found || faint) && away > kHomeHz;
        steady = steadyReply(line, hz, lineHz, elsewhere && !(order == 4 && std::abs(away - kBaud / 4) <= 2));
        if (steady) {
            // Where the carrier is: of the line and those half a symbol rate either side, the
            // strongest (a carrier's line stands far over those its envelope puts beside it).
            hz = steadyHz_;
            double noise = 0;
            if (order == 2) {
                const auto l = lines(order, hz, true, noise);
                // (Lines as strong side by side are no carrier and its envelope's: two signals a
                // symbol rate apart put those of both envelopes between them, as high as their
                // carriers'. Of those, the one nearest where the operator tuned.)
                const double top = std::norm(*std::max_element(l.begin(), l.end(), [](cplx a, cplx b) { return std::norm(a) < std::norm(b); }));
                int j = -1;
                for (int i = 0; i < 3; ++i)
                    if (kAsStrong * std::norm(l[std::size_t(i)]) >= top &&
                        (j < 0 || std::abs(hz + (i - 1) * kBaud / order - setHz_) < std::abs(hz + (j - 1) * kBaud / order - setHz_)))
                        j = i;
                hz += (j - 1) * kBaud / order;
            }
            phase = std::arg(lines(order, hz, true, noise)[1]) / order;
            found = std::abs(hz - setHz_) <= afcRange_;
            weak = false;
            candidate_ = hz;
            candidateRun_ = kMoveConfirm;
        } else if (elsewhere) {
            found = weak = false;
        }
    } else if (found && home_ && std::abs(hz - homeHz_) > kHomeHz) {
        found = weak = false;
    }
    ++searchBlocks_;
    ++slowBlocks_;
    // A detection counts when the next block confirms it: a line that noise has lifted over a
    // stronger one nearby (a sideband over its carrier) rarely stays there.
    // QPSK text now and then lifts a second-order line well away from its carrier for a moment:
    // while a QPSK signal is being followed, a line elsewhere has to stay there longer. (Listening
    // for the reply the loops follow nothing, and an idle is no such line: a reply's opening idle
    // lasts a second or so, and beside a neighbour it is seen only now and then.)
    const bool moving = qpsk && !fresh_ && !(listening_ && idleFound) && std::abs(hz - nco_.frequency()) > kBaud / order + 2;
    candidateRun_ = found && candidate_ > 0 && std::abs(hz - candidate_) < 1.0 ? candidateRun_ + 1 : 0;
    // (Listening, an idle seen again in the same place within a moment is the reply's.)
    const bool idleAgain = replyIdle_.again(listening_ && idleFound, hz);
    bool confirmed = weak || (found && (candidateRun_ >= (moving ? kMoveConfirm : 1) || idleAgain));
    candidate_ = found ? hz : 0.0;
    if (!confirmed)
        return; // look again with the next block
    // Listening with the loops where the station was, the search sees a reply's idle as it begins,
    // with the second of noise before it: a weak QPSK reply placed by that 0.3 Hz off was read only
    // once its loops had pulled in, its first words lost (a click a moment later, on a buffer
    // that began with the reply, placed it within a few hundredths).
    if (qpsk && listening_ && parked_ && idleFound)
        recentIdle(hz, phase, idle);
    candidate_ = 0;
    candidateRun_ = 0;
    slowRun_ = 0;
    searchWanted_ = false;
    const int blocks = searchBlocks_;
    searchBlocks_ = 0;
    slowBlocks_ = 0;
    unlocked_ = 0;
    // Found again near the signal it was following (within the lines beside it, which the check
    // above may take for it in the middle of text; for the second order only soon after losing
    // it): it stays, and the sideband check keeps it on the carrier.
    // A weak signal's carrier found in the long average is certain: the loops move to it unless
    // they are there already.
    // (Found between, it is another signal, or the one followed was noise: the loops move.)
    const double away = std::abs(hz - nco_.frequency());
    const bool beside = away <= 2 || std::abs(away - kBaud / order) <= 2;
    if (parked_ && away <= 2 && !weak && !quietAt(homeHz_)) {
        // The station held, back (out of a deep fade, or its next over on the same frequency):
        // it holds the channel again, and the loops that stayed with it go on undisturbed. (A line
        // that noise lifts there is no station.) Found by the idle its next over begins with, it
        // is decoded afresh from the idle's phase: the decoder has followed noise for as long as
        // it was quiet, and QPSK's could print nothing for seconds.
        if (idleFound) {
            startOn(hz, phase);
            homeHz_ = hz;
        }
        home_ = true;
        listening_ = parked_ = false;
        return;
    }
    // (Listening for the reply the loops hold nothing: an idle found half a symbol rate from them
    // is a station's. But while listening they follow a signal copied farther off than a partner
    // answers, and a neighbour starting beside it sends them searching: the line half a symbol
    // rate from it, nearer where the operator tuned, is its own, and the sideband check keeps
    // them on its carrier.)
    const bool following = listening_ && !parked_;
    if (!fresh_ && !(parked_ && idleFound) &&
        (weak ? away <= 1.0 : (order == 4 || blocks < kTextSearchBlocks || following) && beside))
        return;
    fresh_ = false;
    if (home_)
        homeHz_ = hz; // the station copied, found again (it may have drifted while unreadable)
    startOn(hz, phase);
    if (idleFound || steady)
        takeAsReply(hz);
}

} // namespace psk

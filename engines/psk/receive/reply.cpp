#include "engines/psk/receive/rxchannel.h"

// A QSO on one channel. The station read holds the channel while it is on the air, whatever
// starts beside it. When it has gone quiet (its over has ended, or we have sent ours), the
// channel listens for the reply, which rarely comes on the same hertz: it takes the signal
// nearest where the operator tuned, anywhere in the AFC range. A signal taken while nothing
// nearer was on (a neighbour calling in the pause) is copied, but left for one that starts nearer;
// only a station within a partner's usual offset of where the operator tuned comes to hold the
// channel.
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace psk {
namespace {

constexpr int kHoldSamples = 10 * kSampleRate; // a station read this long holds the channel
constexpr double kNearerHz = 2.0;   // how much nearer where he tuned another signal must be
constexpr int kUnreadSamples = 8 * kSampleRate; // a reply taken is read within this
constexpr double kReadQuality = 0.3; // at a quality reading over this (the loops on nothing read less)
constexpr double kReadWell = 0.8;   // a quality reading of a signal read well (noise followed by the
                                    // loops reads up to about 0.7 now and then)
constexpr int kQuietSamples = 3 * kSampleRate / 2; // the station held quiet this long has ended its over
constexpr double kHeldBandHz = kBaud / 2 + 2; // either side of the station held: where its power
                                    // is measured (its idle's tones, the body of its text)
constexpr double kGuardHz = 30.0;   // and beyond this from it,
constexpr double kNoiseBandHz = 90.0; // within this of the oscillator, the noise around it
constexpr double kQuietRatio = 2.5; // its power over the noise's below which it is quiet
constexpr double kSkirtRatio = 2.0; // the noise of one side over the other's: a neighbour's skirts
constexpr double kWatchDetect = 40.0; // a clear idle (see idle_search.cpp)
constexpr double kWatchFaint = 25.0; // a faint one (noise alone reaches it now and then)
constexpr double kBodyHz = kBaud / 4; // within this of a signal's carrier, the body of its text
constexpr double kShareHz = 2.0;    // an idle this near half a symbol rate from it has one of its tones for its middle
constexpr double kSignalLevel = 0.6; // a quality reading of a signal (noise reads far lower)
constexpr int kFirmSamples = 3 * kSampleRate; // text read at that quality this long: it was read well there
constexpr int kSteadyBlocks = 16;   // blocks (about 2 s) a carrier stays in one place to be a station
constexpr double kSteadyHz = 1.0;   // how close each finding to the first
constexpr double kLineDetect = 18.0; // three lines this far above the average bin are a signal (see acquisition.cpp)
constexpr double kFollowedLinesHz = 2 * kBaud; // how far the signal followed puts lines beside its carrier
constexpr double kStepHz = 1.0;     // and how near their places
constexpr double kAnotherHz = RxChannel::kFreePullHz + 1; // the loops this far from the station read are on another signal
constexpr double kHomeStepHz = 0.5; // a station read moves no farther from one block to the next
constexpr double kNearerMix = 1.5;  // QPSK: how much stronger a line a step nearer the signal followed must be
constexpr double kOwnLineShare = 0.2; // and how much weaker than its carrier's its own lines two steps or more away are

} // namespace

void RxChannel::holdOrRelease(int n)
{
    if (overSent_) {
        overSent_ = false;
        release();
        return;
    }
    // While a search runs the meter may read as it last did (the decoder may complete no
    // character for long), and noise would come to hold the channel now and then: the count
    // waits. But a weak station that a moment's dip sent searching goes on counting while it is
    // still decoded character after character and its quality reads as a signal's (the count
    // starting over at every dip, a strong neighbour could take the loops before it held them).
    if (!searching() || (!fresh_ && text_.current() && scaled(qualitySlow_) >= kSignalLevel))
        copiedFor_ = text_.copying() ? copiedFor_ + n : 0;
    // QPSK's loops can go to a tone of a strong neighbour's idle half a symbol rate from the
    // station (it reads as a clean signal), or to a symbol rate from its text (which they then
    // read), while what the meter read last holds for seconds: the station is where they last
    // read text, nearby, and not where they stay on such a line. (BPSK's loops hold no such
    // line as firmly; where they are is where the station is read.)
    const bool qpsk = mode_ == RxMode::Qpsk || mode_ == RxMode::QpskInverted;
    const bool readHere = std::abs(readHz_ - nco_.frequency()) <= kHeldHz;
    if (copiedFor_ >= kHoldSamples && std::abs(nco_.frequency() - setHz_) <= kPlaceHz) {
        if (!home_)
            homeHz_ = qpsk && readHere ? readHz_ : nco_.frequency();
        home_ = true;
        taken_ = false;
        listening_ = false;
    }
    if (!home_) {
        quietFor_ = 0;
        return;
    }
    // A signal taken as the reply on which the loops read at no signal's quality for long was
    // none (a line that two strong signals side by side lift between them, where they read a run
    // of spaces now and then): the reply is listened for again.
    // (The loops go back to where the operator tuned: one found again where they stayed, the
    // neighbours' skirts lifting the power there, would hold the channel.) But a QPSK signal read
    // well since it was taken is a station: a neighbour 20 Hz beyond it drowned a reply for eight
    // seconds, and the reply, let go, was found again only seconds after the neighbour had stopped.
    // (BPSK's loops, taken to a line between a reply and a neighbour 10 Hz from it, read as well
    // for a moment: let go, they find the reply.)
    if (!taken_)
        takenRead_ = false;
    else if (qpsk && scaled(qualitySlow_) >= kReadWell)
        takenRead_ = true;
    unreadFor_ = taken_ && !takenRead_ && scaled(qualitySlow_) < kReadQuality ? unreadFor_ + n : 0;
    if (unreadFor_ >= kUnreadSamples) {
        drop();
        return;
    }
    tryBeside();
    // Where the station is read moves with the loops while they read it; but not by a step to
    // loops a symbol rate from a strong signal, where they read its text.
    if (taken_ || (!qpsk && text_.copying()))
        homeHz_ = nco_.frequency();
    else if (qpsk && reading() && readHere && (std::abs(readHz_ - homeHz_) <= kHomeStepHz || !image(readHz_, 4)))
        homeHz_ = readHz_;
    // (Where it has been read at a signal's quality for seconds running is where it is: moments
    // of garbage read as text a hertz off take where it was read along, not this.)
    firmFor_ = !taken_ && reading() && scaled(qualitySlow_) >= kSignalLevel ? firmFor_ + n : 0;
    if (firmHz_ <= 0 || firmFor_ >= kFirmSamples)
        firmHz_ = homeHz_;
    quietFor_ = quietAt(homeHz_) ? quietFor_ + n : 0;
    if (quietFor_ >= kQuietSamples)
        release();
}

void RxChannel::drop()
{
    // The signal taken was no station: the loops go back to where the operator tuned (a station
    // found again where they stayed would hold the channel) and listen for the reply afresh.
    release();
    retune(setHz_);
    homeHz_ = setHz_;
}

void RxChannel::release()
{
    // What comes next is read afresh: the text meter would go on reading the station's text for
    // seconds, and keep the search waiting. Until another signal is taken the loops stay where
    // the station was (it may only have faded deeply for a while).
    home_ = false;
    taken_ = false;
    listening_ = true;
    parked_ = true;
    firmHz_ = 0;
    copiedFor_ = 0;
    quietFor_ = 0;
    steadyScore_ = 0;
    replyIdle_.clear();
    nearerIdle_.clear();
    nearerLine_.clear();
    watchBlocks_ = 0;
    replyBeside_ = 0;
    text_.reset();
    readable_.reset();
    searchWanted_ = true;
    searchBlocks_ = 0;
    candidate_ = 0;
    candidateRun_ = 0;
    unlocked_ = 0;
    // (Loops on another signal, one taken in the pause, go back where the station was now: left to
    // the limit on where they may follow, they would jump there with the last second still mixed
    // at the old frequency, where a search finds an idle in whatever that leaves, and takes it for
    // the station back.)
    if (std::abs(nco_.frequency() - homeHz_) > kAnotherHz)
        retune(homeHz_);
}

bool RxChannel::quietAt(double hz) const
{
    // The power within a few hertz of hz against the noise around (from the weaker bins, which
    // a neighbour or two do not move). A neighbour strong enough to reach into a station's band
    // keeps it "on the air": its hold stays, as it must while the station is there.
    const int n = int(searchBuf_.size());
    if (sinceRetune_ < n)
        return false;
    const double binHz = double(kSampleRate) / kDecimation / n;
    std::vector<cplx> spec(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        spec[std::size_t(i)] = searchBuf_[std::size_t((searchPos_ + i) % n)] * searchIdleWin_[std::size_t(i)];
    fft(spec);
    const double at = hz - nco_.frequency();
    double band = 0;
    int inBand = 0;
    std::vector<double> below, above;
    for (int k = -n / 2; k < n / 2; ++k) {
        const double f = k * binHz, p = std::norm(spec[std::size_t((k + n) % n)]);
        if (std::abs(f - at) <= kHeldBandHz) {
            band += p;
            ++inBand;
        } else if (std::abs(f - at) > kGuardHz && std::abs(f) <= kNoiseBandHz) {
            (f < at ? below : above).push_back(p);
        }
    }
    if (inBand == 0 || (below.empty() && above.empty()))
        return false;
    // The lower quartile: a strong neighbour's spectrum may take up half of the bins. (Noise's
    // power is exponentially distributed: its lower quartile is ln 4/3 of its mean.) The skirts of
    // one far stronger can reach over all the bins on its side, through whose quartile a weak
    // station beside it read as quiet: where one side's is far over the other's, the other's.
    auto quartile = [](std::vector<double> v) {
        auto q = v.begin() + std::ptrdiff_t(v.size() / 4);
        std::nth_element(v.begin(), q, v.end());
        return *q;
    };
    std::vector<double> around(below);
    around.insert(around.end(), above.begin(), above.end());
    double lower = quartile(around);
    if (!below.empty() && !above.empty()) {
        const double b = quartile(below), a = quartile(above);
        if (std::max(a, b) > kSkirtRatio * std::min(a, b))
            lower = std::min(a, b);
    }
    const double noise = lower / std::log(4.0 / 3.0);
    return band / inBand < kQuietRatio * noise;
}

void RxChannel::takeAsReply(double hz)
{
    // Listening for the reply, the first signal found near where the operator tuned by its idle (a
    // station starts its over with one) is the one he waits for:
    // it holds the channel at once, so that a neighbour calling a moment later (whose idle stands
    // out far clearer than text) does not take it before it has been read for long. Farther away
    // it is copied, but a signal that starts nearer takes the channel.
    if (!listening_ || std::abs(hz - setHz_) > kPlaceHz)
        return;
    home_ = true;
    taken_ = true;
    listening_ = false;
    homeHz_ = hz;
    quietFor_ = 0;
    // It is read afresh: the text the loops read before (a neighbour's, copied through the
    // pause) is not this signal's, and would make it hold the channel at once.
    text_.reset();
    copiedFor_ = 0;
    unreadFor_ = 0;
    takenRead_ = false;
}

bool IdleSighting::again(bool found, double hz)
{
    if (found && hz_ > 0 && std::abs(hz - hz_) < 1.0) {
        hz_ = 0;
        return true;
    }
    if (found) {
        hz_ = hz;
        age_ = 0;
    } else if (hz_ > 0 && ++age_ >= kBlocks) {
        hz_ = 0;
    }
    return false;
}

bool RxChannel::nearestIdle(double& hz, double& phase, double& strength)
{
    // Another idle nearer where the operator tuned (a clear one: both its tones), and again.
    const double there = home_ ? homeHz_ : setHz_;
    bool moved = false;
    for (int i = 0; i < 4; ++i) {
        const double d = std::abs(hz - there) - kNearerHz;
        double h = 0, p = 0, s = 0, weaker = 0;
        if (d < 1 || !idleSearch(there - d, there + d, h, p, s, weaker, true, hz) || s < kWatchDetect)
            break;
        hz = h;
        phase = p;
        strength = s;
        moved = true;
    }
    return moved;
}

bool RxChannel::steadyReply(bool line, double hz, double lineHz, bool candidate)
{
    // Listening with the loops still where the station was, a signal elsewhere is taken by the
    // idle it begins its over with. Its idle can be missed (it came with a neighbour's, or in a
    // fade): a carrier found in one place near where the operator tuned, search after search, for
    // a couple of seconds is a station on the air there all the same (noise lifts a line in one
    // place for a block or two). Its lines beside the carrier, half a symbol rate off, which a
    // search finds now and then, count for it.
    if (!line) {
        steadyScore_ = std::max(0, steadyScore_ - 1);
        return false;
    }
    // (A QPSK signal whose carrier is found beside the line more often than on it is another: the
    // line is its, beside it, as of a neighbour just beyond the range. BPSK's carrier is told from
    // the lines beside by the signal's power on both sides of it, which in a weak signal's text, or
    // beside a neighbour, falls on either: where the search found its second-order line counts
    // too, and which is the carrier its lines decide, when it is taken.)
    auto there = [&](double f) {
        const double d = std::abs(f - steadyHz_);
        return f > 0 && (d < kSteadyHz || std::abs(d - kBaud / 2) < kSteadyHz);
    };
    const double d = std::abs(hz - steadyHz_);
    if (steadyScore_ > 0 && (there(hz) || there(lineHz))) {
        ++steadyScore_;
        (d < kSteadyHz ? steadyOn_ : steadyBeside_) += 1;
    } else if (--steadyScore_ <= 0) {
        const bool near = candidate && std::abs(hz - setHz_) <= kPlaceHz + kSteadyHz;
        steadyScore_ = near ? 1 : 0;
        steadyOn_ = 1;
        steadyBeside_ = 0;
        steadyHz_ = hz;
    }
    return steadyScore_ >= kSteadyBlocks && (lineHz > 0 || steadyOn_ > steadyBeside_);
}

void RxChannel::watchNearer()
{
    // Following a signal farther from where the operator tuned than a few hertz: a clear idle
    // starting nearer is the reply (or the station tuned, back), and the loops move to it.
    const double d = std::abs(nco_.frequency() - setHz_) - kNearerHz;
    if (d < 1)
        return;
    // (While the signal followed is read, a tone of the idle in its spectrum may be one of the
    // pairs of lines its text puts there: such an idle is taken only with a line of its own, and
    // its middle outside the body of the text, where pairs of its lines stand clear, each with
    // the text's power at its middle. Nor one halfway between whose tones lies one of the
    // signal's idle tones, which puts a line there, unless the lines of an idle's envelope stand
    // beside it: a tone puts none.)
    double hz = 0, phase = 0, strength = 0, weaker = 0;
    const double beside = (text_.copying() && text_.current()) || scaled(qualitySlow_) >= kSignalLevel ? nco_.frequency() : 0.0;
    // A weak reply's idle beside a neighbour's text stands under a clear idle's level in most
    // blocks it is seen. A faint one with its own line at its carrier counts too: in BPSK with both
    // its tones clear of the spectrum of the signal followed; in QPSK seen again where a clear one
    // was a moment ago, beside a signal read. (A QPSK reply taken by faint idles alone was placed a
    // few tenths of a hertz off, and its loops at that level took seconds to pull in: its first
    // words were lost. BPSK text put a clear idle 25 Hz from its carrier now and then, and a faint
    // one seen there after it took the loops off a reply.)
    auto clear = [&](double h, double s) {
        if (s >= kWatchDetect)
            return true;
        if (s < kWatchFaint || !idleLine(h))
            return false;
        return mode_ == RxMode::Bpsk ? std::abs(h - nco_.frequency()) >= kBaud / 2 + kHeldBandHz : beside > 0 && nearerIdle_.near(h);
    };
    bool found = idleSearch(setHz_ - d, setHz_ + d, hz, phase, strength, weaker, true, beside) && clear(hz, strength) &&
                 !idleImage(hz, strength);
    if (!found && beside > 0) {
        double h = 0, p = 0, s = 0;
        found = idleSearch(setHz_ - d, setHz_ + d, h, p, s, weaker, true) && clear(h, s) && !idleImage(h, s) &&
                std::abs(h - beside) >= kBodyHz && (std::abs(std::abs(h - beside) - kBaud / 2) >= kShareHz || idleEnvelope(h)) &&
                idleLine(h);
        if (found) {
            hz = h;
            phase = p;
            strength = s;
        }
    }
    if (nearerIdle_.again(found, hz)) {
        startOn(hz, phase);
        takeAsReply(hz);
        return;
    }
    watchNearerLine(d);
}

void RxChannel::watchNearerLine(double d)
{
    // Beside a neighbour's text a reply's idle can be missed (its tones stand out in a block or
    // two): a carrier found within d of where the operator tuned, in one place for a couple of
    // seconds, is a station on the air there all the same. (Outside the spectrum of the signal
    // followed and off the places of its lines; a partner answers near where the operator tuned.)
    const int order = mode_ == RxMode::Bpsk ? 2 : 4;
    // (The signal followed puts lines of its own out there, at whole steps of the symbol rate over
    // the order from its carrier, the nearer the stronger: BPSK's reach two symbol rates, QPSK's
    // fall off within one; another signal's envelope puts them a symbol rate from its carrier, far
    // weaker than the carrier's. In the fourth order the lines beside the signal followed stand
    // high: a symbol rate from one of them is no carrier of its. Two steps or more away its own
    // lines stay under a twentieth of its carrier's, in its idle a tenth: a line there as strong
    // as a fifth of it is another signal's carrier, or a line of one, that happens to fall there.)
    double ownNoise = 0;
    const double own = std::norm(lines(order, nco_.frequency(), true, ownNoise)[1]);
    auto followedLine = [&](double hz) {
        const double step = kBaud / order, away = std::abs(hz - nco_.frequency()), steps = std::round(away / step);
        if (away >= (order == 2 ? kFollowedLinesHz : kBaud + kStepHz) || std::abs(away - step * steps) >= kStepHz)
            return false;
        double noise = 0;
        return steps < 2 || std::norm(lines(order, hz, true, noise)[1]) < kOwnLineShare * own;
    };
    auto imageOf = [&](double hz) { return order == 2 ? image(hz) : image(hz, order, nco_.frequency()); };
    double lineHz = 0, lineStrength = 0, slowHz = 0, slowStrength = 0;
    const bool line = lineSearch(order, lineHz, lineStrength, slowHz, slowStrength, d) && lineStrength >= kLineDetect &&
                      !followedLine(lineHz) && !imageOf(lineHz);
    ++watchBlocks_;
    const bool near = line && std::abs(lineHz - setHz_) <= kPlaceHz + kSteadyHz;
    const bool steady = nearerLine_.steady(near, lineHz, kBaud / order);
    if (order == 2 && near && nearerLine_.running()) {
        double noise = 0;
        const auto l = lines(order, nearerLine_.hz(), false, noise);
        nearerLine_.add({std::norm(l[0]), std::norm(l[1]), std::norm(l[2])});
    }
    if (!steady)
        return;
    const int strongest = nearerLine_.strongest();
    nearerLine_.clear();
    double carrier = nearerLine_.hz(), noise = 0, beside = 0;
    if (order == 2) {
        // Of the line and those half a symbol rate beside, the strongest over the seconds it was
        // found in (a carrier's line stands far over those its envelope puts beside it; in a weak
        // signal's text, over one block, not always).
        carrier += (strongest - 1) * kBaud / order;
    } else {
        // QPSK text's lines a quarter of the symbol rate beside its carrier stand nearly as high,
        // and the signal followed and the reply mix in the fourth order into a line between them,
        // a quarter of the way from the reply: of the line and those up to two steps beside
        // (through the search filter centred on each), the strongest, one nearer the signal
        // followed only when clearly so. The loops on a line beside read every symbol turned by a
        // quarter, at a signal's quality: the stronger of those beside the one taken is kept, to
        // go to if what they decode reads as garbage.
        const double found = carrier;
        const int away = found > nco_.frequency() ? -1 : 1; // the steps away from the signal followed
        std::array<double, 5> power{};
        double best = -1;
        for (int i = -2; i <= 2; ++i) {
            const int j = away * i;
            const double c = found + j * kBaud / order;
            const double p = std::norm(lines(order, c, true, noise)[1]);
            power[std::size_t(j + 2)] = p;
            if (p > (best < 0 ? 0.0 : kNearerMix) * best) {
                best = p;
                carrier = c;
            }
        }
        const int k = int(std::lround((carrier - found) / (kBaud / order)));
        const double below = k > -2 ? power[std::size_t(k + 1)] : -1, above = k < 2 ? power[std::size_t(k + 3)] : -1;
        beside = carrier + (above > below ? 1 : -1) * kBaud / order;
    }
    if (std::abs(carrier - setHz_) >= d || std::abs(carrier - nco_.frequency()) < kBaud / 2 + 2 || followedLine(carrier) || imageOf(carrier))
        return;
    startOn(carrier, std::arg(lines(order, carrier, true, noise)[1]) / order);
    takeAsReply(carrier);
    replyBeside_ = beside;
}

void RxChannel::tryBeside()
{
    // A QPSK reply taken by its carrier's line, on which the loops decode garbage: they are on a
    // line beside, and go to the other one it was told from.
    if (!taken_ || replyBeside_ <= 0)
        return;
    if (text_.copying()) {
        replyBeside_ = 0;
    } else if (text_.garbage()) {
        const double hz = std::exchange(replyBeside_, 0.0);
        if (std::abs(hz - setHz_) > kPlaceHz)
            return;
        double noise = 0;
        startOn(hz, std::arg(lines(4, hz, true, noise)[1]) / 4);
        listening_ = true;
        takeAsReply(hz);
    }
}

bool SteadyLine::steady(bool found, double hz, double step)
{
    const double d = std::abs(hz - hz_);
    const double beside = std::abs(d - step * std::round(d / step));
    if (found && score_ > 0 && d <= 2 * step + 1 && beside < 1.0) {
        ++score_;
    } else if (--score_ <= 0) {
        score_ = found ? 1 : 0;
        hz_ = hz;
        power_ = {};
    }
    return score_ >= kBlocks;
}

void SteadyLine::add(const std::array<double, 3>& power)
{
    for (std::size_t i = 0; i < power.size(); ++i)
        power_[i] += power[i];
}

int SteadyLine::strongest() const
{
    return int(std::max_element(power_.begin(), power_.end()) - power_.begin());
}

} // namespace psk

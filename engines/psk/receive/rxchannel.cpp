#include "engines/psk/receive/rxchannel.h"

#include <algorithm>
#include <cmath>

namespace psk {
namespace {

constexpr int kDecimTaps = 128;
// BPSK carrier loop, per symbol (with AFC the oscillator is its integrator). Wide enough to
// follow a phase that wanders a few tenths of a hertz over an HF path; on a steady signal that
// costs nothing measurable against a narrow one.
constexpr double kLoopAlpha = 0.25;  // proportional
constexpr double kLoopBeta = 0.01;   // integral
constexpr double kFllPull = 0.1;     // frequency assist while not locked
constexpr double kFllHold = 0.01;    // and once locked
constexpr double kPspHandover = 0.02; // share of the QPSK decoder's frequency moved to the oscillator
// Per symbol held well, of the way from where a QPSK signal was found to where the oscillator
// is: a signal drifting 1 Hz/s is 1.6 Hz ahead of it, well within how far it may be followed.
constexpr double kFoundFollow = 0.02;
constexpr double kIsi = 1.0 / 6.0;    // of each neighbouring symbol in a matched filter's sample
constexpr double kFastAmp = 0.3;      // the signal's amplitude over the last few symbols
constexpr double kFadeKnee = 0.7;     // and how far below the average it counts as a fade
constexpr int kOnsetSettle = 12;      // symbols of a signal out of silence decoded as idle
constexpr int kSettle = 4;            // symbols of a newly found signal decoded as idle
constexpr int kSearchMinimum = 128;   // decimated samples at a frequency before searching there
constexpr double kCopiedWell = 0.8;   // quality reading of a signal copied well (noise followed by
                                      // the loops reads up to about 0.7 now and then)
constexpr double kNoiseQuality = 0.3;  // quality readings of noise, and of a signal
constexpr double kSignalQuality = 0.6;
constexpr double kMaxFreeOmega = 2 * kPi * RxChannel::kFreePullHz / kBaud;
constexpr int kHeldLost = 4 * kSampleRate;             // with AFC, the station held (a fade is shorter)
constexpr int kGarbledReset = 2 * kSampleRate;         // nothing held this long without AFC: the loop is lost
constexpr double kLostQuality = 0.3;                   // (a quality reading below this holds nothing)
constexpr double kResetOmega = 2 * kPi * 1.0 / kBaud;  // if it has moved this far from where he tuned
constexpr double kRecoverStepHz = 0.25;                // steps in which the station's line is looked for
constexpr double kRecoverLine = 8.0;                   // a line this far over the noise beside it is its
constexpr double kNearHomeHz = 0.5;                    // lost this far from where the station was read, the loops are off it

} // namespace

RxChannel::RxChannel()
    : decimTaps_(lowPass(kDecimTaps, 150.0, kSampleRate)),
      decimBuf_(2 * kDecimTaps)
{
    // Matched filter: the raised-cosine pulse of the mode, two symbols long.
    double sum = 0;
    for (int i = 0; i < int(mfTaps_.size()); ++i) {
        double t = (i + 0.5) / double(mfTaps_.size());
        mfTaps_[i] = 0.5 * (1 - std::cos(2 * kPi * t));
        sum += mfTaps_[i];
    }
    for (double& v : mfTaps_)
        v /= sum;
    initSearch();
    // The matched filter leaves a sixth of each neighbouring symbol in every sample (the
    // pulse's autocorrelation one symbol away). A five-tap zero-forcing equaliser at symbol
    // spacing takes it out: solve sum_j e_j h_(i-j) = delta_i with h = (1/6, 1, 1/6).
    const double a = kIsi;
    double m[5][6] = {};
    for (int i = 0; i < 5; ++i) {
        m[i][i] = 1;
        if (i > 0)
            m[i][i - 1] = a;
        if (i < 4)
            m[i][i + 1] = a;
        m[i][5] = i == 2 ? 1 : 0;
    }
    for (int i = 0; i < 5; ++i)
        for (int r = 0; r < 5; ++r)
            if (r != i) {
                double f = m[r][i] / m[i][i];
                for (int c = 0; c < 6; ++c)
                    m[r][c] -= f * m[i][c];
            }
    for (int i = 0; i < 5; ++i)
        eqTaps_[i] = m[i][5] / m[i][i];
    viterbi_.setInterference(a);
    bpsk_.setInterference(a);
    nco_.setFrequency(setHz_);
}

void RxChannel::setFrequency(double hz, int afcRange)
{
    setHz_ = std::clamp(hz, 100.0, 3900.0);
    afcRange_ = std::max(0, afcRange);
    retune(setHz_);
    searchWanted_ = afcRange_ > 0;
    fresh_ = true;
    unlocked_ = 0;
    text_.reset();
    readable_.reset();
    home_ = false;
    taken_ = false;
    listening_ = false;
    parked_ = false;
    firmHz_ = 0;
    copiedFor_ = 0;
    quietFor_ = 0;
    steadyScore_ = 0;
    replyIdle_.clear();
    nearerIdle_.clear();
    nearerLine_.clear();
    watchBlocks_ = 0;
    replyBeside_ = 0;
    overSent_ = false;
    garbledFor_ = 0;
    readHz_ = setHz_;
}

void RxChannel::setSquelch(int threshold, int speed)
{
    threshold_ = threshold;
    speed_ = speed;
}

void RxChannel::setMode(int mode)
{
    RxMode m = mode >= 0 && mode <= 3 ? RxMode(mode) : RxMode::Bpsk;
    if (m == mode_)
        return;
    mode_ = m;
    viterbi_.reset();
    bpsk_.reset();
    varicode_.reset();
    text_.reset();
    readable_.reset();
}

void RxChannel::retune(double hz)
{
    nco_.setFrequency(hz);
    omega_ = 0;
    freePhase_ = 0;
    fadePhase_ = 0;
    acquire_ = 0;
    sinceRetune_ = 0;
    searchBuf_.fill(cplx(0, 0)); // mixed at the old frequency
    searchBlocks_ = 0;
    slowBlocks_ = 0;
    candidate_ = 0;
    slowRun_ = 0;
    candidateRun_ = 0;
    fllMean_ = 0;
}

double RxChannel::scaled(double q) const
{
    // The quality is the mean of cos(order x phase error). With phase noise of variance s2 that
    // is exp(-2 s2) in BPSK and exp(-8 s2) in QPSK, so the fourth root puts QPSK on the BPSK
    // scale: the same signal-to-noise ratio reads the same in both. Near zero (noise) the root
    // would magnify the wobble of the average, so there it runs straight to zero.
    if (mode_ != RxMode::Qpsk && mode_ != RxMode::QpskInverted)
        return q;
    constexpr double kKnee = 0.2;
    q = std::max(q, 0.0);
    return q >= kKnee ? std::pow(q, 0.25) : q * std::pow(kKnee, -0.75);
}

bool RxChannel::reading() const
{
    // (What the text meter read last stays for seconds after the loops have lost the signal, or
    // gone to a tone of a neighbour's idle, which completes no character.)
    return text_.copying() && text_.current() && text_.clean() && scaled(qualitySlow_) >= kLostQuality;
}

int RxChannel::level() const
{
    if (readable_.garbage() || onSideband_)
        return 0; // what is decoded reads as no text, or the loops hold a sideband: there is no
                  // signal it can copy
    double q = scaled(speed_ == 1 ? qualitySlow_ : qualityFast_);
    return int(std::lround(std::clamp(q, 0.0, 1.0) * 100));
}

void RxChannel::vectors(std::int32_t out[16]) const
{
    for (int i = 0; i < 8; ++i) {
        cplx v = vectors_[(vectorPos_ + i) % 8];
        out[2 * i] = std::int32_t(std::lround(std::clamp(v.imag(), -1.5, 1.5) * 2000));
        out[2 * i + 1] = std::int32_t(std::lround(std::clamp(v.real(), -1.5, 1.5) * 2000));
    }
}

void RxChannel::process(const float* samples, int n, RxOutput& out)
{
    const int taps = kDecimTaps;
    for (int i = 0; i < n; ++i) {
        cplx c = double(samples[i]) * nco_.next();
        decimBuf_[decimPos_] = c;
        decimBuf_[decimPos_ + taps] = c;
        if (++decimPos_ == taps)
            decimPos_ = 0;
        if (++decimPhase_ < kDecimation)
            continue;
        decimPhase_ = 0;
        // decimBuf_[decimPos_ .. decimPos_ + taps) holds the history, oldest first.
        const cplx* h = &decimBuf_[decimPos_];
        double re = 0, im = 0;
        for (int k = 0; k < taps; ++k) {
            re += decimTaps_[k] * h[k].real();
            im += decimTaps_[k] * h[k].imag();
        }
        decimated(cplx(re, im), out);
    }
    // A station copied is never left for another. While what is decoded reads as text,
    // nothing looks elsewhere: the watch for another signal's idle, the check for a carrier
    // beside the loops' (on a sideband the bits come out garbled) and the search that the
    // loss of the signal starts wait. Once a station has been read for a while (noise reads
    // as text that long about once in hours), it holds the channel until it goes quiet or the
    // operator tunes again: the loops stay with it while a neighbour drowns it, and a search
    // looks for it alone (reply.cpp).
    if (afcOn())
        holdOrRelease(n);
    if (searching()) {
        if (sinceRetune_ >= kSearchMinimum)
            acquire();
    } else if (!afcOn() && (mode_ == RxMode::Qpsk || mode_ == RxMode::QpskInverted) && sinceRetune_ >= kSearchMinimum) {
        fineSearch();
        freeRecover(n);
    } else if (afcOn()) {
        if (!home_ && !fresh_ && sinceRetune_ >= kSearchMinimum)
            watchNearer();
        if (!home_ && !(text_.copying() && text_.current()) && sinceRetune_ >= kSearchMinimum && scaled(qualitySlow_) < kCopiedWell)
            watchForIdle();
    }
    if (afcOn() && home_ && (mode_ == RxMode::Qpsk || mode_ == RxMode::QpskInverted) && sinceRetune_ >= int(searchBuf_.size()))
        heldRecover(n);
    // (A sideband decodes as text with every bit inverted, which has its letters too: without AFC,
    // where the loops may not move anyway, and with AFC until a station holds the channel, it is
    // looked for whatever the text reads like. A sideband's garbage, read for ten seconds, would
    // hold it.)
    const bool mayMove = (!home_ || taken_) && !parked_;
    if (mode_ == RxMode::Bpsk && !searching() && (!afcOn() || !text_.copying() || mayMove) && sinceRetune_ >= int(searchBuf_.size()) &&
        ++checkBlocks_ % 4 == 0)
        checkSideband();
}

void RxChannel::decimated(cplx z, RxOutput& out)
{
    imdBuf_[imdPos_] = z;
    imdPos_ = (imdPos_ + 1) % int(imdBuf_.size());
    ++sinceRetune_;
    searchBuf_[std::size_t(searchPos_)] = z;
    searchPos_ = (searchPos_ + 1) % int(searchBuf_.size());

    const int len = int(mfTaps_.size());
    mfBuf_[mfPos_] = z;
    mfBuf_[mfPos_ + len] = z;
    if (++mfPos_ == len)
        mfPos_ = 0;
    const cplx* h = &mfBuf_[mfPos_];
    double re = 0, im = 0;
    for (int k = 0; k < len; ++k) {
        re += mfTaps_[k] * h[k].real();
        im += mfTaps_[k] * h[k].imag();
    }
    cplx y(re, im);

    int slot = int(index_ % kDecimatedPerSymbol);
    energy_[slot] += 0.04 * (std::norm(y) - energy_[slot]);

    if (double(index_) >= nextStrobe_) {
        double frac = nextStrobe_ - double(index_ - 1);
        cplx ys = lastMf_ + (y - lastMf_) * std::clamp(frac, 0.0, 1.0);
        // Symbol timing: the energy peak of the matched filter output over one symbol.
        cplx centroid(0, 0);
        double total = 0;
        for (int k = 0; k < kDecimatedPerSymbol; ++k) {
            centroid += energy_[k] * std::polar(1.0, 2 * kPi * k / kDecimatedPerSymbol);
            total += energy_[k];
        }
        double adjust = 0;
        if (total > 0) {
            double confidence = std::abs(centroid) / total;
            double peak = std::arg(centroid) / (2 * kPi) * kDecimatedPerSymbol;
            double err = std::fmod(peak - nextStrobe_, double(kDecimatedPerSymbol));
            if (err > kDecimatedPerSymbol / 2.0)
                err -= kDecimatedPerSymbol;
            if (err < -kDecimatedPerSymbol / 2.0)
                err += kDecimatedPerSymbol;
            adjust = std::clamp(err * 0.25 * std::min(1.0, confidence * 4), -1.0, 1.0);
        }
        nextStrobe_ += kDecimatedPerSymbol + adjust;
        std::move(symbols_.begin() + 1, symbols_.end(), symbols_.begin());
        symbols_.back() = ys;
        cplx eq(0, 0);
        for (int k = 0; k < 5; ++k)
            eq += eqTaps_[k] * symbols_[k];
        symbol(eq, symbols_[2], out);
    }
    lastMf_ = y;
    ++index_;
}

void RxChannel::symbol(cplx y, cplx raw, RxOutput& out)
{
    const bool qpsk = mode_ == RxMode::Qpsk || mode_ == RxMode::QpskInverted;
    const int order = qpsk ? 4 : 2;
    double mag = std::abs(y);
    if (amp_ == 0 && mag > 0) {
        // A signal out of silence: its first symbol gives the carrier phase.
        settleUntil_ = symbolCount_ + kOnsetSettle;
        theta_ = std::arg(y);
        viterbi_.setCarrier(theta_ - freePhase_);
        prevDecision_ = cplx(1, 0);
        signalAmp_ = mag;
    }
    amp_ = amp_ == 0 ? mag : amp_ + 0.05 * (mag - amp_);
    if (amp_ <= 0)
        return;

    if (qpsk)
        theta_ = viterbi_.carrierPhase() + freePhase_; // the QPSK decoder tracks the carrier (see below)
    cplx c = y * std::polar(1.0, -theta_);
    const double inPhase = (raw * std::polar(1.0, -theta_)).real(); // before the loop moves on
    cplx decision;
    if (qpsk)
        decision = std::abs(c.real()) >= std::abs(c.imag()) ? cplx(c.real() >= 0 ? 1 : -1, 0)
                                                              : cplx(0, c.imag() >= 0 ? 1 : -1);
    else
        decision = cplx(c.real() >= 0 ? 1 : -1, 0);
    double err = std::arg(c * std::conj(decision));
    // The signal's own amplitude (noise averages out of it; so does what the neighbouring
    // symbols add before the equaliser, whatever the text).
    signalAmp_ += 0.02 * ((c * std::conj(decision)).real() - signalAmp_);

    // Carrier loop; with AFC the oscillator itself is the integrator.
    const bool afc = afcOn();
    // Frequency assist: the mean of the phase changes raised to the modulation order, used
    // only while it is coherent (so noise alone does not walk the frequency away).
    if (std::abs(prevY_) > 0 && mag > 0) {
        cplx d = y * std::conj(prevY_);
        cplx u = std::pow(d / std::abs(d), order) * std::polar(1.0, -order * (afc ? 0.0 : omega_));
        fllMean_ += (acquire_ > 0 ? 0.2 : 0.05) * (u - fllMean_);
    }
    double assist = 0;
    // Just after tuning it pulls hard; later only a clearly coherent estimate nudges.
    if (acquire_ > 0) {
        --acquire_;
        if (std::abs(fllMean_) > 0.5)
            assist = kFllPull * std::arg(fllMean_) / order;
    } else if (std::abs(fllMean_) > 0.6) {
        assist = std::clamp((scaled(qualitySlow_) < 0.5 ? kFllPull : kFllHold) * std::arg(fllMean_) / order, -0.02, 0.02);
    }
    theta_ = wrapPhase(theta_ + kLoopAlpha * err + (afc ? 0.0 : omega_));
    if (afc) {
        // QPSK: the decoder's own carrier estimate steers the oscillator (see below).
        // The assist measures the frequency apart from the decoder's loops, which may not have
        // found it yet: what it moves is left to them to follow.
        double pull = (qpsk ? 0.0 : kLoopBeta * err) + assist;
        nco_.setFrequency(followed(nco_.frequency() + pull * kBaud / (2 * kPi)));
    } else if (qpsk) {
        omega_ = std::clamp(omega_ + assist, -kMaxFreeOmega, kMaxFreeOmega);
    } else {
        omega_ = std::clamp(omega_ + kLoopBeta * err + assist, -kMaxFreeOmega, kMaxFreeOmega);
    }
    prevY_ = y;

    // Phase change against the previous decision, normalised.
    cplx z = c * std::conj(prevDecision_) / amp_;
    vectors_[vectorPos_] = z;
    vectorPos_ = (vectorPos_ + 1) % 8;
    bool reversal = (decision * std::conj(prevDecision_)).real() < -0.5;
    prevDecision_ = decision;

    double q = std::cos(order * err);
    qualityFast_ += 0.25 * (q - qualityFast_);
    qualitySlow_ += 0.06 * (q - qualitySlow_);
    // A signal out of the noise (or back from a fade) is read afresh: the characters noise made
    // before it say nothing of it.
    if (scaled(qualitySlow_) < kNoiseQuality) {
        noiseBefore_ = true;
    } else if (noiseBefore_ && scaled(qualitySlow_) > kSignalQuality) {
        noiseBefore_ = false;
        readable_.reset();
    }
    if (afcOn() && searchWanted_ && !fresh_ && !listening_ && scaled(qualitySlow_) > 0.6) {
        // The signal it lost has come back (a fade, or weak text): no need to look further.
        // (QPSK's reading wanders that high on noise now and then: the long average is kept for
        // the next search, which would otherwise never see a weak signal. Listening for a reply,
        // what the loops hold may be a line beside another signal's carrier: the search decides.)
        searchWanted_ = false;
        searchBlocks_ = 0;
        candidate_ = 0;
    }
    // (A loop on a steady tone completes no character: what it read last says nothing of it.)
    if (afcOn() && scaled(qualitySlow_) < 0.3 && !(text_.copying() && text_.current())) {
        if (++unlocked_ >= 24) {
            searchWanted_ = true;
            unlocked_ = 0;
        }
    } else {
        unlocked_ = 0;
    }

    // The decoders count the neighbouring symbols' share at the signal's amplitude over the
    // last few symbols: in a fade it falls below the average they scale by (they took the
    // neighbours' share for the symbol's own and lost the text through every deep fade).
    const double ref = std::max(signalAmp_, 1e-3 * amp_);
    fastAmp_ += kFastAmp * (mag - fastAmp_);
    const double level = std::clamp(fastAmp_ / (kFadeKnee * ref), 0.0, 1.0);
    int bit;
    if (qpsk) {
        // The decoder tracks the carrier itself, per survivor, so it takes the symbol as it
        // comes from the oscillator; with AFC the oscillator slowly takes over the frequency
        // the decoder has found, so the decoder's loops stay near the middle of their range.
        // It takes the matched filter's output as it is, with a sixth of each neighbouring
        // symbol in it: the decoder knows the previous symbol of every path and counts that
        // sixth in its metric, which loses less to the noise than an equaliser would.
        // Without AFC the same is done by turning the symbols by a frequency of our own,
        // within the few hertz the receiver may pull. (Over a fading path it decodes the phase
        // changes of the equalised symbols instead.)
        const cplx turn = std::polar(1.0, -freePhase_) / ref;
        viterbi_.setInterference(kIsi * level);
        bit = viterbi_.pushSymbol(raw * turn, y * turn, mode_ == RxMode::QpskInverted);
        if (afc) {
            // A signal held well may drift: where it was found moves along with it.
            if (scaled(qualitySlow_) > 0.5)
                foundHz_ += kFoundFollow * (nco_.frequency() - foundHz_);
            double hz = nco_.frequency() + kPspHandover * viterbi_.carrierFrequency() * kBaud / (2 * kPi);
            hz = followed(hz);
            viterbi_.shiftFrequency((hz - nco_.frequency()) * 2 * kPi / kBaud);
            nco_.setFrequency(hz);
        } else {
            freeFrequency(omega_ + kPspHandover * viterbi_.carrierFrequency());
            freePhase_ = wrapPhase(freePhase_ + omega_);
        }
    } else {
        // The detector without a loop takes the symbols as the oscillator gives them (without
        // AFC turned by the loop's frequency).
        if (!afc)
            fadePhase_ = wrapPhase(fadePhase_ + omega_);
        bit = bpsk_.push(inPhase / ref, level, c, y * std::polar(1.0 / amp_, -fadePhase_));
    }

    // The decoder's bits lag the signal by its delay; so does the squelch that lets them out.
    // With AFC nothing is let out before a signal has been found: until then the bits are noise.
    squelchHistory_[symbolCount_ % squelchHistory_.size()] = squelchOpen() && !(afcOn() && fresh_);
    const std::uint64_t delay = decoderDelay();
    ncoAt_[symbolCount_ % ncoAt_.size()] = nco_.frequency();
    ++symbolCount_;
    if (symbolCount_ > delay)
        letOut(bit, symbolCount_ - 1 - delay, out);

    reversalRun_ = reversal ? reversalRun_ + 1 : 0;
    if (reversalRun_ >= 20 && (reversalRun_ - 20) % 16 == 0)
        measureImd(out);
}

std::uint64_t RxChannel::decoderDelay() const
{
    return mode_ == RxMode::Qpsk || mode_ == RxMode::QpskInverted ? QpskDecoder::kDelay : BpskDetector::kDelay;
}

void RxChannel::letOut(int bit, std::uint64_t source, RxOutput& out)
{
    const bool open = squelchHistory_[source % squelchHistory_.size()];
    // The first symbols of a signal, while the loops settle, count as idle.
    if (source < settleUntil_)
        bit = 0;
    text_.push(bit);
    readable_.push(bit);
    // Whatever the bits were before the squelch opened, the first character printed is one
    // that starts after a gap.
    if (open && !wasOpen_)
        varicode_.resync();
    wasOpen_ = open;
    int ch = varicode_.push(bit);
    if (ch >= 0 && open)
        out.chars.push_back(ch);
    // Where the loops were when the symbols of a character of text came: the decoder lets it
    // out more than a second later, when they may have gone to a tone beside the station.
    if (((ch >= 32 && ch <= 126) || ch >= 192) && reading())
        readHz_ = ncoAt_[source % ncoAt_.size()];
}

void RxChannel::flush(RxOutput& out)
{
    // The decoder still holds the bits of its last symbols: those its paths agree on are let
    // out, up to the first it has not decided (the newest are not, without the symbols after
    // them). A character cut off by the end stays unprinted: without the gap after it, it may be
    // the start of a longer one.
    const std::uint64_t delay = decoderDelay();
    const bool qpsk = mode_ == RxMode::Qpsk || mode_ == RxMode::QpskInverted;
    for (std::uint64_t k = std::min(delay, symbolCount_); k-- > 0;) {
        const int bit = qpsk ? viterbi_.pendingBit(int(k)) : bpsk_.pendingBit(int(k));
        if (bit < 0)
            break;
        letOut(bit, symbolCount_ - 1 - k, out);
    }
}

void RxChannel::restart(double phase)
{
    // A new signal: what was decoded before it is noise, and its first character starts after
    // the first gap. The loops start on the carrier measured.
    viterbi_.reset();
    viterbi_.setCarrier(phase);
    bpsk_.reset();
    varicode_.resync();
    readable_.reset();
    onSideband_ = false;
    theta_ = phase;
    settleUntil_ = symbolCount_ + kSettle;
}

bool RxChannel::lostFor(int n, bool lost, bool held, int samples)
{
    garbledFor_ = lost ? garbledFor_ + n : held ? 0 : garbledFor_;
    if (garbledFor_ < samples)
        return false;
    garbledFor_ = 0;
    return true;
}

bool RxChannel::stationLine(double around, double width, double& hz) const
{
    // QPSK's carrier within width of around: its fourth-order line (text has one as well as the
    // idle), if it stands clear of the noise.
    double best = 0, noise = 0;
    int steps = 0;
    for (double f = -width; f <= width + 1e-9; f += kRecoverStepHz, ++steps) {
        double n4 = 0;
        const double p = std::norm(lines(4, around + f, true, n4)[1]);
        noise += n4;
        if (p > best) {
            best = p;
            hz = around + f;
        }
    }
    return best > kRecoverLine * noise / steps;
}

void RxChannel::freeRecover(int n)
{
    // Without AFC the operator tuned the station: a loop that a strong neighbour has dragged off
    // it (as far as the few hertz it may pull) and that has held nothing for seconds goes to the
    // station's carrier, or back to where he tuned, and pulls in afresh. (The station's text has
    // no idle in it by which the fine search could find it again.)
    // (Lost: what they decode reads as no text, or as garbage, and the quality reading is noise's.)
    const double q = scaled(qualitySlow_);
    const bool lost = !(text_.copying() && text_.current()) && (q < kLostQuality || (text_.garbage() && q < kSignalQuality));
    if (!lostFor(n, lost, !lost, kGarbledReset) || std::abs(omega_ + viterbi_.carrierFrequency()) < kResetOmega)
        return;
    double hz = 0;
    omega_ = stationLine(nco_.frequency(), kFreePullHz, hz) ? 2 * kPi * (hz - nco_.frequency()) / kBaud : 0.0;
    restart(theta_);
}

void RxChannel::heldRecover(int n)
{
    // The same with AFC for the QPSK station that holds the channel: a strong neighbour beside
    // it can leave the loops a hertz or two off where it was read (on a tone of the neighbour's
    // idle half a symbol rate away, which reads as a clean signal), farther than they pull in by
    // themselves at a weak station's quality. Lost there for seconds, they go to its carrier if
    // it is clear, or back to where it was read; lost nearer, back to where it was read (half a
    // hertz off, a weak station's loops were still lost ten seconds after the neighbour).
    // (Beside the station the quality reading wanders as high as a weak signal's now and then:
    // lost is anything but text read, short of a signal's reading, and such a reading only holds
    // the count where it is. Where it was read stays: a line that noise or a neighbour lifted
    // near it would lead the loops from there to the next. But garbage reads as clean text for a
    // moment now and then, where it was read went with loops that read it a hertz or two off, and
    // after the neighbour had stopped the station lay beyond their reach from there: lost, where
    // it was last read well is where it is.)
    constexpr double kResetHz = kResetOmega * kBaud / (2 * kPi);
    const bool lost = !reading() && scaled(qualitySlow_) < kSignalQuality;
    if (!lostFor(n, lost, reading(), kHeldLost))
        return;
    if (firmHz_ > 0 && std::abs(firmHz_ - homeHz_) >= kResetHz)
        homeHz_ = firmHz_;
    const double off = std::abs(nco_.frequency() - homeHz_);
    if (off < kNearHomeHz)
        return;
    double hz = homeHz_, phase = theta_;
    const bool measured = off < kResetHz || stationLine(homeHz_, kHeldHz, hz);
    if (!measured)
        hz = homeHz_;
    if (std::abs(hz - nco_.frequency()) < (off < kResetHz ? kNearHomeHz : kResetHz))
        return;
    if (measured) {
        double noise = 0;
        phase = std::arg(lines(4, hz, true, noise)[1]) / 4;
    }
    startOn(hz, phase);
    searchWanted_ = false;
    searchBlocks_ = 0;
    candidate_ = 0;
}

void RxChannel::freeFrequency(double w)
{
    w = std::clamp(w, -kMaxFreeOmega, kMaxFreeOmega);
    viterbi_.shiftFrequency(w - omega_);
    omega_ = w;
}

void RxChannel::measureImd(RxOutput& out)
{
    // Over the last 16 symbols of idle reversals the two tones sit at +-15.625 Hz and the
    // third-order products at +-46.875 Hz: bins 8 and 24 of a 256-point transform at 500/s.
    const int n = int(imdBuf_.size());
    auto power = [&](int bin) {
        cplx acc(0, 0);
        for (int i = 0; i < n; ++i)
            acc += imdBuf_[(imdPos_ + i) % n] * std::polar(1.0, -2 * kPi * bin * i / n);
        return std::norm(acc);
    };
    double tones = (power(8) + power(-8)) / 2;
    double products = (power(24) + power(-24)) / 2;
    double noise = (power(16) + power(-16)) / 2;
    if (tones <= 0 || tones < 30 * noise)
        return;
    double distortion = std::max(products - noise, noise);
    int db = int(std::lround(10 * std::log10(distortion / tones)));
    out.imd.push_back(std::clamp(db, -99, 0));
}

} // namespace psk

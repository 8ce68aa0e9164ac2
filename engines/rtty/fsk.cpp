#include "engines/rtty/fsk.h"

#include "engines/rtty/baudot.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace rtty {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kScopeGain = 60000; // a clean tone reaches about 40 pixels on the XY scope
constexpr double kAfcStepLimitHz = 5;
constexpr double kTimingPull = 0.3;
// How far a tone's level may wander from one bit to the next on a fading path, of itself.
constexpr double kLevelWander = 0.1;
// How far the difference between the tones' levels must stand above their uncertainty to be
// believed (in variances).
constexpr double kLevelDoubt = 4;
// A frame whose stronger tone is this many times the noise's envelope is clear of the noise.
constexpr double kClearOfNoise = 3;
// The clarity (see clarityAt) from which on the level rises above 0 (noise alone gives about
// 0.3, and 0.6 in a few frames of a thousand), and that of a clean signal (the filters' overlap
// and the bits' edges keep it below 1), where the level is full.
constexpr double kNoiseClarity = 0.54, kCleanClarity = 0.85;
// A character this many times stronger than the steady text followed, after noise, begins a
// new signal.
constexpr double kNewSignal = 4;
// A level's spread (variance) while it is not known.
constexpr double kUnknownLevel = 1e12;
// A signal begins where a character of this quality follows one below that.
constexpr double kBeginAt = 0.5, kBeginBelow = 0.1;
// How many characters the clock of steady text runs on through a fade.
constexpr int kClockChars = 16;
// The squelch weighs whether a signal is there over several characters: each character adds
// how far its clarity stands above kEvidenceMid (in kEvidenceWidth, at most kEvidenceStep
// either way), a little more in step with the one before and less out of step; the sum is
// kept between 0 and kEvidenceMax. A signal is there from a character of kOpenQuality whose
// stronger tone is kOpenStrength times the noise's envelope (or from a sum of kOpenEvidence)
// until the sum falls to 0. Noise alone gives a clarity about 0.33, and such a character in
// about one frame of 10,000.
constexpr double kEvidenceMid = 0.47, kEvidenceWidth = 0.05, kEvidenceStep = 4;
constexpr double kInStepEvidence = 0.5, kOutOfStepEvidence = 1;
constexpr double kEvidenceMax = 10, kOpenEvidence = 8, kOpenedEvidence = 5;
constexpr double kOpenQuality = 0.15, kOpenStrength = 3.5;
// The level shown while a signal is there: at least kPresent (the squelch line's default
// place), and how far its bits stand out of the noise, from kGradeFromDb (noise alone) over
// kGradeSpanDb (a clean signal, whose filters' overlap and bits' edges leave a spread of about
// 35 dB).
constexpr double kPresent = 0.2;
constexpr double kGradeFromDb = 8, kGradeSpanDb = 28;

} // namespace

// ---- Biquad ----

void Biquad::notch(double hz, double q)
{
    const double w0 = 2 * kPi * hz / kSampleRate;
    const double alpha = std::sin(w0) / (2 * q);
    const double a0 = 1 + alpha;
    b0_ = 1 / a0;
    b1_ = -2 * std::cos(w0) / a0;
    b2_ = 1 / a0;
    a1_ = -2 * std::cos(w0) / a0;
    a2_ = (1 - alpha) / a0;
}

void Biquad::bandPass(double hz, double q)
{
    const double w0 = 2 * kPi * hz / kSampleRate;
    const double alpha = std::sin(w0) / (2 * q);
    const double a0 = 1 + alpha;
    b0_ = alpha / a0;
    b1_ = 0;
    b2_ = -alpha / a0;
    a1_ = -2 * std::cos(w0) / a0;
    a2_ = (1 - alpha) / a0;
}

float Biquad::process(float x)
{
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return static_cast<float>(y);
}

// ---- demodulator ----

void FskDemodulator::Tone::setFrequency(double f)
{
    hz = f;
    step = std::polar(1.0, 2 * kPi * f / kSampleRate);
}

FskDemodulator::cplx FskDemodulator::Tone::next(float x, int pos)
{
    const cplx v = static_cast<double>(x) * std::conj(phasor);
    phasor *= step;
    if (pos == 0)
        phasor /= std::abs(phasor);
    sum += v - ring[static_cast<size_t>(pos)];
    ring[static_cast<size_t>(pos)] = v;
    pastPos = (pastPos + 1) % kLag;
    last = past[static_cast<size_t>(pastPos)];
    past[static_cast<size_t>(pastPos)] = sum;
    return sum;
}

FskDemodulator::FskDemodulator()
{
    setBaud(kDefaultBaud);
    setTones(markHz_, spaceHz_);
}

void FskDemodulator::setTones(double markHz, double spaceHz)
{
    markHz_ = markHz;
    spaceHz_ = spaceHz;
    mark_.setFrequency(markHz);
    space_.setFrequency(spaceHz);
    if (bandPassOn_)
        setBandPass(true);
}

void FskDemodulator::setBaud(double baud)
{
    if (!usableBaud(baud))
        return;
    baud_ = baud;
    bitSamples_ = kSampleRate / baud;
    filterLength_ = std::max(8, static_cast<int>(std::lround(bitSamples_)));
    resize();
}

void FskDemodulator::resize()
{
    for (Tone* t : {&mark_, &space_}) {
        t->ring.assign(static_cast<size_t>(filterLength_), cplx{});
        t->sum = t->last = cplx{};
        t->past.fill(cplx{});
    }
    pos_ = 0;
    // A frame and the search window around its edge: about ten bits.
    size_t size = 1024;
    while (static_cast<double>(size) < 12 * bitSamples_ + 64)
        size *= 2;
    markRing_.assign(size, 0.0f);
    spaceRing_.assign(size, 0.0f);
    ringMask_ = static_cast<long long>(size) - 1;
    now_ = scan_ = earliest_ = lastFrame_ = 0;
    clarity_ = squelchLevel_ = lastQuality_ = 0;
    present_ = began_ = false;
    evidence_ = grade_ = 0;
    lastPresent_ = noiseUntil_ = 0;
    pending_ = lastEdge_ = clockNext_ = -1;
    inStepRun_ = clockMisses_ = unheard_ = 0;
    misfit_ = false;
    strength_ = 0;
    period_ = 7.5 * bitSamples_;
    periodGaps_ = 0;
    senderBit_ = bitSamples_;
    markLevel_ = spaceLevel_ = markSpread_ = spaceSpread_ = noiseMean_ = noiseVar_ = 0;
    noiseBits_ = 0;
    weigh();
}

void FskDemodulator::restart()
{
    present_ = false;
    evidence_ = 0;
    pending_ = lastEdge_ = clockNext_ = -1;
    inStepRun_ = clockMisses_ = unheard_ = 0;
    misfit_ = false;
    period_ = 7.5 * bitSamples_;
    periodGaps_ = 0;
    senderBit_ = bitSamples_;
    earliest_ = now_ + filterLength_;
    scan_ = earliest_;
}

void FskDemodulator::setBandPass(bool on)
{
    bandPassOn_ = on;
    const double centre = (markHz_ + spaceHz_) / 2;
    const double width = std::abs(spaceHz_ - markHz_) + 2 * baud_;
    if (on && centre > 0 && width > 0)
        bandPass_.bandPass(centre, centre / width);
}

void FskDemodulator::setNotch(bool on, double hz)
{
    notchOn_ = on && hz > 0 && hz < kSampleRate / 2;
    if (notchOn_)
        notch_.notch(hz, 10);
}

int FskDemodulator::level() const
{
    return static_cast<int>(std::lround(std::clamp(squelchLevel_, 0.0, 1.0) * 1024));
}

void FskDemodulator::scope(std::int32_t* x, std::int32_t* y) const
{
    for (int i = 0; i < kScopePoints; ++i) {
        const int at = (scopePos_ + i) % kScopePoints;
        x[i] = scopeX_[static_cast<size_t>(at)];
        y[i] = scopeY_[static_cast<size_t>(at)];
    }
}

void FskDemodulator::process(const float* samples, int n, std::vector<std::uint8_t>& codes)
{
    const double alpha = 1.0 / bitSamples_;
    const double length = filterLength_;
    for (int i = 0; i < n; ++i) {
        float x = samples[i];
        // A run of samples below one step of 16 bits is digital silence, not band noise.
        if (std::abs(x) < 1) {
            ++silentRun_;
        } else {
            if (silentRun_ >= 8)
                signalFrom_ = now_;
            silentRun_ = 0;
        }
        if (notchOn_)
            x = notch_.process(x);
        if (bandPassOn_)
            x = bandPass_.process(x);
        power_ += (static_cast<double>(x) * x - power_) * alpha;
        const cplx zm = mark_.next(x, pos_) / length;
        const cplx zs = space_.next(x, pos_) / length;
        pos_ = (pos_ + 1) % filterLength_;
        const double am = std::abs(zm), as = std::abs(zs);
        const double rms = std::sqrt(power_);
        // A clean tone of amplitude A gives A/2 out of its filter and A/sqrt(2) of input rms.
        const double instant = rms > 1 ? std::min(1.0, (am + as) * std::sqrt(2.0) / rms) : 0.0;
        levelAvg_ += (instant - levelAvg_) * alpha / 4;
        // Between characters (a steady tone, silence, noise no frame fits) the level follows how
        // clearly one tone sounds at a time.
        clarity_ += (std::abs(am - as) / (am + as + 1e-9) - clarity_) * alpha / 4;
        if (now_ - lastFrame_ > 2 * period_) {
            // No character for a while: a steady tone keeps a signal there, silence lets it go
            // within a second or two.
            const double steady = qualityOf(clarity_);
            if (steady < kBeginBelow && (evidence_ -= kEvidenceMax / kSampleRate) <= 0) {
                evidence_ = 0;
                present_ = false;
            }
            // The level shows how clearly the one tone sounds.
            squelchLevel_ += (steady - squelchLevel_) * alpha / 4;
        }

        const double norm = rms > 1 ? kScopeGain / rms : 0.0;
        scopeX_[static_cast<size_t>(scopePos_)] = static_cast<std::int32_t>(std::lround((zm * mark_.phasor).real() * norm));
        scopeY_[static_cast<size_t>(scopePos_)] = static_cast<std::int32_t>(std::lround((zs * space_.phasor).real() * norm));
        scopePos_ = (scopePos_ + 1) % kScopePoints;

        // Frequency error of whichever tone is clearly on, for the AFC.
        const double raw = (am - as) / (am + as + 1e-9);
        if (afc_ && std::abs(raw) > 0.6) {
            const Tone& t = raw > 0 ? mark_ : space_;
            const double errorHz = std::arg(t.sum * std::conj(t.last)) * kSampleRate / (2 * kPi * Tone::kLag);
            afcError_ += (errorHz - afcError_) * 0.005;
        }
        markRing_[static_cast<size_t>(now_ & ringMask_)] = static_cast<float>(reverse_ ? as : am);
        spaceRing_[static_cast<size_t>(now_ & ringMask_)] = static_cast<float>(reverse_ ? am : as);
        ++now_;
        frame(codes);
    }
}

long long FskDemodulator::bitAt(long long edge, int k) const
{
    // The filter has seen bit k whole one bit after the bit began.
    return edge + static_cast<long long>(std::lround((k + 1) * senderBit_)) - 1;
}

// The search for characters runs behind the newest sample: a start bit is looked for from
// `scan_` on; once the frame it begins could be complete, it is fitted and checked.
void FskDemodulator::frame(std::vector<std::uint8_t>& codes)
{
    const long long half = filterLength_ / 2;
    const auto need = static_cast<long long>(std::lround(8.5 * bitSamples_)) + 2;
    for (;;) {
        if (pending_ >= 0) {
            if (now_ <= pending_ - half + need)
                return; // the frame is not complete yet
            const long long at = std::exchange(pending_, -1);
            evaluate(at, codes);
            continue;
        }
        scan_ = std::max(scan_, earliest_ + half);
        if (scan_ >= now_)
            return;
        if (scan_ < now_ - ringMask_ + static_cast<long long>(std::lround(bitSamples_ * 2)))
            scan_ = now_ - ringMask_ + static_cast<long long>(std::lround(bitSamples_ * 2));
        while (scan_ < now_ && soft(scan_) >= 0)
            ++scan_;
        if (scan_ >= now_)
            return;
        pending_ = scan_; // the soft value turned to space: perhaps a start bit
    }
}

// The fit of a frame whose start bit begins at `edge`: mark before, space start bit, decided
// data bits and mark stop bit; lowest when the start and stop bits do not check.
double FskDemodulator::fitAt(long long edge, bool fresh) const
{
    const float start = soft(bitAt(edge, 0)), stop = soft(bitAt(edge, 6));
    if (!(start < 0 && stop > 0) || (fresh && !beginsHere(edge)))
        return -1e300;
    double fit = soft(edge - 1) - start + stop;
    for (int k = 1; k <= 5; ++k)
        fit += std::abs(soft(bitAt(edge, k)));
    return fit;
}

// A character looked for afresh begins as a signal's does: not inside a steady space tone (the
// bit before its start bit is not space as strong as the start bit), and not in the noise
// before a signal (its start bit is not much weaker than the bits after it; with no signal
// there, it and the mark before it also stand clear of the noise, which often reaches half a
// signal's first bits).
bool FskDemodulator::beginsHere(long long edge) const
{
    if (soft(edge - 1) < 0.5f * soft(bitAt(edge, 0)))
        return false;
    auto strength = [this, edge](int k) {
        const auto at = static_cast<size_t>(bitAt(edge, k) & ringMask_);
        return std::max(markRing_[at], spaceRing_[at]);
    };
    double after = 0;
    for (int k = 1; k <= 6; ++k)
        after += strength(k);
    if (strength(0) < 0.5 * after / 6)
        return false;
    const double noise = kClearOfNoise * noiseLevel();
    return present_ || (strength(0) >= noise && markRing_[static_cast<size_t>((edge - 1) & ringMask_)] >= noise);
}

long long FskDemodulator::bestEdge(long long from, long long to, double* fit, bool fresh) const
{
    double bestFit = -1e300;
    long long best = -1;
    for (long long e = from; e <= to; ++e) {
        const double f = fitAt(e, fresh);
        if (f > bestFit) {
            bestFit = f;
            best = e;
        }
    }
    if (fit)
        *fit = bestFit;
    return best;
}

// The mean envelope of the stronger tone over the bits of the frame at `edge`: low in a fade.
double FskDemodulator::strengthAt(long long edge) const
{
    double sum = 0;
    for (int k = 0; k <= 6; ++k) {
        const auto at = static_cast<size_t>(bitAt(edge, k) & ringMask_);
        sum += std::max(markRing_[at], spaceRing_[at]);
    }
    return sum / 7;
}

// Fits a frame to the start bit seen at `trigger` (half a filter after its edge, roughly): the
// edge is moved over a bit and a half for the best fit of mark before, space start bit,
// decided data bits and mark stop bit. A fit whose start and stop bits check gives a character.
// In steady text the characters' clock runs on where no start bit is heard (a fade): the next
// frame is looked for where the clock puts it, so that the text comes back in step with the
// signal.
bool FskDemodulator::evaluate(long long trigger, std::vector<std::uint8_t>& codes)
{
    const long long half = filterLength_ / 2;
    const auto bit = static_cast<long long>(std::lround(bitSamples_));
    const long long guess = trigger - half;
    long long best = -1;
    bool weak = false;
    if (clockNext_ >= 0 && std::abs(guess - clockNext_) < bit / 2) {
        const long long expected = std::exchange(clockNext_, -1);
        const double heard = strengthAt(expected);
        if (heard > kNewSignal * strength_ && lastQuality_ < kBeginBelow) {
            // Far stronger than the steady text followed, after characters no clearer than
            // noise: a signal begins, whose characters the clock of the noise does not know.
            lastEdge_ = -1;
            inStepRun_ = clockMisses_ = 0;
            misfit_ = false;
            earliest_ = expected - bit / 2;
            scan_ = earliest_ + half;
            return false;
        }
        weak = heard < 0.5 * strength_;
        if (weak) {
            // In a fade (weak bits) the clock runs on: the frame is where it says, and a
            // character is taken only if its start and stop bits check.
            if (++clockMisses_ > kClockChars) {
                lastEdge_ = -1;
                earliest_ = expected - bit / 2;
                scan_ = earliest_ + half;
                return false;
            }
            best = fitAt(expected) > -1e300 ? expected : -1;
            // A character heard clear of the noise where the clock says is no miss, and the
            // strength of steady text follows it down: a signal that began on a peak, or a
            // long shallow fade, is not taken for a fade in which only the clock is kept.
            const double heard = strengthAt(expected);
            if (best >= 0 && heard > kClearOfNoise * noiseMean_) {
                clockMisses_ = 0;
                strength_ += (heard - strength_) * 0.1;
            }
            if (best < 0) {
                followLevels(expected); // the levels follow the fade all the same
                ++unheard_;
            }
            lastEdge_ = expected;
            ++runPeriods_;
            clockNext_ = expected + std::llround(period_);
            pending_ = clockNext_ + half;
            earliest_ = expected + static_cast<long long>(std::lround(6.75 * bitSamples_));
            scan_ = earliest_ + half;
            if (best < 0)
                return false;
        } else {
            best = bestEdge(expected - bit / 4 + 1, expected + bit / 4 - 1, nullptr);
            if (best < 0 && !misfit_) {
                // A strong frame that does not fit, once (a fade's edge, a burst of noise):
                // the clock runs on. Where only its start or its stop bit was turned by the
                // noise, its data bits are most likely right and the character is given.
                misfit_ = true;
                lastEdge_ = expected;
                ++runPeriods_;
                clockNext_ = expected + std::llround(period_);
                pending_ = clockNext_ + half;
                earliest_ = expected + static_cast<long long>(std::lround(6.75 * bitSamples_));
                scan_ = earliest_ + half;
                const bool oneTurned = (soft(bitAt(expected, 0)) < 0) != (soft(bitAt(expected, 6)) > 0);
                if (oneTurned) {
                    give(expected, false, false, codes);
                    return true;
                }
                ++unheard_;
                return false;
            }
            if (best < 0) {
                // A strong signal that does not fit the clock twice (the sender paused, or went
                // on out of step) is looked for afresh.
                misfit_ = false;
                lastEdge_ = -1;
                earliest_ = expected - bit / 2;
                scan_ = earliest_ + half;
                return false;
            }
            clockMisses_ = 0;
            misfit_ = false;
        }
    } else {
        // The mark before the start bit must be signal: an edge out of digital silence (the
        // filters filling with the first tone) begins no character.
        const long long from = std::max({earliest_, guess - bit / 2, signalFrom_ + filterLength_ + 1});
        const long long to = guess + bit;
        best = bestEdge(from, to, nullptr, true);
        if (best < 0) {
            // No character begins here: look again behind the edges tried.
            earliest_ = to + 1;
            scan_ = earliest_ + half;
            return false;
        }
    }
    if (weak) {
        give(best, false, true, codes);
        return true;
    }
    // With no signal there, a character no clearer than noise takes no room from the next (a
    // signal's first start bit may lie under it), but one under it is not given again.
    const bool noise = !present_ && quality(best) < kBeginBelow;
    if (noise && best < noiseUntil_) {
        earliest_ = best + bit / 2;
        scan_ = earliest_ + half;
        return false;
    }
    // A clear character, twice as strong as the steady text followed, after one no clearer
    // than noise begins a signal, and so does one clear of the noise after a second or more
    // with no signal there: what noise made of the period, the tones' levels and the strength
    // of steady text is forgotten.
    const bool begins = !present_ && now_ - lastPresent_ > static_cast<long long>(kSampleRate) && nearness(best) >= 1;
    if (begins || (lastQuality_ < kBeginBelow && quality(best) >= kBeginAt && strengthAt(best) > 2 * strength_)) {
        period_ = 7.5 * bitSamples_;
        periodGaps_ = 0;
        strength_ = 0;
        markLevel_ = spaceLevel_ = 0;
        lastEdge_ = -1;
    }
    // In steady text each start bit follows the one before by the same period: an edge found
    // near where it was expected is pulled toward it, which steadies the timing in noise.
    // Characters of noise alone are never in step.
    bool inStep = false;
    if (lastEdge_ >= 0 && !noise) {
        const double gap = static_cast<double>(best - lastEdge_);
        const double dev = gap - period_;
        if (std::abs(dev) < bitSamples_ / 4) {
            // The period is measured over the whole run of steady text (the characters the
            // clock ran through a fade included): the longer the run, the closer, so that it
            // is right within a few characters of the signal's start.
            const double n = ++runPeriods_;
            const double measured = static_cast<double>(best - runStart_) / n;
            if (std::abs(measured / period_ - 1) < 0.03)
                period_ += (measured - period_) * n * n / (n * n + 9);
            inStep = true;
        } else if (gap > 6.8 * bitSamples_ && gap < 8.2 * bitSamples_) {
            // Out of step by more than the timing's noise: a sender of other stop bits.
            ++periodGaps_;
            period_ += (gap - period_) * std::max(0.1, 1.0 / (periodGaps_ + 1));
        }
        // A sender of one and a half stop bits a little off the rate: its bits are as long as
        // its characters say.
        const double bitOfPeriod = period_ / 7.5;
        senderBit_ = std::abs(bitOfPeriod / bitSamples_ - 1) < 0.03 ? bitOfPeriod : bitSamples_;
        if (inStep)
            best = lastEdge_ + std::llround(period_ + dev * kTimingPull);
    }
    if (!inStep) {
        runStart_ = best;
        runPeriods_ = 0;
    }
    inStepRun_ = inStep ? inStepRun_ + 1 : 0;
    lastEdge_ = best;
    const double strength = strengthAt(best);
    if (inStep)
        strength_ += (strength - strength_) * 0.1;
    else if (strength > strength_)
        strength_ = strength;
    give(best, inStep, false, codes);
    // The next start bit comes after at least one stop bit (a little less, for a fast sender);
    // in steady text the clock says where.
    const auto stop = static_cast<long long>(std::lround(6.75 * bitSamples_));
    earliest_ = best + (noise && !present_ ? bit / 2 : stop);
    if (noise)
        noiseUntil_ = best + stop;
    scan_ = earliest_ + half;
    // (A signal's first character sets the clock for the next.)
    if (present_ && (inStepRun_ >= 2 || begins)) {
        clockNext_ = best + std::llround(period_);
        pending_ = clockNext_ + half;
    }
    return true;
}

// Decides the data bits of the frame at `edge` and gives the character; the AFC follows one
// in step with the one before whose tone stands well above the noise (noise gives few such).
// A shift read in a fade from bits hardly above the noise is left out: a false one would turn
// the text after the fade into figures.
void FskDemodulator::give(long long edge, bool inStep, bool faded, std::vector<std::uint8_t>& codes)
{
    const std::uint8_t code = followLevels(edge);
    lastQuality_ = quality(edge);
    lastFrame_ = now_;
    weighPresence(edge, inStep);
    const bool open = passes();
    const bool aboveNoise = strengthAt(edge) > kClearOfNoise * noiseMean_;
    if (faded && !aboveNoise && (code == kLtrs || code == kFigs))
        return;
    if (open) {
        // Characters the fade took may have held a space or a letters shift, and a signal
        // begins in letters whatever noise made of the shift before: the text goes on in
        // letters, the likelier case (as unshift-on-space has it).
        const bool lost = !faded && std::exchange(unheard_, 0) >= 2;
        if ((lost || std::exchange(began_, false)) && code != kLtrs && code != kFigs)
            codes.push_back(kLtrs);
        codes.push_back(code);
        if (inStep && aboveNoise)
            followTones();
    }
}

// How clearly one tone at a time sounds in the frame at `edge`: about 0.3 on noise alone (two
// tones of independent noise), near 1 on a clean signal.
double FskDemodulator::clarityAt(long long edge) const
{
    double sum = 0;
    for (int k = 0; k <= 6; ++k) {
        const auto at = static_cast<size_t>(bitAt(edge, k) & ringMask_);
        const double m = markRing_[at], s = spaceRing_[at];
        sum += std::abs(m - s) / (m + s + 1e-9);
    }
    return sum / 7;
}

bool FskDemodulator::passes() const
{
    if (squelch_ <= 0)
        return true;
    return squelch_ < 100 && squelchLevel_ * 100 >= squelch_ - 1e-6;
}

void FskDemodulator::weighPresence(long long edge, bool inStep)
{
    const double c = clarityAt(edge);
    double e = std::clamp((c - kEvidenceMid) / kEvidenceWidth, -kEvidenceStep, kEvidenceStep);
    e += inStep ? kInStepEvidence : -kOutOfStepEvidence;
    evidence_ = std::clamp(evidence_ + e, 0.0, kEvidenceMax);
    const double near = nearness(edge);
    const bool clear = near >= 1;
    if (!present_ && (clear || evidence_ >= kOpenEvidence)) {
        // after a second or more with no signal there, a signal begins
        began_ = now_ - lastPresent_ > static_cast<long long>(kSampleRate);
        present_ = true;
        evidence_ = std::max(evidence_, kOpenedEvidence);
        grade_ = gradeAt(edge);
    } else if (present_) {
        grade_ += (gradeAt(edge) - grade_) * 0.25;
        present_ = evidence_ > 0;
    }
    if (present_)
        lastPresent_ = now_;
    squelchLevel_ = present_ ? std::max(kPresent, grade_) : kPresent * 0.99 * near;
}

double FskDemodulator::nearness(long long edge) const
{
    if (noiseBits_ == 0)
        return 0; // the noise not read yet
    return std::min(1.0, quality(edge) / kOpenQuality) * std::min(1.0, strengthAt(edge) / (kOpenStrength * noiseLevel() + 1e-9));
}

double FskDemodulator::noiseLevel() const
{
    // its mean starts from 0 (and 0 before any bit was read)
    return noiseBits_ == 0 ? 0 : noiseMean_ / (1 - std::pow(0.95, noiseBits_));
}

double FskDemodulator::gradeAt(long long edge) const
{
    double sum = 0, squares = 0;
    for (int k = 0; k <= 6; ++k) {
        const auto at = static_cast<size_t>(bitAt(edge, k) & ringMask_);
        const double on = std::max(markRing_[at], spaceRing_[at]);
        sum += on;
        squares += on * on;
    }
    const double mean = sum / 7, spread = std::max(squares / 7 - mean * mean, 0.0);
    const double db = -10 * std::log10(std::max(spread / (mean * mean + 1e-12), 1e-6));
    return std::clamp((db - kGradeFromDb) / kGradeSpanDb, 0.0, 1.0);
}

double FskDemodulator::qualityOf(double clarity)
{
    return std::clamp((clarity - kNoiseClarity) / (kCleanClarity - kNoiseClarity), 0.0, 1.0);
}

// Each tone's level, from the bits decided on it: they follow a fade within a few bits, so
// that a tone fading alone (a selective path) leaves the decisions to the other.
std::uint8_t FskDemodulator::followLevels(long long edge)
{
    if (markLevel_ + spaceLevel_ <= 0) {
        // The first frame of a signal: decided on the plain difference, and the levels, not
        // yet known, are taken from its first readings.
        markLevel_ = spaceLevel_ = 1e-3;
        markSpread_ = spaceSpread_ = kUnknownLevel;
    }
    // Each level is followed as fast as the noise lets it be read (a Kalman filter on a level
    // that wanders by kLevelWander of itself per bit): fast on a strong signal, so that a fade
    // is followed bit by bit, slowly on a weak one, where a level read from a bit is mostly noise.
    auto follow = [this](double& level, double& spread, double reading) {
        spread += kLevelWander * kLevelWander * level * level;
        const double gain = std::max(0.05, spread / (spread + noiseVar_ + 1e-9));
        level += (reading - level) * gain;
        spread *= 1 - gain;
    };
    std::uint8_t code = 0;
    for (int k = 0; k <= 6; ++k) {
        const auto at = static_cast<size_t>(bitAt(edge, k) & ringMask_);
        // The weaker tone holds only noise: its mean envelope is sigma sqrt(pi/2).
        const double off = std::min(spaceRing_[at], markRing_[at]);
        noiseMean_ += (off - noiseMean_) * 0.05;
        noiseBits_ = std::min(noiseBits_ + 1, 1000);
        noiseVar_ = noiseMean_ * noiseMean_ * 2 / kPi;
        const bool mark = soft(bitAt(edge, k)) > 0;
        if (mark && k >= 1 && k <= 5)
            code = static_cast<std::uint8_t>(code | (1u << (k - 1)));
        if (mark)
            follow(markLevel_, markSpread_, markRing_[at]);
        else
            follow(spaceLevel_, spaceSpread_, spaceRing_[at]);
        weigh();
    }
    return code;
}

// The soft value weighs each tone by its level and takes off half its level: for envelopes
// well above the noise this is how much likelier mark is than space, whatever each tone's
// level (on levels alike it is the plain difference, scaled).
void FskDemodulator::weigh()
{
    if (markLevel_ + spaceLevel_ <= 0) {
        markWeight_ = spaceWeight_ = 1;
        offset_ = 0;
        return;
    }
    // A tone is not taken for lower than an eighth (-18 dB) of the other: a level read wrong
    // (from the filters filling, say) cannot make every sample look like the other tone.
    const double floor = std::max(markLevel_, spaceLevel_) / 8;
    double mark = std::max(markLevel_, floor), space = std::max(spaceLevel_, floor);
    // The difference between the two levels is believed as far as it stands above what they
    // are known to (each level's spread, and the noise of a single reading): on a steady signal
    // the tones are weighed alike, on a fading path as they stand.
    const double mean = (mark + space) / 2, half = (mark - space) / 2;
    const double doubt = kLevelDoubt * (markSpread_ + spaceSpread_ + 0.1 * noiseVar_);
    const double keep = half * half / (half * half + doubt + 1e-9);
    mark = mean + half * keep;
    space = mean - half * keep;
    markWeight_ = static_cast<float>(mark);
    spaceWeight_ = static_cast<float>(space);
    offset_ = static_cast<float>((mark * mark - space * space) / 2);
}

void FskDemodulator::followTones()
{
    if (!afc_ || levelAvg_ <= 0.5)
        return;
    const double step = std::clamp(afcError_ * 0.25, -kAfcStepLimitHz, kAfcStepLimitHz);
    setTones(markHz_ + step, spaceHz_ + step);
    afcError_ -= step;
}

// ---- modulator ----

void FskModulator::bit(bool mark, double bits, std::vector<float>& out)
{
    const double want = bits * bitSamples_ + owed_;
    const int n = static_cast<int>(want);
    owed_ = want - n;
    const double step = 2 * kPi * (mark ? markHz_ : spaceHz_) / kSampleRate;
    for (int i = 0; i < n; ++i) {
        out.push_back(static_cast<float>(amplitude_ * std::sin(phase_)));
        phase_ += step;
        if (phase_ > 2 * kPi)
            phase_ -= 2 * kPi;
    }
}

void FskModulator::setBaud(double baud)
{
    if (usableBaud(baud))
        bitSamples_ = kSampleRate / baud;
}

void FskModulator::code(std::uint8_t c, std::vector<float>& out)
{
    bit(false, 1, out);
    for (int i = 0; i < 5; ++i)
        bit(((c >> i) & 1) != 0, 1, out);
    bit(true, stopBits_, out);
}

void FskModulator::idle(double bits, std::vector<float>& out)
{
    bit(true, bits, out);
}

} // namespace rtty

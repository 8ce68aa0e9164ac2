#include "engines/rtty/fsk.h"

#include <algorithm>
#include <cmath>

namespace rtty {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kScopeGain = 60000; // a clean tone reaches about 40 pixels on the XY scope
constexpr double kAfcStepLimitHz = 5;
constexpr double kTimingPull = 0.3;

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
    soft_.assign(size, 0.0f);
    ringMask_ = static_cast<long long>(size) - 1;
    now_ = scan_ = earliest_ = 0;
    pending_ = lastEdge_ = -1;
    period_ = 7.5 * bitSamples_;
    senderBit_ = bitSamples_;
    markMean_ = spaceMean_ = threshold_ = 0;
}

void FskDemodulator::restart()
{
    pending_ = -1;
    lastEdge_ = -1;
    period_ = 7.5 * bitSamples_;
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
    return static_cast<int>(std::lround(std::clamp(levelAvg_, 0.0, 1.0) * 1024));
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
        const double d = am - as;
        soft_[static_cast<size_t>(now_ & ringMask_)] = static_cast<float>(reverse_ ? -d : d);
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
            evaluate(pending_, codes);
            pending_ = -1;
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

// Fits a frame to the start bit seen at `trigger` (half a filter after its edge, roughly): the
// edge is moved over a bit and a half for the best fit of mark before, space start bit,
// decided data bits and mark stop bit. A fit whose start and stop bits check gives a character.
bool FskDemodulator::evaluate(long long trigger, std::vector<std::uint8_t>& codes)
{
    const long long half = filterLength_ / 2;
    const auto bit = static_cast<long long>(std::lround(bitSamples_));
    const long long guess = trigger - half;
    // The mark before the start bit must be signal: an edge out of digital silence (the filters
    // filling with the first tone) begins no character.
    const long long from = std::max({earliest_, guess - bit / 2, signalFrom_ + filterLength_ + 1});
    const long long to = guess + bit;
    double bestFit = -1e300;
    long long best = -1;
    for (long long e = from; e <= to; ++e) {
        const float start = soft(bitAt(e, 0)), stop = soft(bitAt(e, 6));
        if (!(start < 0 && stop > 0))
            continue;
        double fit = soft(e - 1) - start + stop;
        for (int k = 1; k <= 5; ++k)
            fit += std::abs(soft(bitAt(e, k)));
        if (fit > bestFit) {
            bestFit = fit;
            best = e;
        }
    }
    if (best < 0) {
        // No character begins here: look again behind the edges tried.
        earliest_ = to + 1;
        scan_ = earliest_ + half;
        return false;
    }
    // In steady text each start bit follows the one before by the same period: an edge found
    // near where it was expected is pulled toward it, which steadies the timing in noise.
    if (lastEdge_ >= 0) {
        const double gap = static_cast<double>(best - lastEdge_);
        const double dev = gap - period_;
        if (gap > 6.8 * bitSamples_ && gap < 8.2 * bitSamples_) {
            period_ += (gap - period_) * 0.1;
            // A sender of one and a half stop bits a little off the rate: its bits are as
            // long as its characters say.
            const double bitOfPeriod = period_ / 7.5;
            senderBit_ = std::abs(bitOfPeriod / bitSamples_ - 1) < 0.03 ? bitOfPeriod : bitSamples_;
        }
        if (std::abs(dev) < bitSamples_ / 4)
            best = lastEdge_ + std::llround(period_ + dev * kTimingPull);
    }
    lastEdge_ = best;
    std::uint8_t code = 0;
    for (int k = 1; k <= 5; ++k)
        if (soft(bitAt(best, k)) > 0)
            code = static_cast<std::uint8_t>(code | (1u << (k - 1)));
    correctThreshold(best);
    if (squelchOpen()) {
        codes.push_back(code);
        followTones();
    }
    // The next start bit comes after at least one stop bit (a little less, for a fast sender).
    earliest_ = best + static_cast<long long>(std::lround(6.75 * bitSamples_));
    scan_ = earliest_ + half;
    return true;
}

// Mark and space bits' mean soft values; the threshold lies half way between them, so that a
// tone that fades alone still gives the right decisions.
void FskDemodulator::correctThreshold(long long edge)
{
    constexpr double kRate = 0.02;
    for (int k = 0; k <= 6; ++k) {
        const double v = soft_[static_cast<size_t>(bitAt(edge, k) & ringMask_)];
        if (v > threshold_)
            markMean_ += (v - markMean_) * kRate;
        else
            spaceMean_ += (v - spaceMean_) * kRate;
    }
    const double centre = (markMean_ + spaceMean_) / 2;
    const double span = (markMean_ - spaceMean_) / 2;
    threshold_ = span > 0 ? std::clamp(centre, -0.6 * span, 0.6 * span) : 0.0;
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

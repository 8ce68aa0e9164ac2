#include "engines/rtty/fsk.h"

#include <algorithm>
#include <cmath>

namespace rtty {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kScopeGain = 60000; // a clean tone reaches about 40 pixels on the XY scope
constexpr double kAfcStepLimitHz = 5;

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
    last = sum;
    sum += v - ring[static_cast<size_t>(pos)];
    ring[static_cast<size_t>(pos)] = v;
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
    if (!(baud > 1))
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
    }
    pos_ = 0;
    state_ = State::WaitMark;
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

        const double raw = (am - as) / (am + as + 1e-9);
        if (afc_ && state_ == State::Character && std::abs(raw) > 0.6)
            trackFrequency(raw > 0);
        decide(reverse_ ? -raw : raw, codes);
    }
}

void FskDemodulator::trackFrequency(bool mark)
{
    const Tone& t = mark ? mark_ : space_;
    const double turn = std::arg(t.sum * std::conj(t.last));
    const double errorHz = turn * kSampleRate / (2 * kPi);
    afcError_ += (errorHz - afcError_) * 0.02;
}

void FskDemodulator::decide(double d, std::vector<std::uint8_t>& codes)
{
    switch (state_) {
    case State::WaitMark:
        if (d > 0.2)
            state_ = State::Idle;
        break;
    case State::Idle:
        if (lastD_ >= 0 && d < 0) {
            state_ = State::Character;
            clock_ = 0;
            bit_ = 0;
            shiftReg_ = 0;
        }
        break;
    case State::Character:
        // The matched filter has seen a whole bit half a bit after each zero crossing's bit
        // edge: bit k is decided (k + 0.5) bit times after the start bit's crossing.
        clock_ += 1;
        if (clock_ >= (bit_ + 0.5) * bitSamples_) {
            const bool mark = d > 0;
            if (bit_ == 0) {
                if (mark)
                    state_ = State::Idle; // a spike, not a start bit
            } else if (bit_ <= 5) {
                if (mark)
                    shiftReg_ = static_cast<std::uint8_t>(shiftReg_ | (1u << (bit_ - 1)));
            } else {
                if (mark) {
                    if (squelchOpen())
                        codes.push_back(shiftReg_);
                    if (afc_ && levelAvg_ > 0.5) {
                        const double step = std::clamp(afcError_ * 0.5, -kAfcStepLimitHz, kAfcStepLimitHz);
                        setTones(markHz_ + step, spaceHz_ + step);
                        afcError_ -= step;
                    }
                    state_ = State::Idle;
                } else {
                    state_ = State::WaitMark; // framing error
                }
            }
            ++bit_;
        }
        break;
    }
    lastD_ = d;
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

void FskModulator::code(std::uint8_t c, std::vector<float>& out)
{
    bit(false, 1, out);
    for (int i = 0; i < 5; ++i)
        bit(((c >> i) & 1) != 0, 1, out);
    bit(true, 1.5, out);
}

void FskModulator::idle(double bits, std::vector<float>& out)
{
    bit(true, bits, out);
}

} // namespace rtty

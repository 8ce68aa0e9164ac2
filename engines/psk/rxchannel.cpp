#include "engines/psk/rxchannel.h"

#include <algorithm>
#include <cmath>

namespace psk {
namespace {

constexpr int kDecimTaps = 128;
constexpr double kLoopAlpha = 0.08;  // carrier loop, proportional (per symbol)
constexpr double kLoopBeta = 0.002;  // carrier loop, integral
constexpr double kFllPull = 0.1;     // frequency assist while not locked
constexpr double kFllHold = 0.01;    // and once locked
constexpr double kMaxFreeOmega = 2 * kPi * 4.0 / kBaud; // 4 Hz without AFC

cplx quarterTurn(int q)
{
    static const cplx kTurn[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    return kTurn[q & 3];
}

} // namespace

RxChannel::RxChannel()
    : decimTaps_(lowPass(kDecimTaps, 110.0, kSampleRate)),
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
    nco_.setFrequency(setHz_);
}

void RxChannel::setFrequency(double hz, int afcRange)
{
    setHz_ = std::clamp(hz, 100.0, 3900.0);
    afcRange_ = std::max(0, afcRange);
    retune(setHz_);
    searchWanted_ = afcRange_ > 0;
    unlocked_ = 0;
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
    varicode_.reset();
}

void RxChannel::retune(double hz)
{
    nco_.setFrequency(hz);
    omega_ = 0;
}

void RxChannel::searchDone(bool found, double hz)
{
    if (!found)
        return; // look again with the next block
    searchWanted_ = false;
    unlocked_ = 0;
    if (found && std::abs(hz - nco_.frequency()) > 1.5)
        retune(std::clamp(hz, setHz_ - afcRange_, setHz_ + afcRange_));
}

int RxChannel::level() const
{
    double q = speed_ == 1 ? qualitySlow_ : qualityFast_;
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
}

void RxChannel::decimated(cplx z, RxOutput& out)
{
    imdBuf_[imdPos_] = z;
    imdPos_ = (imdPos_ + 1) % int(imdBuf_.size());

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
        symbol(ys, out);
    }
    lastMf_ = y;
    ++index_;
}

void RxChannel::symbol(cplx y, RxOutput& out)
{
    const bool qpsk = mode_ == RxMode::Qpsk || mode_ == RxMode::QpskInverted;
    const int order = qpsk ? 4 : 2;
    double mag = std::abs(y);
    amp_ = amp_ == 0 ? mag : amp_ + 0.05 * (mag - amp_);
    if (amp_ <= 0)
        return;

    cplx c = y * std::polar(1.0, -theta_);
    cplx decision;
    if (qpsk)
        decision = std::abs(c.real()) >= std::abs(c.imag()) ? cplx(c.real() >= 0 ? 1 : -1, 0)
                                                              : cplx(0, c.imag() >= 0 ? 1 : -1);
    else
        decision = cplx(c.real() >= 0 ? 1 : -1, 0);
    double err = std::arg(c * std::conj(decision));

    // Carrier loop; with AFC the oscillator itself is the integrator.
    const bool afc = afcOn();
    // Frequency assist: the mean of the phase changes raised to the modulation order, used
    // only while it is coherent (so noise alone does not walk the frequency away).
    if (std::abs(prevY_) > 0 && mag > 0) {
        cplx d = y * std::conj(prevY_);
        cplx u = std::pow(d / std::abs(d), order) * std::polar(1.0, -order * (afc ? 0.0 : omega_));
        fllMean_ += 0.2 * (u - fllMean_);
    }
    double assist = 0;
    if (std::abs(fllMean_) > 0.5)
        assist = (qualitySlow_ < 0.5 ? kFllPull : kFllHold) * std::arg(fllMean_) / order;
    theta_ = wrapPhase(theta_ + kLoopAlpha * err + (afc ? 0.0 : omega_));
    if (afc) {
        double hz = nco_.frequency() + (kLoopBeta * err + assist) * kBaud / (2 * kPi);
        nco_.setFrequency(std::clamp(hz, setHz_ - afcRange_, setHz_ + afcRange_));
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
    if (afcOn() && qualitySlow_ < 0.3) {
        if (++unlocked_ >= 24) {
            searchWanted_ = true;
            unlocked_ = 0;
        }
    } else {
        unlocked_ = 0;
    }

    int bit;
    if (qpsk) {
        std::array<double, 4> metric;
        for (int d = 0; d < 4; ++d) {
            int q4 = qpskPhaseChange(d);
            if (mode_ == RxMode::QpskInverted)
                q4 = (4 - q4) & 3;
            metric[d] = (z * std::conj(quarterTurn(q4))).real();
        }
        bit = viterbi_.push(metric);
    } else {
        bit = reversal ? 0 : 1;
    }

    int ch = varicode_.push(bit);
    if (ch >= 0 && squelchOpen())
        out.chars.push_back(ch);

    reversalRun_ = reversal ? reversalRun_ + 1 : 0;
    if (reversalRun_ >= 20 && (reversalRun_ - 20) % 16 == 0)
        measureImd(out);
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

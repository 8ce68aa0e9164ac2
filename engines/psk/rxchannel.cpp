#include "engines/psk/rxchannel.h"

#include <algorithm>
#include <cmath>

namespace psk {
namespace {

constexpr int kDecimTaps = 128;
constexpr double kLoopAlpha = 0.05;  // carrier loop, proportional (per symbol)
constexpr double kLoopBeta = 0.0008;  // carrier loop, integral
constexpr double kFllPull = 0.1;     // frequency assist while not locked
constexpr double kFllHold = 0.01;    // and once locked
constexpr double kPspHandover = 0.02; // share of the QPSK decoder's frequency moved to the oscillator
constexpr double kQpskFollowHz = 5.0; // how far QPSK follows a signal from where it was found
constexpr int kSettle = 4;            // symbols of a newly acquired signal decoded as idle
constexpr int kOnsetSettle = 12;      // and of one out of silence (symbol timing settles too)
constexpr int kSearchMinimum = 128;   // decimated samples at a frequency before searching there
constexpr double kSearchAverage = 0.3; // weight of each block's line spectrum while searching
constexpr double kSearchBandHz = 15.0; // width of each band searched
constexpr int kTextSearchBlocks = 16;  // blocks searched before QPSK text alone may decide
constexpr double kMaxFreeOmega = 2 * kPi * 4.0 / kBaud; // 4 Hz without AFC

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
    // The search filter: the same shape, one symbol long (twice as wide).
    const int taps = int(searchTaps_.size()), n = int(searchBuf_.size());
    for (int i = 0; i < taps; ++i)
        searchTaps_[std::size_t(i)] = 0.5 * (1 - std::cos(2 * kPi * (i + 0.5) / taps)) / (taps / 2.0);
    for (int i = taps - 1; i < n; ++i)
        searchWin_[std::size_t(i)] = searchWindow(double(i - taps + 1.5) / (n - taps + 1));
    // The matched filter leaves a sixth of each neighbouring symbol in every sample (the
    // pulse's autocorrelation one symbol away). A five-tap zero-forcing equaliser at symbol
    // spacing takes it out: solve sum_j e_j h_(i-j) = delta_i with h = (1/6, 1, 1/6).
    const double a = 1.0 / 6.0;
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
    acquire_ = 0;
    sinceRetune_ = 0;
    searchBuf_.fill(cplx(0, 0)); // mixed at the old frequency
    searchBlocks_ = 0;
    candidate_ = 0;
    fllMean_ = 0;
}

bool RxChannel::lineSearch(int order, double& hz, double& strength)
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
    auto& spectra = order == 2 ? searchPower2_ : searchPower4_;
    spectra.resize(std::size_t(bands));
    const int side = int(std::lround(kBaud / (rate / n))); // envelope lines, bins away
    bool any = false;
    double bestStrength = 0, bestLines = 0;
    // The bands' filtered signals are made with the second order and kept for the fourth.
    const bool fresh = order == 2 || bandSignals_.size() != std::size_t(bands * n);
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
        // Averaged over the blocks searched since tuning, so noise bins vary less.
        auto& power = spectra[std::size_t(b)];
        if (power.size() != std::size_t(n))
            power.assign(std::size_t(n), 0.0);
        for (int k = 0; k < n; ++k) {
            double& p = power[std::size_t(k)];
            p = searchBlocks_ == 0 ? std::norm(spec[std::size_t(k)]) : p + kSearchAverage * (std::norm(spec[std::size_t(k)]) - p);
        }
        int best = -1;
        double top = 0;
        for (int k = 0; k < n; ++k) {
            int kk = k < n / 2 ? k : k - n;
            double f = kk * rate / n / order;
            if (std::abs(f) > kSearchBandHz / 2 + 0.5 || std::abs(centre + f - setHz_) > afcRange_)
                continue;
            if (power[std::size_t(k)] > top) {
                top = power[std::size_t(k)];
                best = k;
            }
        }
        if (best < 0)
            continue;
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
            continue;
        // The band that holds the signal in its middle passes it best: the strongest line in
        // power decides between bands (a band that holds the signal near its edge has less
        // noise too, so the ratio would favour it).
        double lines = top + power[std::size_t((best + side) % n)] + power[std::size_t((best - side + n) % n)];
        if (any && lines <= bestLines)
            continue;
        any = true;
        bestLines = lines;
        bestStrength = lines / noise;
        // Finer: the peak of a parabola through the log power of the three bins.
        auto at = [&](int k) { return std::log(power[std::size_t((k + n) % n)] + 1e-30); };
        double l = at(best - 1), c = at(best), r = at(best + 1);
        double d2 = l - 2 * c + r;
        double frac = d2 < 0 ? std::clamp(0.5 * (l - r) / d2, -0.5, 0.5) : 0.0;
        double offset = ((best < n / 2 ? best : best - n) + frac) * rate / n; // of the line, Hz
        hz = centre + offset / order;
    }
    strength = bestStrength;
    return any;
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
    // order, 7.8 Hz in the fourth). The carrier is where the signal has power on both sides,
    // 15.6 Hz up and down (the idle tones; with text, the body of its spectrum): beside it one
    // of the two falls where the signal has next to none.
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
    for (int j = -1; j <= 1; ++j) {
        const double c = hz + j * kBaud / order;
        double both = std::min(tone(c - kBaud / 2), tone(c + kBaud / 2));
        if (both > best) {
            best = both;
            found = c;
        }
    }
    double noise = 0;
    phase = std::arg(lines(order, found, true, noise)[1]) / order;
    return found;
}

void RxChannel::checkSideband()
{
    // The carrier loop holds a sideband as firmly as the carrier (BPSK 15.6 Hz off looks like
    // BPSK with every bit inverted), so while following a BPSK signal its second-order lines are
    // looked at now and then: a line beside stronger than the carrier's, twice running, moves to
    // the carrier. (QPSK text has no such lines to look at; its loops are kept near where the
    // search found it instead.)
    const int order = 2;
    double noise = 0;
    const double hz = nco_.frequency();
    auto l = lines(order, hz, false, noise);
    int j = std::norm(l[0]) > std::norm(l[2]) ? 0 : 2;
    bool beside = std::norm(l[std::size_t(j)]) > 2 * std::norm(l[1]) && std::norm(l[std::size_t(j)]) > 8 * noise;
    sidebandVotes_ = beside ? sidebandVotes_ + 1 : 0;
    if (sidebandVotes_ < 2)
        return;
    sidebandVotes_ = 0;
    startOn(hz + (j - 1) * kBaud / order, std::arg(l[std::size_t(j)]) / order);
}

double RxChannel::followed(double hz) const
{
    hz = std::clamp(hz, setHz_ - afcRange_, setHz_ + afcRange_);
    // QPSK's loops, in weak signals, can slip to the line beside the carrier (7.8 Hz off), which
    // nothing but a new search would notice: they follow a signal found by the search only so far
    // (farther drift ends in a new search).
    if (!fresh_ && (mode_ == RxMode::Qpsk || mode_ == RxMode::QpskInverted))
        hz = std::clamp(hz, foundHz_ - kQpskFollowHz, foundHz_ + kQpskFollowHz);
    return hz;
}

void RxChannel::startOn(double hz, double phase)
{
    foundHz_ = std::clamp(hz, setHz_ - afcRange_, setHz_ + afcRange_);
    retune(std::clamp(hz, setHz_ - afcRange_, setHz_ + afcRange_));
    // A new signal: what was decoded before it is noise, and its first character starts after
    // the first gap. The loops start on the carrier the search has measured.
    viterbi_.reset();
    viterbi_.setCarrier(phase);
    varicode_.resync();
    theta_ = phase;
    acquire_ = 0; // the search measured the frequency closer than the pull would
    settleUntil_ = symbolCount_ + kSettle;
}

void RxChannel::acquire()
{
    // Three lines that stand together this far above the average bin are a signal: noise
    // alone gets there about once an hour of searching.
    constexpr double kDetect = 18.0;
    const bool qpsk = mode_ == RxMode::Qpsk || mode_ == RxMode::QpskInverted;
    double hz = 0, phase = 0, strength = 0;
    bool found = lineSearch(2, hz, strength) && strength >= kDetect;
    int order = 2;
    if (qpsk) {
        // QPSK shows the second-order line in its idle reversals, where the carrier's line is
        // told from those beside it with certainty. Text gives only the fourth-order line, and
        // its lines beside can outweigh the carrier's: taken only when a signal has been there
        // without idle for a while (tuned in during a transmission).
        double hz4 = 0, strength4 = 0;
        if (lineSearch(4, hz4, strength4) && !found && strength4 >= kDetect && searchBlocks_ >= kTextSearchBlocks) {
            found = true;
            hz = hz4;
            order = 4;
        }
    }
    if (found)
        hz = centre(order, hz, phase);
    ++searchBlocks_;
    // A detection counts when the next block confirms it: a line that noise has lifted over a
    // stronger one nearby (a sideband over its carrier) rarely stays there.
    bool confirmed = found && candidate_ > 0 && std::abs(hz - candidate_) < 1.0;
    candidate_ = found ? hz : 0.0;
    if (!confirmed)
        return; // look again with the next block
    candidate_ = 0;
    searchWanted_ = false;
    const int blocks = searchBlocks_;
    searchBlocks_ = 0;
    unlocked_ = 0;
    // Found again near the signal it was following (within the lines beside it, which the check
    // above may take for it in the middle of text; for the second order only soon after losing
    // it): it stays, and the sideband check keeps it on the carrier.
    if (!fresh_ && (order == 4 || blocks < kTextSearchBlocks) && std::abs(hz - nco_.frequency()) <= kBaud / order + 2)
        return;
    fresh_ = false;
    startOn(hz, phase);
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

int RxChannel::level() const
{
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
    if (searching()) {
        if (sinceRetune_ >= kSearchMinimum)
            acquire();
    } else if (afcOn() && mode_ == RxMode::Bpsk && sinceRetune_ >= int(searchBuf_.size()) && ++checkBlocks_ % 4 == 0) {
        checkSideband();
    }
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
        symbol(eq, out);
    }
    lastMf_ = y;
    ++index_;
}

void RxChannel::symbol(cplx y, RxOutput& out)
{
    const bool qpsk = mode_ == RxMode::Qpsk || mode_ == RxMode::QpskInverted;
    const int order = qpsk ? 4 : 2;
    double mag = std::abs(y);
    if (amp_ == 0 && mag > 0) {
        // A signal out of silence: its first symbol gives the carrier phase.
        settleUntil_ = symbolCount_ + kOnsetSettle;
        theta_ = std::arg(y);
        viterbi_.setCarrier(theta_);
        prevDecision_ = cplx(1, 0);
    }
    amp_ = amp_ == 0 ? mag : amp_ + 0.05 * (mag - amp_);
    if (amp_ <= 0)
        return;

    if (qpsk)
        theta_ = viterbi_.carrierPhase(); // the QPSK decoder tracks the carrier (see below)
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
        double pull = (qpsk ? 0.0 : kLoopBeta * err) + assist;
        double hz = followed(nco_.frequency() + pull * kBaud / (2 * kPi));
        if (qpsk)
            viterbi_.shiftFrequency((hz - nco_.frequency()) * 2 * kPi / kBaud);
        nco_.setFrequency(hz);
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
    if (afcOn() && searchWanted_ && !fresh_ && scaled(qualitySlow_) > 0.6) {
        // The signal it lost has come back (a fade, or weak text): no need to look further.
        searchWanted_ = false;
        searchBlocks_ = 0;
        candidate_ = 0;
    }
    if (afcOn() && scaled(qualitySlow_) < 0.3) {
        if (++unlocked_ >= 24) {
            searchWanted_ = true;
            unlocked_ = 0;
        }
    } else {
        unlocked_ = 0;
    }

    int bit;
    if (qpsk) {
        // The decoder tracks the carrier itself, per survivor, so it takes the symbol as it
        // comes from the oscillator; with AFC the oscillator slowly takes over the frequency
        // the decoder has found, so the decoder's loops stay near the middle of their range.
        bit = viterbi_.pushSymbol(y / amp_, mode_ == RxMode::QpskInverted);
        if (afc) {
            double hz = nco_.frequency() + kPspHandover * viterbi_.carrierFrequency() * kBaud / (2 * kPi);
            hz = followed(hz);
            viterbi_.shiftFrequency((hz - nco_.frequency()) * 2 * kPi / kBaud);
            nco_.setFrequency(hz);
        }
    } else {
        bit = reversal ? 0 : 1;
    }

    // The decoder's bits lag the signal by its delay; so does the squelch that lets them out.
    squelchHistory_[symbolCount_ % squelchHistory_.size()] = squelchOpen();
    bool open = squelchOpen();
    if (qpsk && symbolCount_ >= ViterbiDecoder::kDelay)
        open = squelchHistory_[(symbolCount_ - ViterbiDecoder::kDelay) % squelchHistory_.size()];
    // The first symbols of a signal, while the loops settle, count as idle.
    const std::uint64_t source = qpsk ? symbolCount_ - std::min<std::uint64_t>(symbolCount_, ViterbiDecoder::kDelay) : symbolCount_;
    if (source < settleUntil_)
        bit = 0;
    ++symbolCount_;
    // Whatever the bits were before the squelch opened, the first character printed is one
    // that starts after a gap.
    if (open && !wasOpen_)
        varicode_.resync();
    wasOpen_ = open;
    int ch = varicode_.push(bit);
    if (ch >= 0 && open)
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

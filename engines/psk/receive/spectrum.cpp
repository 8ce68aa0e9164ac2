#include "engines/psk/receive/spectrum.h"

#include <algorithm>
#include <cmath>

namespace psk {

Spectrum::Spectrum()
    : history_(kSize, 0.0f), window_(kSize), smooth_(kBins, 0.0),
      values_(kBins, 0), work_(kSize)
{
    for (int i = 0; i < kSize; ++i)
        window_[i] = 0.5 * (1 - std::cos(2 * kPi * i / kSize));
}

void Spectrum::setMode(int smoothing, int scale)
{
    smoothing_ = std::clamp(smoothing, 1, 50);
    scale_ = scale > 0 ? scale : 100;
}

void Spectrum::update(const float* samples, int n)
{
    overload_ = false;
    for (int i = 0; i < n; ++i)
        if (std::abs(samples[i]) >= 32000.0f)
            overload_ = true;
    if (n >= kSize) {
        std::copy(samples + n - kSize, samples + n, history_.begin());
    } else if (n > 0) {
        std::move(history_.begin() + n, history_.end(), history_.begin());
        std::copy(samples, samples + n, history_.end() - n);
    }
    for (int i = 0; i < kSize; ++i)
        work_[i] = cplx(history_[i] * window_[i], 0);
    fft(work_);
    const double norm = 1.0 / (kSize * kSize);
    for (int k = 0; k < kBins; ++k) {
        double p = std::norm(work_[k]) * norm;
        smooth_[k] += (p - smooth_[k]) / smoothing_;
    }
    // Noise floor: the median over the passband, in decibels. The display shows the
    // kDisplayRangeDb above it: `scale` units (the full height of the spectrum) at the top.
    const int lo = int(300 / kBinHz), hi = int(3500 / kBinHz);
    std::vector<double> db(kBins);
    for (int k = 0; k < kBins; ++k)
        db[k] = 10 * std::log10(smooth_[k] + 1e-9);
    std::vector<double> band(db.begin() + lo, db.begin() + hi);
    std::nth_element(band.begin(), band.begin() + band.size() / 2, band.end());
    double floor = band[band.size() / 2];
    for (int k = 0; k < kBins; ++k)
        values_[k] = std::int32_t(std::clamp(std::lround((db[k] - floor) * scale_ / kDisplayRangeDb), 0L, 1000L));
}

void Spectrum::values(std::int32_t* out, int first, int last) const
{
    for (int k = std::max(0, first); k <= std::min(last, kBins - 1); ++k)
        *out++ = values_[k];
}

} // namespace psk

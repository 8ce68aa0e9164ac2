#pragma once
// The spectrum display data: a 2048-point transform of the last 2048 samples, 1024 bins of
// log magnitude scaled 0..1000 with the noise floor near 0, with optional smoothing, and the
// input overload flag.
#include <cstdint>
#include <vector>

#include "engines/psk/dsp/dsp.h"

namespace psk {

class Spectrum {
public:
    static constexpr int kSize = 2048;
    static constexpr int kBins = 1024;
    static constexpr double kBinHz = double(kSampleRate) / kSize;

    Spectrum();
    // smoothing: 1 none, 3 medium, 6 heavy (blocks averaged); scale: display units for a signal
    // kDisplayRangeDb above the noise floor, at most 1000. The program draws its scale (100) as
    // the full height of the spectrum, so a station 20 dB over the noise fills two thirds of it
    // and the noise, which rises some 6 dB over its median now and then, about a fifth.
    static constexpr double kDisplayRangeDb = 30.0;
    void setMode(int smoothing, int scale);
    // Takes one block of samples (16-bit scale) and recomputes the bins.
    void update(const float* samples, int n);
    bool overload() const { return overload_; }
    void values(std::int32_t* out, int first, int last) const;

private:
    std::vector<float> history_;
    std::vector<double> window_;
    std::vector<double> smooth_;
    std::vector<std::int32_t> values_;
    std::vector<cplx> work_;
    int smoothing_ = 1;
    int scale_ = 100;
    bool overload_ = false;
};

} // namespace psk

#include "engines/psk/dsp/resampler.h"

#include <cmath>

#include "engines/psk/dsp/dsp.h"

namespace psk {

Resampler::Resampler() : table_((kPhases + 1) * kTaps), history_(kTaps, 0.0f)
{
    for (int p = 0; p <= kPhases; ++p) {
        double frac = double(p) / kPhases;
        double sum = 0;
        for (int k = 0; k < kTaps; ++k) {
            double x = k - (kTaps / 2 - 1) - frac;
            double sinc = x == 0 ? 1 : std::sin(kPi * x) / (kPi * x);
            double w = 0.5 * (1 + std::cos(kPi * x / (kTaps / 2)));
            table_[p * kTaps + k] = float(sinc * w);
            sum += sinc * w;
        }
        for (int k = 0; k < kTaps; ++k)
            table_[p * kTaps + k] = float(table_[p * kTaps + k] / sum);
    }
    pos_ = kTaps / 2 - 1;
}

void Resampler::process(const float* in, int n, std::vector<float>& out)
{
    history_.insert(history_.end(), in, in + n);
    // An output at position pos_ uses history_[floor(pos_) - 7 .. floor(pos_) + 8].
    while (pos_ + kTaps / 2 + 1 <= double(history_.size())) {
        int base = int(std::floor(pos_));
        int phase = int(std::lround((pos_ - base) * kPhases));
        const float* h = &table_[phase * kTaps];
        const float* x = &history_[base - (kTaps / 2 - 1)];
        float acc = 0;
        for (int k = 0; k < kTaps; ++k)
            acc += h[k] * x[k];
        out.push_back(acc);
        pos_ += step_;
    }
    int drop = int(std::floor(pos_)) - (kTaps / 2 - 1);
    if (drop > 0) {
        history_.erase(history_.begin(), history_.begin() + drop);
        pos_ -= drop;
    }
}

} // namespace psk

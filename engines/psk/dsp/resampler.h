#pragma once
// Corrects the sound card's clock: a windowed-sinc resampler whose step is 1 + ppm / 10^6
// input samples per output sample.
#include <vector>

namespace psk {

class Resampler {
public:
    Resampler();
    void setStep(double step) { step_ = step; }
    double step() const { return step_; }
    // Appends the resampled samples of one block to out.
    void process(const float* in, int n, std::vector<float>& out);

private:
    static constexpr int kTaps = 16;
    static constexpr int kPhases = 256;
    std::vector<float> table_; // kPhases + 1 rows of kTaps
    std::vector<float> history_;
    double pos_ = 0;           // next output position, relative to history_[0]
    double step_ = 1.0;
};

} // namespace psk

#include "engines/psk/receiver.h"

#include <cmath>

namespace psk {

void Receiver::process(const float* samples, int n, std::array<RxOutput, kChannels>& out)
{
    spectrum_.update(samples, n);
    ++blocks_;
    for (int i = 0; i < count_; ++i) {
        // Wait for a few blocks of spectrum before the first search.
        if (channels_[i].wantsSearch() && blocks_ >= 3)
            search(channels_[i]);
        channels_[i].process(samples, n, out[i]);
    }
}

void Receiver::search(RxChannel& ch)
{
    // Slide the shape of a PSK31 spectrum over the range around the set frequency and take
    // the best fit, if it stands clearly above the noise.
    const auto& p = spectrum_.searchPower();
    const double bin = Spectrum::kBinHz;
    auto at = [&](double hz) {
        double x = hz / bin;
        int k = int(std::floor(x));
        if (k < 0 || k + 1 >= int(p.size()))
            return 0.0;
        double f = x - k;
        return p[k] * (1 - f) + p[k + 1] * f;
    };
    const int span = 10;
    double weightSum = 0;
    for (int j = -span; j <= span; ++j) {
        double f = j * bin;
        weightSum += std::abs(f) < 40 ? std::pow(std::cos(kPi * f / 80), 2) : 0;
    }
    double best = 0, bestHz = ch.setFrequencyHz();
    for (double c = ch.setFrequencyHz() - ch.afcRange(); c <= ch.setFrequencyHz() + ch.afcRange(); c += 0.5) {
        double score = 0;
        for (int j = -span; j <= span; ++j) {
            double f = j * bin;
            if (std::abs(f) < 40)
                score += std::pow(std::cos(kPi * f / 80), 2) * at(c + f);
        }
        if (score > best) {
            best = score;
            bestHz = c;
        }
    }
    ch.searchDone(best > 2.5 * spectrum_.searchFloor() * weightSum, bestHz);
}

} // namespace psk

#pragma once
// Everything that listens: the spectrum and up to three receive channels, fed one block of
// sound at a time.
#include <array>

#include "engines/psk/receive/rxchannel.h"
#include "engines/psk/receive/spectrum.h"

namespace psk {

class Receiver {
public:
    static constexpr int kChannels = 3;

    void setChannelCount(int n) { count_ = n < 1 ? 1 : (n > kChannels ? kChannels : n); }
    int channelCount() const { return count_; }
    RxChannel& channel(int i) { return channels_[i]; }
    const RxChannel& channel(int i) const { return channels_[i]; }
    Spectrum& spectrum() { return spectrum_; }
    const Spectrum& spectrum() const { return spectrum_; }

    // Receives one block; out[i] gets channel i's characters and IMD readings.
    void process(const float* samples, int n, std::array<RxOutput, kChannels>& out);
    // While transmitting the spectrum shows the transmitted sound and the channels rest.
    // Afterwards each channel listens for the reply.
    void showTransmit(const float* samples, int n)
    {
        spectrum_.update(samples, n);
        for (auto& ch : channels_)
            ch.overSent();
    }

private:
    Spectrum spectrum_;
    std::array<RxChannel, kChannels> channels_;
    int count_ = kChannels;
};

} // namespace psk

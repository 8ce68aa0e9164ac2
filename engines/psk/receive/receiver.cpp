#include "engines/psk/receive/receiver.h"

namespace psk {

void Receiver::process(const float* samples, int n, std::array<RxOutput, kChannels>& out)
{
    spectrum_.update(samples, n);
    for (int i = 0; i < count_; ++i)
        channels_[i].process(samples, n, out[i]);
}

} // namespace psk

#include "support.h"

#include <cmath>
#include <random>

namespace psktest {

std::vector<float> transmission(const std::string& text, int mode, double hz)
{
    psk::Transmitter tx;
    tx.setFrequency(hz);
    for (char c : text)
        tx.queueCharacter(static_cast<unsigned char>(c));
    tx.queueControl(3);
    tx.queueControl(1);
    std::vector<float> out(4000, 0.0f);
    std::vector<psk::TxEvent> events;
    tx.start(mode);
    std::vector<float> block(1024);
    bool started = false;
    while (!started || tx.active()) {
        tx.fill(block.data(), int(block.size()), events);
        started = true;
        out.insert(out.end(), block.begin(), block.end());
    }
    out.insert(out.end(), 4000, 0.0f);
    return out;
}

void addNoise(std::vector<float>& sound, double signalPower, double snrDb, unsigned seed)
{
    // Noise power in 3000 Hz = signal / snr; white over 4000 Hz means 4/3 of that in all.
    double noisePower = signalPower / std::pow(10.0, snrDb / 10) * (4000.0 / 3000.0);
    std::mt19937 rng(seed);
    std::normal_distribution<double> g(0.0, std::sqrt(noisePower));
    for (float& s : sound)
        s = float(s + g(rng));
}

std::vector<std::string> receive(const std::vector<float>& sound, const std::vector<Tuning>& channels)
{
    psk::Receiver rx;
    rx.setChannelCount(int(channels.size()));
    for (std::size_t i = 0; i < channels.size(); ++i) {
        rx.channel(int(i)).setMode(channels[i].mode);
        rx.channel(int(i)).setAfcLimit(channels[i].afcRange > 0 ? 100 : 0);
        rx.channel(int(i)).setFrequency(channels[i].hz, channels[i].afcRange);
        rx.channel(int(i)).setSquelch(0, 0);
    }
    std::vector<std::string> text(channels.size());
    std::array<psk::RxOutput, psk::Receiver::kChannels> out;
    for (std::size_t pos = 0; pos < sound.size(); pos += 1024) {
        int n = int(std::min<std::size_t>(1024, sound.size() - pos));
        for (auto& o : out)
            o = {};
        rx.process(sound.data() + pos, n, out);
        for (std::size_t i = 0; i < channels.size(); ++i)
            for (int c : out[i].chars)
                text[i] += char(c);
    }
    return text;
}

} // namespace psktest

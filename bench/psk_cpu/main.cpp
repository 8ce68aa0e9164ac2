// Three stations 60 Hz apart at +10 dB SNR each (BPSK, QPSK, BPSK), received on three
// channels at once with the spectrum: errors per channel, and the processor time that one
// hour of audio takes on one core.
//   bench_psk_cpu [characters per station, default 10000]
#include <ctime>
#include <cstdio>
#include <cstdlib>

#include "psk_bench.h"

int main(int argc, char** argv)
{
    const std::size_t chars = argc > 1 ? std::size_t(std::atoi(argv[1])) : 10000;
    const pskbench::Tuning tune[3] = {{1000, 0}, {1060, 1}, {1120, 0}};
    std::vector<std::string> sent;
    std::vector<float> mix;
    double noisePower = 0;
    for (int i = 0; i < 3; ++i) {
        sent.push_back(pskbench::text(chars, unsigned(200 + i)));
        auto s = pskbench::transmission(sent.back(), tune[i].mode, tune[i].hz);
        noisePower = pskbench::signalPower(s) / 10.0 * (4000.0 / 3000.0);
        if (s.size() > mix.size())
            mix.resize(s.size(), 0.0f);
        for (std::size_t k = 0; k < s.size(); ++k)
            mix[k] += s[k];
    }
    // Noise for +10 dB against one station's power.
    pskbench::addNoise(mix, noisePower * 3000.0 / 4000.0 * 10.0, 10.0, 99);
    double seconds = double(mix.size()) / 8000.0;

    std::clock_t t0 = std::clock();
    auto got = pskbench::receive(mix, {tune[0], tune[1], tune[2]});
    double cpu = double(std::clock() - t0) / CLOCKS_PER_SEC;

    std::printf("%zu characters per station, %.0f s of audio, three stations 60 Hz apart at +10 dB\n", chars, seconds);
    for (int i = 0; i < 3; ++i)
        std::printf("channel %d (%s at %.0f Hz): %zu errors\n", i, tune[i].mode ? "QPSK31" : "BPSK31", tune[i].hz,
                    pskbench::errors(sent[i], got[i]));
    std::printf("three channels + spectrum: %.2f s processor time for %.0f s of audio\n", cpu, seconds);
    std::printf("  = %.1f s per hour of audio, %.0f times real time on one core\n", cpu * 3600.0 / seconds,
                seconds / cpu);
    return 0;
}

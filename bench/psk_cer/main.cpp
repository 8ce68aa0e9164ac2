// Character error rate of BPSK31 and QPSK31 from our own transmitter through white Gaussian
// noise, at SNRs from -16 to +6 dB (noise in 3000 Hz), and the SNR where it crosses 1%.
//   bench_psk_cer [characters per point, default 1500] [lowest dB] [highest dB] [step dB]
// With a range, every point is measured at the step given (for a closer look at the threshold).
#include <cstdio>
#include <cstdlib>
#include <future>
#include <vector>

#include "psk_bench.h"

int main(int argc, char** argv)
{
    const std::size_t chars = argc > 1 ? std::size_t(std::atoi(argv[1])) : 1500;
    struct Mode { const char* name; int mode; } modes[] = {{"BPSK31", 0}, {"QPSK31", 1}};
    std::vector<double> snrs;
    if (argc > 4) {
        const double from = std::atof(argv[2]), to = std::atof(argv[3]), step = std::atof(argv[4]);
        for (int i = 0; step > 0 && from + i * step <= to + 1e-9; ++i)
            snrs.push_back(from + i * step);
    } else {
        for (double s = -16; s <= 6.01; s += (s >= -14 && s < -9) ? 0.5 : 1.0)
            snrs.push_back(s);
    }
    if (snrs.empty()) {
        std::fprintf(stderr, "bench_psk_cer: no SNR in the range given\n");
        return 1;
    }
    std::printf("Character error rate, %zu characters per point, SNR in 3000 Hz\n", chars);
    std::printf("%8s %10s %10s\n", "SNR dB", "BPSK31", "QPSK31");
    std::vector<std::vector<double>> cer(2, std::vector<double>(snrs.size()));
    for (int m = 0; m < 2; ++m) {
        std::vector<std::future<double>> jobs;
        for (std::size_t i = 0; i < snrs.size(); ++i)
            jobs.push_back(std::async(std::launch::async, [&, m, i] {
                std::string t = pskbench::text(chars, unsigned(100 + i));
                auto s = pskbench::transmission(t, modes[m].mode, 1000);
                pskbench::addNoise(s, pskbench::signalPower(s), snrs[i], unsigned(7 + i));
                auto got = pskbench::receive(s, {{1000, modes[m].mode}});
                return double(pskbench::errors(t, got[0])) / double(t.size());
            }));
        for (std::size_t i = 0; i < snrs.size(); ++i)
            cer[m][i] = jobs[i].get();
    }
    for (std::size_t i = 0; i < snrs.size(); ++i)
        std::printf("%8.2f %9.2f%% %9.2f%%\n", snrs[i], 100 * cer[0][i], 100 * cer[1][i]);
    for (int m = 0; m < 2; ++m) {
        // Lowest SNR from which on every point is at or below 1%.
        double at = snrs.back();
        for (std::size_t i = snrs.size(); i-- > 0;) {
            if (cer[m][i] > 0.01)
                break;
            at = snrs[i];
        }
        std::printf("%s: CER <= 1%% from %.1f dB SNR\n", modes[m].name, at);
    }
    return 0;
}

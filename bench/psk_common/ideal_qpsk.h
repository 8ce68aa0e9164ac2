#pragma once
// The best a QPSK31 receiver can do: the signal at baseband through white noise, sampled after
// the matched filter at exactly the right instants and decoded with the carrier phase known
// exactly (no loops), the previous symbol's share in each sample counted as the receiver counts
// it. What a real receiver loses to finding frequency, phase and timing is its distance to this.
#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <vector>

#include "engines/psk/coding/varicode.h"
#include "engines/psk/coding/viterbi.h"
#include "engines/psk/dsp/dsp.h"

namespace pskbench {

inline std::string idealQpsk(const std::string& text, double snrDb, unsigned seed)
{
    using psk::cplx;
    constexpr int n = 16; // samples per symbol
    std::vector<int> bits(40, 0);
    for (char c : text) {
        for (char b : psk::varicodeBits(static_cast<unsigned char>(c)))
            bits.push_back(b == '1');
        bits.insert(bits.end(), {0, 0});
    }
    bits.insert(bits.end(), 60, 0);
    static const cplx kTurn[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    psk::ConvEncoder encoder;
    std::vector<cplx> sound((bits.size() + 2) * n);
    cplx from(0, 0), to(1, 0);
    for (std::size_t k = 0; k < bits.size(); ++k) {
        to *= kTurn[psk::qpskPhaseChange(encoder.push(bits[k]))];
        for (int i = 0; i < n; ++i) {
            const double w = 0.5 * (1 + std::cos(psk::kPi * i / n));
            sound[k * n + std::size_t(i)] = from * w + to * (1 - w);
        }
        from = to;
    }
    // The pulse (two symbols of raised cosine) is also the matched filter.
    std::vector<double> pulse(2 * n);
    double energy = 0;
    for (int i = 0; i < 2 * n; ++i) {
        pulse[std::size_t(i)] = 0.5 * (1 - std::cos(2 * psk::kPi * (i + 0.5) / (2 * n)));
        energy += pulse[std::size_t(i)] * pulse[std::size_t(i)];
    }
    const double esn0 = std::pow(10.0, snrDb / 10) * 3000.0 / psk::kBaud;
    std::mt19937 rng(seed);
    std::normal_distribution<double> g(0.0, std::sqrt(energy / esn0 / 2));
    for (cplx& v : sound)
        v += cplx(g(rng), g(rng));
    psk::ViterbiDecoder decoder;
    decoder.setCarrierLoop(0, 0);
    decoder.setCarrier(0);
    decoder.setInterference(1.0 / 6);
    psk::VaricodeDecoder varicode;
    std::string out;
    for (std::size_t k = 0; k < bits.size() + psk::ViterbiDecoder::kDelay; ++k) {
        cplx y(0, 0);
        for (int i = 0; i < 2 * n; ++i) {
            const std::size_t at = k * n + std::size_t(i);
            if (at < sound.size())
                y += pulse[std::size_t(i)] * sound[at];
        }
        int ch = varicode.push(decoder.pushSymbol(y / energy, false));
        if (ch >= 0)
            out += char(ch);
    }
    return out;
}

} // namespace pskbench

#pragma once
// The rate 1/2, constraint length 5 convolutional code of QPSK31 and its soft-decision
// Viterbi decoder. One data bit becomes one of four symbols (dibits 0..3); the modem turns
// each dibit into a phase change (see qpskPhaseChange).
#include <array>
#include <cstdint>

namespace psk {

class ConvEncoder {
public:
    // Shifts in one data bit and returns the dibit (g0 << 1 | g1).
    int push(int bit);
    void reset() { state_ = 0; }

private:
    unsigned state_ = 0; // the four previous bits, newest in bit 0
};

// Phase change in quarter turns (0..3, counter-clockwise) that carries a dibit: an idle
// stream of zeros gives phase reversals, as in BPSK.
int qpskPhaseChange(int dibit);

class ViterbiDecoder {
public:
    static constexpr int kDelay = 40; // symbols between a symbol and the bit it decides

    // Takes the four branch metrics of one symbol (larger = more likely, metric[d] for
    // dibit d) and returns the data bit decided kDelay symbols ago (0 until then).
    int push(const std::array<double, 4>& metric);
    void reset();

private:
    std::array<double, 16> score_{};
    std::array<std::uint64_t, 16> path_{};
    int count_ = 0;
};

} // namespace psk

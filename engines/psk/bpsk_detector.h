#pragma once
// BPSK31 bits from coherently received symbols. Each matched-filter sample still holds a sixth
// of the symbols either side of it; a two-state Viterbi over the symbols' signs counts the
// previous symbol's share in its metric (the next one's is counted at the next step), which
// loses less to the noise than equalising it away. A bit is the absence of a reversal.
#include <array>
#include <cstdint>

namespace psk {

class BpskDetector {
public:
    static constexpr int kDelay = 12; // symbols between a symbol and the bit it decides

    void setInterference(double isi) { isi_ = isi; }
    // x: the in-phase part of a symbol sample, at unit signal amplitude. Returns the bit
    // decided kDelay symbols ago (0, idle, until then).
    int push(double x);
    void reset();
    // A bit not decided yet, between the symbols k and k + 1 ago (k < kDelay): the one both
    // survivors agree on, or -1 while they differ.
    int pendingBit(int k) const;

private:
    double isi_ = 0;
    std::array<double, 2> score_{};       // state 0: the last symbol positive, 1: negative
    std::array<std::uint64_t, 2> path_{}; // the signs of each survivor, newest in bit 0
    int count_ = 0;
};

} // namespace psk

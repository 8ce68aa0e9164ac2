#pragma once
// BPSK31 bits. A bit is the absence of a reversal between two symbols. Two detectors see every
// symbol: one with the carrier loop's phase (best on a steady signal) and one that needs no
// carrier (best where the path fades); the bits come from the one that fits the signal better.
#include <array>
#include <complex>
#include <cstdint>

#include "engines/psk/receive/fade_choice.h"

namespace psk {

// Coherently received symbols. Each matched-filter sample still holds a sixth of the symbols
// either side of it; a two-state Viterbi over the symbols' signs counts the previous symbol's
// share in its metric (the next one's is counted at the next step), which loses less to the
// noise than equalising it away.
class BpskDetector {
public:
    static constexpr int kDelay = 12; // symbols between a symbol and the bit it decides

    void setInterference(double isi) { isi_ = isi; }
    // x: the in-phase part of a symbol sample, at unit signal amplitude; level: the signal's
    // amplitude now against that unit, up to 1 (in a fade the neighbours' share falls with it).
    // Returns the bit decided kDelay symbols ago (0, idle, until then).
    int push(double x, double level = 1);
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

// Symbols whose amplitude and phase change from one to the next (a fading path), with no
// carrier reference: every survivor of a Viterbi over the signs of the newest symbols takes
// them, with the signs it gives them, as samples of the carrier, and measures the symbol in the
// middle against the carrier its neighbours on both sides give. A phase that turns fast, an
// amplitude through zero and a frequency a little off cost little; on a steady weak signal the
// neighbours' noise costs about 1.5 dB against the carrier loop.
class BpskFadingDetector {
public:
    static constexpr int kDelay = BpskDetector::kDelay;
    static constexpr int kSide = 4; // neighbours on each side of the symbol measured

    BpskFadingDetector() { reset(); }
    // y: a symbol sample free of its neighbours' share (equalised), at about unit amplitude.
    int push(std::complex<double> y);
    void reset();
    int pendingBit(int k) const;
    // How well the carrier the neighbours give fits the symbol measured last, whatever the
    // signs: the cosine of twice the angle between them (1: exactly).
    double fit() const { return fit_; }

private:
    static constexpr int kSpan = 2 * kSide + 1;
    static constexpr int kStates = 1 << (kSpan - 1); // the signs of the newest kSpan - 1 symbols
    std::array<std::complex<double>, kSpan> window_{}; // the newest symbols, oldest first
    std::array<double, kStates> score_{};
    std::array<std::uint64_t, kStates> path_{}; // each survivor's signs, newest in bit 0 (1: negative)
    double fit_ = 0;
    int best_ = 0;
    int count_ = 0;
};

class BpskDecoder {
public:
    static constexpr int kDelay = BpskDetector::kDelay;

    BpskDecoder();
    void setInterference(double isi) { coherent_.setInterference(isi); }
    // x and level: for the detector with the loop (see BpskDetector); c: the symbol equalised
    // and turned by the loop's phase; y: the symbol equalised, at about unit amplitude, as it
    // comes from the oscillator.
    int push(double x, double level, std::complex<double> c, std::complex<double> y);
    void reset();
    int pendingBit(int k) const { return fading_ ? differential_.pendingBit(k) : coherent_.pendingBit(k); }

private:
    BpskDetector coherent_;
    BpskFadingDetector differential_;
    FadeChoice choice_;
    bool fading_ = false;
};

} // namespace psk

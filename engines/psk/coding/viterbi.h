#pragma once
// The rate 1/2, constraint length 5 convolutional code of QPSK31 and its soft-decision
// Viterbi decoder. One data bit becomes one of four symbols (dibits 0..3); the modem turns
// each dibit into a phase change (see qpskPhaseChange).
#include <array>
#include <complex>
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

    ViterbiDecoder() { reset(); }

    // Takes the four branch metrics of one symbol (larger = more likely, metric[d] for
    // dibit d) and returns the data bit decided kDelay symbols ago (0 until then).
    int push(const std::array<double, 4>& metric);

    // The same for a coherently received QPSK symbol c (unit amplitude, carrier phase known
    // up to quarter turns). The trellis also carries the absolute phase, so the differential
    // coding is undone inside the decoder and each symbol counts with its own noise only.
    // inverted: the phase changes run the other way (the other sideband).
    int pushSymbol(std::complex<double> c, bool inverted);
    // The same for a symbol y whose carrier changes from one symbol to the next (a fading path),
    // without a carrier reference: each survivor expects the next symbol where the symbols it
    // has decided, turned back by the changes it gave them, point on average (the newest counts
    // most; smoothing 0 takes the previous symbol alone).
    int pushChange(std::complex<double> y, bool inverted, double smoothing);
    // What the best survivor expects of the next symbol without a phase change.
    std::complex<double> expected() const { return carrier_[best_]; }
    void reset();
    // A bit not decided yet, of the symbol k symbols ago (k < kDelay): the one every survivor
    // agrees on, or -1 while they differ.
    int pendingBit(int k) const;
    // Gains of each survivor's carrier loop (per symbol, on the quadrature error of the
    // unit-amplitude symbol): proportional and integral.
    void setCarrierLoop(double alpha, double beta) { loopAlpha_ = alpha; loopBeta_ = beta; }
    // The best survivor's carrier frequency, radians per symbol; and a retuning of the input
    // by dw radians per symbol, which every survivor's frequency follows.
    double carrierFrequency() const { return freq_[best_]; }
    double carrierPhase() const { return std::arg(carrier_[best_]); } // expected for the next symbol
    void shiftFrequency(double dw);
    // Starts every survivor's carrier loop at a phase (radians) with no frequency offset.
    void setCarrier(double phase);
    // How well the best path took the last symbol: its metric's growth (the symbol's
    // correlation with what that path expected).
    double gain() const { return gain_; }
    // Intersymbol interference the input still carries from each neighbouring symbol (0: none).
    void setInterference(double isi) { isi_ = isi; }

private:
    static constexpr double kMaxFreq = 0.8; // radians per symbol, about 4 Hz
    static constexpr int kStates = 64; // coder state (16) x absolute phase (4)
    int decide(int states);
    std::array<double, kStates> score_{};
    std::array<std::uint64_t, kStates> path_{};
    std::array<std::complex<double>, kStates> carrier_{}; // each survivor's carrier phase, as a unit phasor
    std::array<double, kStates> freq_{};  // and frequency, radians per symbol
    double loopAlpha_ = 0.2;
    double loopBeta_ = 0.008;
    double gain_ = 0;
    double isi_ = 0;
    int best_ = 0;
    int count_ = 0;
};

} // namespace psk

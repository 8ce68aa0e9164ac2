#pragma once
// QPSK31 decoding with two sets of carrier loops at once: narrow ones that lose least to the
// noise on a steady signal, and wide ones that follow a phase that wanders (HF paths, drifting
// rigs). Both decoders see every symbol; the bits come from the one whose paths have fitted
// the signal better over the last few seconds. Both decide the same symbols with the same
// delay, so the bits run on without a seam when it changes.
#include <array>
#include <complex>

#include "engines/psk/viterbi.h"

namespace psk {

class QpskDecoder {
public:
    static constexpr int kDelay = ViterbiDecoder::kDelay;

    QpskDecoder();
    int pushSymbol(std::complex<double> c, bool inverted); // see ViterbiDecoder
    void reset();
    int pendingBit(int k) const { return decoders_[chosen_].pendingBit(k); } // see ViterbiDecoder
    void setCarrier(double phase);
    void setInterference(double isi);
    void shiftFrequency(double dw);
    double carrierPhase() const { return decoders_[chosen_].carrierPhase(); }
    double carrierFrequency() const { return decoders_[chosen_].carrierFrequency(); }

private:
    std::array<ViterbiDecoder, 2> decoders_; // narrow loops, wide loops
    std::array<double, 2> fit_{};
    int chosen_ = 0;
};

} // namespace psk

#pragma once
// QPSK31 decoding with two sets of carrier loops at once: narrow ones that lose least to the
// noise on a steady signal, and wide ones that follow a phase that wanders (drifting rigs);
// both decoders see every symbol and the bits come from the one whose paths have fitted the
// signal better over the last few seconds. A signal that fades (an HF path: the amplitude goes
// through zero and the phase turns fast around every fade) no loop follows: a third decoder
// takes each symbol against the few before it, turned by the phase changes it gave them, and
// its bits are taken while its reference fits the symbols better over a longer time. All decide the same symbols with the same delay, so the
// bits run on without a seam when the choice changes.
#include <array>
#include <complex>

#include "engines/psk/coding/viterbi.h"
#include "engines/psk/receive/fade_choice.h"

namespace psk {

class QpskDecoder {
public:
    static constexpr int kDelay = ViterbiDecoder::kDelay;

    QpskDecoder();
    // c as matched-filtered, and equalised (see ViterbiDecoder).
    int pushSymbol(std::complex<double> c, std::complex<double> equalised, bool inverted);
    void reset();
    int pendingBit(int k) const { return chosen_ < 2 ? decoders_[chosen_].pendingBit(k) : differential_.pendingBit(k); } // see ViterbiDecoder
    void setCarrier(double phase);
    void setInterference(double isi);
    void shiftFrequency(double dw);
    double carrierPhase() const { return decoders_[coherent_].carrierPhase(); }
    double carrierFrequency() const { return decoders_[coherent_].carrierFrequency(); }

private:
    std::array<ViterbiDecoder, 2> decoders_; // narrow loops, wide loops
    ViterbiDecoder differential_;            // on the phase changes alone, for fading signals
    std::array<double, 2> fit_{};
    FadeChoice fading_;                      // the better with loops, or the phase-change decoder
    int chosen_ = 0;                         // whose bits are taken
    int coherent_ = 0;                       // the better fitting of the two with loops
};

} // namespace psk

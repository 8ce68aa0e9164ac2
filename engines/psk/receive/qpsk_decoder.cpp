#include "engines/psk/receive/qpsk_decoder.h"

#include <algorithm>

namespace psk {
namespace {

constexpr double kFitAverage = 0.01; // weight of each symbol in the comparison (about 3 s)
constexpr double kFitMargin = 0.005; // how much better the other must fit to take over
// The phase-change decoder expects each symbol where the symbols before it point, the newest
// weighing most: over a path that fades 0.5 Hz that loses a fifth to a third fewer characters
// than the previous symbol alone (at +10 dB and at -5 dB), and more on slower fading.
constexpr double kChangeSmoothing = 0.4;
// On a steady signal the loops' carrier is the less noisy reference, so whichever fits better
// is taken.
constexpr double kFadeMargin = 0.0;

} // namespace

QpskDecoder::QpskDecoder() : fading_(kFadeMargin)
{
    decoders_[0].setCarrierLoop(0.05, 0.0025);
    // The wide loops' frequency moves fast enough to follow a signal that drifts 1 Hz/s from the
    // moment it is found (at a third of that gain they fell a quarter turn behind and lost it).
    decoders_[1].setCarrierLoop(0.2, 0.024);
}

int QpskDecoder::pushSymbol(std::complex<double> c, std::complex<double> equalised, bool inverted)
{
    int bits[3];
    const std::complex<double> loopTurn = std::polar(1.0, -decoders_[coherent_].carrierPhase()); // as it was for this symbol
    for (int i = 0; i < 2; ++i) {
        bits[i] = decoders_[i].pushSymbol(c, inverted);
        fit_[i] += kFitAverage * (decoders_[i].gain() - fit_[i]);
    }
    if (fit_[1 - coherent_] > fit_[coherent_] + kFitMargin)
        coherent_ = 1 - coherent_;

    // The fits on one scale: the cosine of four times the angle between the symbol and where
    // each decoder expected it (the loops' carrier, or the symbols before it).
    const std::complex<double> expected = differential_.expected();
    bits[2] = differential_.pushChange(equalised, inverted, kChangeSmoothing);
    const std::complex<double> a = equalised * loopTurn, b = equalised * std::conj(expected);
    chosen_ = fading_.update(cosineOf(a * a * a * a), cosineOf(b * b * b * b)) ? 2 : coherent_;
    return bits[chosen_];
}

void QpskDecoder::reset()
{
    for (auto& d : decoders_)
        d.reset();
    differential_.reset();
    fit_ = {0, 0};
    fading_.reset();
    chosen_ = 0;
    coherent_ = 0;
}

void QpskDecoder::setCarrier(double phase)
{
    for (auto& d : decoders_)
        d.setCarrier(phase);
}

void QpskDecoder::setInterference(double isi)
{
    for (auto& d : decoders_)
        d.setInterference(isi);
}

void QpskDecoder::shiftFrequency(double dw)
{
    for (auto& d : decoders_)
        d.shiftFrequency(dw);
}

} // namespace psk

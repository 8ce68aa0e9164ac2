#include "engines/psk/qpsk_decoder.h"

#include <algorithm>

namespace psk {
namespace {

constexpr double kFitAverage = 0.01; // weight of each symbol in the comparison (about 3 s)
constexpr double kFitMargin = 0.005; // how much better the other must fit to take over
constexpr double kFadeMargin = 0.03; // on a steady signal the phase-change decoder fits a little worse

} // namespace

QpskDecoder::QpskDecoder() : fading_(kFadeMargin)
{
    decoders_[0].setCarrierLoop(0.05, 0.0025);
    decoders_[1].setCarrierLoop(0.2, 0.008);
}

int QpskDecoder::pushSymbol(std::complex<double> c, std::complex<double> equalised, bool inverted)
{
    int bits[3];
    for (int i = 0; i < 2; ++i) {
        bits[i] = decoders_[i].pushSymbol(c, inverted);
        fit_[i] += kFitAverage * (decoders_[i].gain() - fit_[i]);
    }
    if (fit_[1 - coherent_] > fit_[coherent_] + kFitMargin)
        coherent_ = 1 - coherent_;

    // The phase change from the previous symbol, against each dibit's.
    std::complex<double> d = equalised * std::conj(previous_);
    previous_ = equalised;
    if (inverted)
        d = std::conj(d);
    std::array<double, 4> m;
    for (int dibit = 0; dibit < 4; ++dibit) {
        switch (qpskPhaseChange(dibit)) {
        case 0: m[std::size_t(dibit)] = d.real(); break;
        case 1: m[std::size_t(dibit)] = d.imag(); break;
        case 2: m[std::size_t(dibit)] = -d.real(); break;
        default: m[std::size_t(dibit)] = -d.imag(); break;
        }
    }
    bits[2] = differential_.push(m);

    chosen_ = fading_.update(decoders_[coherent_].gain(), differential_.gain()) ? 2 : coherent_;
    return bits[chosen_];
}

void QpskDecoder::reset()
{
    for (auto& d : decoders_)
        d.reset();
    differential_.reset();
    fit_ = {0, 0};
    fading_.reset();
    previous_ = {0, 0};
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

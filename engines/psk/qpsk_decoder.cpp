#include "engines/psk/qpsk_decoder.h"

namespace psk {
namespace {

constexpr double kFitAverage = 0.01; // weight of each symbol in the comparison (about 3 s)
constexpr double kFitMargin = 0.005; // how much better the other must fit to take over

} // namespace

QpskDecoder::QpskDecoder()
{
    decoders_[0].setCarrierLoop(0.05, 0.0025);
    decoders_[1].setCarrierLoop(0.2, 0.008);
}

int QpskDecoder::pushSymbol(std::complex<double> c, bool inverted)
{
    int bits[2];
    for (int i = 0; i < 2; ++i) {
        bits[i] = decoders_[i].pushSymbol(c, inverted);
        fit_[i] += kFitAverage * (decoders_[i].gain() - fit_[i]);
    }
    const int other = 1 - chosen_;
    if (fit_[other] > fit_[chosen_] + kFitMargin)
        chosen_ = other;
    return bits[chosen_];
}

void QpskDecoder::reset()
{
    for (auto& d : decoders_)
        d.reset();
    fit_ = {0, 0};
    chosen_ = 0;
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

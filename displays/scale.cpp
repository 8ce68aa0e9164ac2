#include "displays/scale.h"

#include "core/declarations.h"

void ComputeHzPerTwip()
{
    if (ScaleWidth != 0)
        HzPerTwip = FFTBinHz / ScaleWidth;
}

void doAdjustScale() {}
void RedrawSpectrumScale() {}
void SetWindowTopmost(bool) {}
void SetRxFrequencyFromPixel(double) {}
void SetAux1RxFrequencyFromPixel(double) {}
void SetAux2RxFrequencyFromPixel(double) {}

#pragma once
// The frequency scale, its markers and click-to-tune.
void ComputeHzPerTwip();
void doAdjustScale();
void RedrawSpectrumScale();
// Takes the main window out of (false) or back into (true) the top-most band when
// "Always on top" is on.
void SetWindowTopmost(bool topmost);
void SetRxFrequencyFromPixel(double x);
void SetAux1RxFrequencyFromPixel(double x);
void SetAux2RxFrequencyFromPixel(double x);

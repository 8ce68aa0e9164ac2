#pragma once
// The frequency and IMD readouts of the main window, the auxiliary channel windows and the
// tuning windows.
#include <QString>
#include <cstdint>

// Once per tick: follow the engines' receive frequencies (the scale and readouts follow).
void TrackRxFrequency();
void TrackAux1RxFrequency();
void TrackAux2RxFrequency();

// An IMD value in dB for channel 0..2: green below -25 dB, red otherwise; blanked ten ticks
// after the last value. A closed auxiliary channel, or another channel number, changes nothing.
void ShowIMD(std::int32_t value, std::int32_t channel);
// Blanks the first readout, in the order 0, 1, 2, whose clear counter has passed 10.
void ClearIMD();
// Blanks the readout of one channel and resets its counter.
void ClearIMD(std::int32_t channel);

// The readout step of the scale redraw: audio and radio frequency boxes.
void ShowFrequencyReadouts();

// The main window's readout boxes.
void AudioFreqBox_Click();
void IMDBox_Click();

// A number as the "####.0" pattern writes it: `decimals` places, no digit forced before the point.
QString FormatHash(double value, int decimals);

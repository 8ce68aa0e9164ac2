#pragma once
// The frequency scale above the display, its channel and frequency markers, the conversion
// between hertz and display position, click-to-tune, the display buffer's size and the
// stay-on-top band.
#include <cstdint>
#include <functional>

// HzPerTwip = FFTBinHz / ScaleWidth (left as it is when ScaleWidth is 0).
void ComputeHzPerTwip();
// Baseline, 100 Hz ticks and the four kHz labels.
void DrawFrequencyScale();
// Cursors of the open PSK channels.
void DrawPSKMarkers();
// Mark and space lines, and the shift text in the IMD box.
void DrawRTTYMarkers();
// The whole scale: clear, scale, channel markers, frequency markers, then the readouts.
void RedrawSpectrumScale();
// Label texts from the dial frequency, then the whole scale.
void UpdateScaleLabels();

// Tunes a channel to a scale position in twips. Outside 300..3500 Hz nothing happens. With
// `send` the engine is told (the scale follows when the engine reports the new frequency);
// without it the scale is redrawn.
void SetRxFrequencyFromPixel(std::int16_t position, bool send);
void SetAux1RxFrequencyFromPixel(std::int16_t position, bool send);
void SetAux2RxFrequencyFromPixel(std::int16_t position, bool send);

// Gives the display buffer the display's size and recomputes SpectrumPixelHeight.
void doAdjustScale();

// Puts a registered window into (-1) or out of (-2) the top-most band without moving,
// sizing or activating it.
constexpr std::int16_t kHwndTopmost = -1;
constexpr std::int16_t kHwndNoTopmost = -2;
void SetWindowTopmost(std::int32_t window, std::int16_t insertAfter);
// The main window out of (false) or back into (true) the top-most band, when "Always on top"
// is checked.
void SetWindowTopmost(bool topmost);
// Runs `show` (a modal box, or showing another window) with the main window out of the
// top-most band while "Always on top" is checked.
void AroundTopmost(const std::function<void()>& show);

// Scale position in twips of the kHz label k (1..4) as last drawn.
double ScaleLabelPosition(int k);

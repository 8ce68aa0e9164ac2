#pragma once
// The arithmetic of the displays, free of windows: where a bin is drawn, what it is worth, its
// waterfall level, and whole numbers that never overflow.
#include <cstdint>
#include <optional>
#include <utility>

namespace disp {

constexpr int kBins = 1024;
constexpr int kTwipsPerPixel = 15;

// Rounded halves to even and kept within lo..hi; NaN gives lo.
int RoundClamp(double value, int lo, int hi);
// Rounded halves to even when it fits 16 bits, else nothing (the caller skips the step).
std::optional<std::int16_t> Round16(double value);

// x in pixels of bin i on the main display: i x ScaleWidth / 15 + 1, rounded halves to even.
int BinX(int bin, double scaleWidth);
// A bin as drawn: the PSK engine's value as read; the RTTY engine's 0 when 0 or below, else the
// bin squared / 1000.
double BinValue(std::int32_t raw, bool psk);
// Waterfall level 0..12: sensitivity x value truncated toward zero; while the RTTY engine
// transmits, level - 11.5 rounded halves to even; then kept within 0..12.
int WaterfallLevel(double value, double sensitivity, bool rttyTransmit);
// Height in pixels of a value on a picture: pictureHeight / scale x value, times gain / 10 when
// `applyGain`. Nothing when the scale is 0.
std::optional<double> BarHeight(double value, int pictureHeight, int scale, bool applyGain, int gain);
// The two frame lines of the main zoomed spectrum: PSK 73 and 57; RTTY 65 + d and 65 - d with
// d = (shift / 2) / (1.937 x 2), rounded halves to even.
std::pair<int, int> FrameLines(bool psk, double rttyShiftHz);

} // namespace disp

#pragma once
// Windows RGB colour numbers (red in the low byte) and twips (15 to the pixel).
#include <QColor>
#include <cstdint>

namespace rgb {
QColor toColor(std::int32_t rgbNumber);
std::int32_t fromColor(const QColor& color);
constexpr std::int32_t make(int r, int g, int b) { return r | (g << 8) | (b << 16); }
} // namespace rgb

namespace twips {
constexpr int kPerPixel = 15;
// Pixels from twips, rounded halves to even; twips from pixels.
int toPixels(double twipsValue);
int fromPixels(int pixels);
} // namespace twips

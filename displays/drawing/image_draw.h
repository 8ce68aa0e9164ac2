#pragma once
// Small clipped pixel operations on a picture's 32-bit back buffer, for the hot drawing loops.
#include <QImage>
#include <algorithm>

namespace disp {

inline void SetPixel(QImage& img, int x, int y, QRgb c)
{
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height())
        reinterpret_cast<QRgb*>(img.scanLine(y))[x] = c;
}

// Both end points included.
inline void VerticalLine(QImage& img, int x, int y0, int y1, QRgb c)
{
    if (x < 0 || x >= img.width())
        return;
    if (y0 > y1)
        std::swap(y0, y1);
    y0 = std::max(y0, 0);
    y1 = std::min(y1, img.height() - 1);
    if (y0 > y1)
        return;
    uchar* bits = img.bits();
    const qsizetype bpl = img.bytesPerLine();
    for (int y = y0; y <= y1; ++y)
        reinterpret_cast<QRgb*>(bits + y * bpl)[x] = c;
}

} // namespace disp

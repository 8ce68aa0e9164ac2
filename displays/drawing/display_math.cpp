#include "displays/drawing/display_math.h"

#include <cmath>
#include <limits>

namespace disp {

int RoundClamp(double value, int lo, int hi)
{
    if (std::isnan(value))
        return lo;
    const double r = std::nearbyint(value);
    if (r <= lo)
        return lo;
    if (r >= hi)
        return hi;
    return static_cast<int>(r);
}

std::optional<std::int16_t> Round16(double value)
{
    const double r = std::nearbyint(value);
    if (!std::isfinite(r) || r < std::numeric_limits<std::int16_t>::min()
        || r > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(r);
}

int BinX(int bin, double scaleWidth)
{
    return RoundClamp(bin * scaleWidth / kTwipsPerPixel + 1, -1000000, 1000000);
}

double BinValue(std::int32_t raw, bool psk)
{
    if (psk)
        return raw;
    if (raw <= 0)
        return 0;
    const std::int64_t r = raw;
    return static_cast<double>(r * r) / 1000.0;
}

int WaterfallLevel(double value, double sensitivity, bool rttyTransmit)
{
    double level = std::trunc(sensitivity * value);
    if (std::isnan(level))
        level = 0;
    // Far beyond 0..12 either way makes no difference to the result.
    level = std::fmax(-100000.0, std::fmin(100000.0, level));
    if (rttyTransmit)
        level = std::nearbyint(level - 11.5);
    return RoundClamp(level, 0, 12);
}

std::optional<double> BarHeight(double value, int pictureHeight, int scale, bool applyGain, int gain)
{
    if (scale == 0)
        return std::nullopt;
    double h = static_cast<double>(pictureHeight) / scale * value;
    if (applyGain)
        h = h * gain / 10.0;
    if (std::isnan(h))
        return std::nullopt;
    return h;
}

std::pair<int, int> FrameLines(bool psk, double rttyShiftHz)
{
    if (psk)
        return {73, 57};
    const double d = (rttyShiftHz / 2) / (1.937 * 2);
    return {RoundClamp(65 + d, -100000, 100000), RoundClamp(65 - d, -100000, 100000)};
}

} // namespace disp

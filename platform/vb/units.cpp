#include "platform/vb/units.h"

#include "platform/vb/vbnum.h"

namespace rgb {

QColor toColor(std::int32_t n)
{
    return QColor(n & 0xFF, (n >> 8) & 0xFF, (n >> 16) & 0xFF);
}

std::int32_t fromColor(const QColor& c)
{
    return make(c.red(), c.green(), c.blue());
}

} // namespace rgb

namespace twips {

int toPixels(double twipsValue)
{
    return static_cast<int>(vb::RoundHalfEven(twipsValue / kPerPixel));
}

int fromPixels(int pixels)
{
    return pixels * kPerPixel;
}

} // namespace twips

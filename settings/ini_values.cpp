#include "settings/ini_values.h"

#include "platform/vb/vbnum.h"

#include <cmath>
#include <limits>

namespace inival {

TypeMismatch::TypeMismatch(const QString& text)
    : std::runtime_error("Type mismatch: " + text.toStdString())
{
}

namespace {

double finite(double v)
{
    if (!std::isfinite(v))
        throw vb::OverflowError(v);
    return v;
}

} // namespace

std::int16_t Int16(const QString& text)
{
    return vb::CInt(vb::Val(text));
}

std::int32_t Int32(const QString& text)
{
    return vb::CLng(vb::Val(text));
}

float Single(const QString& text)
{
    const double v = finite(vb::Val(text));
    if (std::fabs(v) > std::numeric_limits<float>::max())
        throw vb::OverflowError(v);
    return static_cast<float>(v);
}

double Double(const QString& text)
{
    return finite(vb::Val(text));
}

std::int32_t WholeInt32(const QString& text)
{
    if (!vb::IsNumeric(text))
        throw TypeMismatch(text);
    return vb::CLng(vb::Val(text));
}

bool Truth(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (vb::IsNumeric(t))
        return finite(vb::Val(t)) != 0;
    throw TypeMismatch(text);
}

} // namespace inival

#include "platform/vb/vbnum.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace vb {

OverflowError::OverflowError(double value)
    : std::range_error("Overflow"), value_(value)
{
}

namespace {

bool skippable(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// Text with every skippable character removed, as Val sees it.
QString squeezed(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!skippable(c))
            out.append(c);
    return out;
}

// Reads a radix-prefixed number ("&H1F", "&O17"); returns the characters used (0 if none).
qsizetype readRadix(const QString& s, double& result)
{
    if (s.size() < 2 || s[0] != u'&')
        return 0;
    const QChar kind = s[1].toUpper();
    int base = 0;
    if (kind == u'H')
        base = 16;
    else if (kind == u'O')
        base = 8;
    else
        return 0;
    quint64 v = 0;
    qsizetype i = 2;
    for (; i < s.size(); ++i) {
        const QChar c = s[i].toUpper();
        const bool ok = (base == 16) ? ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'))
                                     : (c >= u'0' && c <= u'7');
        if (!ok)
            break;
        const int d = (c <= u'9') ? c.unicode() - u'0' : c.unicode() - u'A' + 10;
        v = v * base + d;
        if (v > 0xFFFFFFFFull)
            v &= 0xFFFFFFFFull;
    }
    // VB gives a 16-bit value where it fits in four hex digits, else a 32-bit one; both signed.
    if (v <= 0xFFFF)
        result = static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(v)));
    else
        result = static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
    return i;
}

// Reads a decimal number at the start of s; returns the characters used (0 if no digits).
qsizetype readDecimal(const QString& s, double& result)
{
    std::string buf;
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
        buf += static_cast<char>(s[i++].unicode());
    bool digits = false;
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
        buf += static_cast<char>(s[i++].unicode());
        digits = true;
    }
    if (i < s.size() && s[i] == u'.') {
        buf += '.';
        ++i;
        while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
            buf += static_cast<char>(s[i++].unicode());
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (i < s.size() && (s[i].toUpper() == u'E' || s[i].toUpper() == u'D')) {
        qsizetype j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == u'-' || s[j] == u'+'))
            exp += static_cast<char>(s[j++].unicode());
        bool expDigits = false;
        while (j < s.size() && s[j].isDigit() && s[j].unicode() < 128) {
            exp += static_cast<char>(s[j++].unicode());
            expDigits = true;
        }
        if (expDigits) {
            buf += exp;
            i = j;
        }
    }
    // strtod is locale-dependent for the point; the C locale is never changed by this program,
    // but parse through a locale-independent path anyway.
    result = QByteArray::fromStdString(buf).toDouble();
    return i;
}

QString formatG15(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    QString s = QString::fromLatin1(buf);
    // %.15g may use the locale's point only if someone changed LC_NUMERIC; normalise.
    s.replace(u',', u'.');
    const qsizetype e = s.indexOf(u'e');
    if (e >= 0) {
        // VB writes exponents as E+16 / E-05.
        QString mant = s.left(e);
        QString exp = s.mid(e + 1);
        QChar sign = u'+';
        if (exp.startsWith(u'-') || exp.startsWith(u'+')) {
            sign = exp[0];
            exp = exp.mid(1);
        }
        while (exp.size() > 2 && exp.startsWith(u'0'))
            exp.remove(0, 1);
        if (exp.size() < 2)
            exp.prepend(u'0');
        s = mant + u'E' + sign + exp;
    }
    return s;
}

} // namespace

double Val(const QString& text)
{
    const QString s = squeezed(text);
    double result = 0.0;
    if (readRadix(s, result) > 0)
        return result;
    if (readDecimal(s, result) > 0)
        return result;
    return 0.0;
}

bool IsNumeric(const QString& text)
{
    const QString s = text.trimmed();
    if (s.isEmpty())
        return false;
    double result = 0.0;
    qsizetype used = readRadix(s, result);
    if (used == 0)
        used = readDecimal(s, result);
    return used > 0 && used == s.size();
}

QString Text(double value)
{
    return formatG15(value);
}

QString Str(double value)
{
    QString s = formatG15(value);
    if (s.startsWith(QStringLiteral("0.")))
        s.remove(0, 1);
    else if (s.startsWith(QStringLiteral("-0.")))
        s.remove(1, 1);
    if (!(value < 0))
        s.prepend(u' ');
    return s;
}

double RoundHalfEven(double value)
{
    return std::nearbyint(value); // default rounding mode: to nearest, ties to even
}

std::int16_t CInt(double value)
{
    const double r = RoundHalfEven(value);
    if (!std::isfinite(r) || r < std::numeric_limits<std::int16_t>::min()
        || r > std::numeric_limits<std::int16_t>::max())
        throw OverflowError(value);
    return static_cast<std::int16_t>(r);
}

std::int32_t CLng(double value)
{
    const double r = RoundHalfEven(value);
    if (!std::isfinite(r) || r < std::numeric_limits<std::int32_t>::min()
        || r > std::numeric_limits<std::int32_t>::max())
        throw OverflowError(value);
    return static_cast<std::int32_t>(r);
}

double Int(double value)
{
    return std::floor(value);
}

double Fix(double value)
{
    return std::trunc(value);
}

QString Fixed(double value, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    QString s = QString::fromLatin1(buf);
    s.replace(u',', u'.');
    // No minus sign on a value that shows as zero.
    if (s.startsWith(u'-') && s.mid(1).remove(u'.').remove(u'0').isEmpty())
        s.remove(0, 1);
    return s;
}

} // namespace vb

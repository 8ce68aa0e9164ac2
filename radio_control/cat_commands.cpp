#include "radio_control/cat_commands.h"

#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "radio_control/radio_types.h"

namespace varnel {
namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// Two decimal digits in one byte, the first in the high half.
char packedBcd(QChar high, QChar low)
{
    return static_cast<char>(((high.digitValue() & 0xF) << 4) | (low.digitValue() & 0xF));
}

QString badAddress(const QString& text)
{
    return QStringLiteral("CI-V address \"%1\" is not a hexadecimal address from 00 to 7F: command not sent.")
        .arg(text);
}

QString notAFrequency(const QString& text)
{
    return QStringLiteral("Frequency \"%1\" is not a number of kHz: command not sent.").arg(text);
}

QString outOfRange(int radioCode, const QString& text)
{
    return QStringLiteral("Frequency %1 kHz is outside what the radio type \"%2\" can be tuned to (%3): the "
                          "radio was not tuned.  Choose a frequency in that range.")
        .arg(text, radioTypeName(radioCode), tuningRangeText(radioCode));
}

// Fits the digits into `width` places: leading zeros beyond it are dropped, any other
// digit beyond it does not fit.
std::optional<QString> fitDigits(const QString& digits, int width)
{
    QString d = padWithZeros(digits, width);
    const qsizetype extra = d.size() - width;
    for (qsizetype i = 0; i < extra; ++i)
        if (d[i] != u'0')
            return std::nullopt;
    return d.right(width);
}

// The frequency a set-frequency command of the type carries for the normalised kHz text:
// CI-V and Kenwood take every digit as hertz, the Yaesu blocks drop the hertz digit.
double carriedKHz(int radioCode, const QString& khz)
{
    if (isCiv(radioCode) || radioCode == Kenwood)
        return vb::Val(removeDecimalPoint(khz)) / 1000;
    const qsizetype p = khz.indexOf(u'.');
    return vb::Val(khz.left(p) + u'.' + khz.mid(p + 1, 2));
}

QByteArray civFrame(unsigned char address, const QByteArray& body)
{
    QByteArray frame = bytes({0xFE, 0xFE, address, 0xE0});
    frame += body;
    frame.append(static_cast<char>(0xFD));
    return frame;
}

} // namespace

QString formatKHzString(const QString& text)
{
    QString s = text;
    if (!s.contains(u'.'))
        s += QStringLiteral(".0");
    while (s.size() - s.indexOf(u'.') - 1 < 3)
        s += u'0';
    return s;
}

QString removeDecimalPoint(const QString& text)
{
    const qsizetype p = text.indexOf(u'.');
    if (p < 0 || p + 1 >= text.size())
        return text;
    return text.left(p) + text.mid(p + 1);
}

QString padWithZeros(const QString& text, int length)
{
    QString s = text;
    while (s.size() < length)
        s.prepend(u'0');
    return s;
}

bool isFrequencyText(const QString& text)
{
    const QString t = vb::Trim(text);
    int digits = 0, points = 0;
    for (QChar c : t) {
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (c == u'.')
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

std::optional<unsigned char> civAddress(const QString& text)
{
    if (text.isEmpty() || text.size() > 2)
        return std::nullopt;
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    for (QChar c : text)
        if (!c.isDigit() && !(c.toUpper() >= u'A' && c.toUpper() <= u'F'))
            return std::nullopt;
    if (!ok || value > 0x7F)
        return std::nullopt;
    return static_cast<unsigned char>(value);
}

QByteArray ft847CatOn()
{
    return bytes({0, 0, 0, 0, 0x00});
}

CatBuild statusPoll(int radioCode, const QString& civAddressText)
{
    CatBuild out;
    if (isCiv(radioCode)) {
        const auto a = civAddress(civAddressText);
        if (!a) {
            out.refusal = badAddress(civAddressText);
            return out;
        }
        out.commands << CatCommand{civFrame(*a, bytes({0x03})), true}
                     << CatCommand{civFrame(*a, bytes({0x04})), true};
    } else if (radioCode == Kenwood) {
        out.commands << CatCommand{QByteArray("IF;"), false};
    } else if (isYaesuStatus(radioCode)) {
        out.commands << CatCommand{bytes({0x00, 0x00, 0x00, 0x02, 0x10}), true};
    } else if (radioCode == YaesuFT847) {
        // CAT on, then read the main VFO: one command of two blocks.
        out.commands << CatCommand{bytes({0, 0, 0, 0, 0x00, 0, 0, 0, 0, 0x03}), true};
    }
    return out;
}

CatBuild pttCommand(int radioCode, bool on, const QString& civAddressText)
{
    CatBuild out;
    if (isCiv(radioCode)) {
        const auto a = civAddress(civAddressText);
        if (!a) {
            out.refusal = badAddress(civAddressText);
            return out;
        }
        const QByteArray body = radioCode == TenTecOmniVI ? bytes({0x16, on ? 0x01 : 0x02})
                                                           : bytes({0x1C, 0x00, on ? 0x01 : 0x00});
        out.commands << CatCommand{civFrame(*a, body), true};
    } else if (radioCode == Kenwood) {
        out.commands << CatCommand{QByteArray(on ? "TX;" : "RX;"), false};
    } else if (isYaesuStatus(radioCode)) {
        out.commands << CatCommand{bytes({0, 0, 0, on ? 0x01 : 0x00, 0x0F}), true};
    } else if (radioCode == YaesuFT847) {
        out.commands << CatCommand{bytes({0, 0, 0, 0, on ? 0x08 : 0x88}), true};
    }
    return out;
}

CatBuild setFrequencyCommand(int radioCode, const QString& freqText, const QString& civAddressText)
{
    CatBuild out;
    const bool known = isCiv(radioCode) || radioCode == Kenwood || isYaesuStatus(radioCode)
                       || radioCode == YaesuFT847;
    if (!known)
        return out;
    if (!isFrequencyText(freqText)) {
        out.refusal = notAFrequency(freqText);
        return out;
    }
    const QString text = vb::Trim(freqText);
    const QString khz = formatKHzString(text);
    if (!canTune(radioCode, carriedKHz(radioCode, khz))) {
        out.refusal = outOfRange(radioCode, text);
        return out;
    }

    if (isCiv(radioCode)) {
        const auto a = civAddress(civAddressText);
        if (!a) {
            out.refusal = badAddress(civAddressText);
            return out;
        }
        // Hertz in five BCD bytes; the IC-735 takes four, so it ends below 100 MHz.
        const int pairs = radioCode == Icom735 ? 4 : 5;
        const auto fitted = fitDigits(removeDecimalPoint(khz), 2 * pairs);
        if (!fitted) {
            out.refusal = outOfRange(radioCode, text);
            return out;
        }
        const QString hz = padWithZeros(*fitted, 10);
        QByteArray body(1, 0x05);
        for (int i = 0; i < pairs; ++i) {
            const int at = 8 - 2 * i; // digits 9-10, 7-8, 5-6, ...
            body.append(packedBcd(hz[at], hz[at + 1]));
        }
        out.commands << CatCommand{civFrame(*a, body), true};
    } else if (radioCode == Kenwood) {
        const auto hz = fitDigits(removeDecimalPoint(khz), 11);
        if (!hz) {
            out.refusal = outOfRange(radioCode, text);
            return out;
        }
        out.commands << CatCommand{"FA" + cp1252::encode(*hz) + ';', false};
    } else if (isYaesuStatus(radioCode)) {
        // Units of 10 Hz, least significant byte first, around the point; the hertz
        // digit is dropped. Below 1000 kHz the missing digits are zeros.
        const qsizetype p = khz.indexOf(u'.');
        const QString before = padWithZeros(khz.left(p), 4);
        const QString after = khz.mid(p + 1, 2);
        const auto top = fitDigits(before.left(before.size() - 4), 2);
        if (!top) {
            out.refusal = outOfRange(radioCode, text);
            return out;
        }
        const qsizetype n = before.size();
        QByteArray block;
        block.append(packedBcd(after[0], after[1]));
        block.append(packedBcd(before[n - 2], before[n - 1]));
        block.append(packedBcd(before[n - 4], before[n - 3]));
        block.append(packedBcd((*top)[0], (*top)[1]));
        block.append(static_cast<char>(0x0A));
        out.commands << CatCommand{block, true};
    } else { // FT-847
        QString tens = removeDecimalPoint(khz);
        tens.chop(1);
        const auto digits = fitDigits(tens, 8);
        if (!digits) {
            out.refusal = outOfRange(radioCode, text);
            return out;
        }
        const QString all = *digits + QStringLiteral("01");
        QByteArray block;
        for (int i = 0; i < 10; i += 2)
            block.append(packedBcd(all[i], all[i + 1]));
        out.commands << CatCommand{block, true};
    }
    return out;
}

} // namespace varnel

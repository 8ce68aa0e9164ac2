#include "radio_control/reply_parsers.h"

#include "platform/text1252.h"
#include "platform/vbnum.h"
#include "radio_control/radio_types.h"

namespace varnel {
namespace {

constexpr unsigned char kEnd = 0xFD;

// Byte n of the buffer, counted from 1.
int at(const QByteArray& b, qsizetype n)
{
    return static_cast<unsigned char>(b[n - 1]);
}

bool isBcd(int byte)
{
    return (byte >> 4) <= 9 && (byte & 0xF) <= 9;
}

// Reads packed-BCD bytes as decimal digits, in the order given (positions from 1).
std::optional<double> bcdNumber(const QByteArray& b, std::initializer_list<qsizetype> positions)
{
    double value = 0;
    for (qsizetype p : positions) {
        const int byte = at(b, p);
        if (!isBcd(byte))
            return std::nullopt;
        value = value * 100 + (byte >> 4) * 10 + (byte & 0xF);
    }
    return value;
}

QString civMode(int code)
{
    switch (code) {
    case 0: return QStringLiteral("LSB");
    case 1: return QStringLiteral("USB");
    case 2: return QStringLiteral("AM");
    case 3: return QStringLiteral("CW");
    case 4: return QStringLiteral("RTTY");
    case 5: return QStringLiteral("FM");
    case 7: return QStringLiteral("RTTY");
    default: return QString();
    }
}

ParseResult taken(double khz, QString mode = QString())
{
    ParseResult r;
    r.kind = ParseResult::Taken;
    r.showLine = true;
    r.freqKHz = khz;
    r.freqText = frequencyText(khz);
    r.mode = std::move(mode);
    return r;
}

ParseResult takenMode(QString mode)
{
    ParseResult r;
    r.kind = ParseResult::Taken;
    r.showLine = true;
    r.mode = std::move(mode);
    return r;
}

ParseResult dropped(bool showLine)
{
    ParseResult r;
    r.kind = ParseResult::Dropped;
    r.showLine = showLine;
    return r;
}

// A frequency frame (command 03) or a mode frame (04) from the radio, behind the echo of
// the poll. Acknowledge frames (FB, FA) of set-frequency and PTT commands are neither and
// are dropped, so they never show as a frequency or a mode.
ParseResult parseCiv(const QByteArray& b, bool fourByteFrequency)
{
    const qsizetype n = b.size();
    const bool ends = n > 0 && at(b, n) == kEnd;
    const qsizetype freqLength = fourByteFrequency ? 16 : 17;

    if (n < 12)
        return {};
    if (n < freqLength) {
        if (fourByteFrequency && n != 13)
            return {};
        if (!ends)
            return {};
        // The radio's mode frame behind the six-byte echo: FE FE E0 addr 04 mode ...
        if (at(b, 7) == 0xFE && at(b, 8) == 0xFE && at(b, 9) == 0xE0 && at(b, 11) == 0x04)
            return takenMode(civMode(at(b, 12)));
        return dropped(true);
    }
    if (!ends)
        return dropped(false);
    std::optional<double> hz;
    if (fourByteFrequency) {
        hz = bcdNumber(b, {15, 14, 13, 12});
    } else if (n == 17) {
        hz = bcdNumber(b, {16, 15, 14, 13, 12});
    } else if (n < 23) {
        return {}; // the later frame is not complete yet
    } else {
        hz = bcdNumber(b, {23, 22, 21, 20, 19});
    }
    if (!hz)
        return dropped(true);
    return taken(*hz / 1000);
}

ParseResult parseKenwood(const QByteArray& b)
{
    if (b.size() < 38)
        return {};
    if (!b.startsWith("IF")) {
        ParseResult r = dropped(true);
        r.showHex = false;
        return r;
    }
    const double hz = vb::Val(cp1252::decode(b.mid(2, 11)));
    QString mode;
    switch (b[29]) {
    case '1': mode = QStringLiteral("LSB"); break;
    case '2': mode = QStringLiteral("USB"); break;
    case '3': case '7': mode = QStringLiteral("CW"); break;
    case '4': mode = QStringLiteral("FM"); break;
    case '5': mode = QStringLiteral("AM"); break;
    case '6': case '9': mode = QStringLiteral("RTTY"); break;
    default: break;
    }
    ParseResult r = taken(hz / 1000, mode);
    r.showHex = false;
    return r;
}

QString yaesuMode(int code, int lastCode, bool fsk)
{
    static const char* const names[] = {"LSB", "USB", "CW", "AM", "FM", "RTTY", "PKT", "FSK"};
    if (code < 0 || code > lastCode)
        return QString();
    if (fsk && code == lastCode)
        return QStringLiteral("FSK");
    return QString::fromLatin1(names[code]);
}

ParseResult parseFT1000D(const QByteArray& b)
{
    if (b.size() < 16)
        return {};
    const double f = at(b, 2) * 655.36 + at(b, 3) * 2.56 + at(b, 4) / 100.0;
    return taken(f, yaesuMode(at(b, 8), 6, false));
}

ParseResult parseFT1000MP(const QByteArray& b)
{
    if (b.size() < 16)
        return {};
    const double count = ((double(at(b, 2)) * 256 + at(b, 3)) * 256 + at(b, 4)) * 256 + at(b, 5);
    return taken(count * 0.000625, yaesuMode(at(b, 8), 7, false));
}

ParseResult parseFT990(const QByteArray& b)
{
    if (b.size() < 32)
        return {};
    const double f = (at(b, 2) * 65536.0 + at(b, 3) * 256.0 + at(b, 4)) / 100;
    return taken(f, yaesuMode(at(b, 8), 5, true));
}

ParseResult parseFT847(const QByteArray& b)
{
    if (b.size() < 5)
        return {};
    const auto tens = bcdNumber(b, {1, 2, 3, 4});
    if (!tens)
        return dropped(true);
    QString mode;
    switch (at(b, 5)) {
    case 0x00: mode = QStringLiteral("LSB"); break;
    case 0x01: mode = QStringLiteral("USB"); break;
    case 0x02: case 0x03: case 0x82: case 0x83: mode = QStringLiteral("CW"); break;
    case 0x04: case 0x84: mode = QStringLiteral("AM"); break;
    case 0x08: case 0x88: mode = QStringLiteral("FM"); break;
    default: break;
    }
    return taken(*tens / 100, mode);
}

} // namespace

QString frequencyText(double khz)
{
    return vb::Text(khz);
}

bool hasReplyParser(int radioCode)
{
    return isCiv(radioCode) || radioCode == Kenwood || isYaesuStatus(radioCode)
           || radioCode == YaesuFT847;
}

ParseResult parseReply(int radioCode, const QByteArray& buffer)
{
    switch (radioCode) {
    case IcomCiv:
    case TenTecOmniVI: return parseCiv(buffer, false);
    case Icom735: return parseCiv(buffer, true);
    case Kenwood: return parseKenwood(buffer);
    case YaesuFT1000D: return parseFT1000D(buffer);
    case YaesuFT1000MP: return parseFT1000MP(buffer);
    case YaesuFT847: return parseFT847(buffer);
    case YaesuFT990: return parseFT990(buffer);
    default: return {};
    }
}

} // namespace varnel

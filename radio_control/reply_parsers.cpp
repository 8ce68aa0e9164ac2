#include "radio_control/reply_parsers.h"

#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
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

ParseResult dropped(bool showLine)
{
    ParseResult r;
    r.kind = ParseResult::Dropped;
    r.showLine = showLine;
    return r;
}

constexpr unsigned char kPreamble = 0xFE;
constexpr unsigned char kController = 0xE0;
constexpr unsigned char kBroadcast = 0x00;
constexpr unsigned char kNak = 0xFA;
// A frame that runs on this long without its end is no frame.
constexpr qsizetype kLongestCivFrame = 32;

// The digits of packed-BCD bytes given least significant first.
std::optional<double> bcdLittleEndian(const QByteArray& data)
{
    double value = 0;
    for (qsizetype i = data.size() - 1; i >= 0; --i) {
        const int byte = static_cast<unsigned char>(data[i]);
        if (!isBcd(byte))
            return std::nullopt;
        value = value * 100 + (byte >> 4) * 10 + (byte & 0xF);
    }
    return value;
}

// CI-V frames, FE FE to from command data FD, one after the other: the echo of what was
// sent (from E0), the radio's replies to E0 (03 frequency, 04 mode, FB, FA) and, in
// transceive mode, its frequency broadcasts to 00 (command 00). Frames from other radios,
// acknowledges and anything unknown leave the texts alone.
ParseResult parseCiv(const QByteArray& b, int bcdBytes, const ReplyContext& ctx)
{
    const qsizetype n = b.size();
    const auto byteAt = [&b](qsizetype i) { return static_cast<unsigned char>(b[i]); };
    const auto awaiting = [&ctx](unsigned char cmd) { return !ctx.civAwaited || *ctx.civAwaited == cmd; };
    const bool anyRadio = !ctx.civAddress || *ctx.civAddress == kBroadcast;

    std::optional<double> khz;
    std::optional<QString> mode;
    bool answered = false;  // the reply awaited came
    bool junk = false;      // bytes that are no sound frame
    bool onlyEchoes = true; // every complete frame so far was the echo of a command
    qsizetype done = 0;     // end of the last complete frame
    qsizetype tail = n;     // start of a frame still coming

    qsizetype pos = 0;
    while (pos < n) {
        const qsizetype start = b.indexOf("\xFE\xFE", pos);
        if (start < 0) {
            // Nothing but a lone FE can begin a frame from here on.
            const qsizetype keep = byteAt(n - 1) == kPreamble ? n - 1 : n;
            if (keep > pos)
                junk = true;
            tail = keep;
            break;
        }
        if (start > pos)
            junk = true;
        qsizetype body = start;
        while (body < n && byteAt(body) == kPreamble)
            ++body;
        qsizetype end = body;
        while (end < n && byteAt(end) != kEnd && byteAt(end) != kPreamble)
            ++end;
        if (end >= n) {
            if (n - start > kLongestCivFrame) {
                junk = true;
                pos = done = n;
                tail = n;
                break;
            }
            tail = start;
            break;
        }
        if (byteAt(end) == kPreamble || end - body < 3) {
            // Broken off by a new preamble, or too short to be a frame.
            junk = true;
            pos = byteAt(end) == kPreamble ? end : end + 1;
            done = pos;
            continue;
        }
        pos = done = end + 1;
        const unsigned char to = byteAt(body);
        const unsigned char from = byteAt(body + 1);
        const unsigned char cmd = byteAt(body + 2);
        const QByteArray data = b.mid(body + 3, end - body - 3);
        if (from == kController)
            continue; // the echo of a command
        onlyEchoes = false;
        if (!anyRadio && from != *ctx.civAddress)
            continue; // another radio on the line
        const bool reply = to == kController;
        const bool broadcast = to == kBroadcast && cmd == 0x00;
        if ((reply && cmd == 0x03) || broadcast) {
            if (data.size() != bcdBytes)
                continue;
            const auto hz = bcdLittleEndian(data);
            if (!hz) {
                junk = true;
                continue;
            }
            khz = *hz / 1000;
            if (awaiting(0x03) && (reply || ctx.civAwaited))
                answered = true;
        } else if (reply && cmd == 0x04 && (data.size() == 1 || data.size() == 2)) {
            mode = civMode(static_cast<unsigned char>(data[0]));
            if (awaiting(0x04))
                answered = true;
        } else if (reply && cmd == kNak && ctx.civAwaited == 0x04) {
            answered = true; // the radio has no mode to tell: waiting longer brings nothing
        }
    }

    ParseResult r;
    if (answered || khz || mode) {
        r.kind = answered ? ParseResult::Taken : ParseResult::Report;
        r.showLine = true;
        r.consumed = done;
        if (khz) {
            r.freqKHz = khz;
            r.freqText = frequencyText(*khz);
        }
        if (mode)
            r.mode = *mode;
        return r;
    }
    if (!junk && (tail < n || (onlyEchoes && done > 0)))
        return r; // the reply may still come behind the echo
    if (done == 0 && tail == n && !junk)
        return r;
    r = dropped(true);
    r.consumed = tail;
    return r;
}

ParseResult parseKenwood(const QByteArray& b)
{
    if (b.size() < 38)
        return {};
    bool sound = b.startsWith("IF") && b[37] == ';';
    for (qsizetype i = 2; i < 13 && sound; ++i)
        sound = b[i] >= '0' && b[i] <= '9';
    if (!sound) {
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

// A record of the Yaesu status blocks (16 bytes, positions from 1 within it) holds more
// than the frequency: a clarifier offset of at most 9.99 kHz in bytes 6-7 (two's complement,
// in hertz on the FT-990, in units of 0.625 Hz on the FT-1000MP and no larger on the
// FT-1000D), and the mode in the low three bits of byte 8. The FT-990 also has its IF
// filter in byte 9 (0 to 4, bit 7 a flag). A block whose record holds what the radio cannot
// report is noise, not believed.
struct RecordLimits {
    int clarifier;     // largest offset, in the record's units
    bool filterByte;   // byte 9 is the FT-990's filter selection
};

bool soundRecord(const QByteArray& b, const RecordLimits& limits)
{
    const int clarifier = static_cast<qint16>((at(b, 6) << 8) | at(b, 7));
    if (clarifier < -limits.clarifier || clarifier > limits.clarifier)
        return false;
    if (at(b, 8) > 7)
        return false;
    return !limits.filterByte || (at(b, 9) & 0x7F) <= 4;
}

constexpr RecordLimits kFT1000Record{15984, false};
constexpr RecordLimits kFT990Record{9999, true};

// A status block is exactly as long as the radio sends it, its frequency is one the radio
// can be tuned to and its record is sound; anything else is not believed.
ParseResult statusBlock(int code, const QByteArray& b, qsizetype length, double khz, QString mode,
                        const RecordLimits& limits)
{
    if (b.size() != length || !canTune(code, khz) || !soundRecord(b, limits))
        return dropped(true);
    return taken(khz, std::move(mode));
}

// The FT-990's 24-bit count of 10 Hz in bytes 2 to 4, most significant first.
double tensOfHertz(const QByteArray& b)
{
    return (at(b, 2) * 65536.0 + at(b, 3) * 256.0 + at(b, 4)) / 100;
}

ParseResult parseFT1000D(const QByteArray& b)
{
    if (b.size() < 16)
        return {};
    const double f = at(b, 2) * 655.36 + at(b, 3) * 2.56 + at(b, 4) / 100.0;
    return statusBlock(YaesuFT1000D, b, 16, f, yaesuMode(at(b, 8), 6, false), kFT1000Record);
}

ParseResult parseFT1000MP(const QByteArray& b)
{
    if (b.size() < 16)
        return {};
    const double count = ((double(at(b, 2)) * 256 + at(b, 3)) * 256 + at(b, 4)) * 256 + at(b, 5);
    return statusBlock(YaesuFT1000MP, b, 16, count * 0.000625, yaesuMode(at(b, 8), 7, false), kFT1000Record);
}

// The FT-990 sends two records; the reply is the first. The second (the other VFO) differs
// between firmware versions, some sending it all zero, so nothing is read from it. The
// first record's own fields, with the filter byte, leave less noise through than the
// FT-1000MP's four-byte count does.
ParseResult parseFT990(const QByteArray& b)
{
    if (b.size() < 32)
        return {};
    return statusBlock(YaesuFT990, b, 32, tensOfHertz(b), yaesuMode(at(b, 8), 5, true), kFT990Record);
}

ParseResult parseFT847(const QByteArray& b)
{
    if (b.size() < 5)
        return {};
    const auto tens = bcdNumber(b, {1, 2, 3, 4});
    if (b.size() != 5 || !tens || !canTune(YaesuFT847, *tens / 100))
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

ParseResult parseReply(int radioCode, const QByteArray& buffer, const ReplyContext& context)
{
    switch (radioCode) {
    case IcomCiv:
    case TenTecOmniVI: return parseCiv(buffer, 5, context);
    case Icom735: return parseCiv(buffer, 4, context);
    case Kenwood: return parseKenwood(buffer);
    case YaesuFT1000D: return parseFT1000D(buffer);
    case YaesuFT1000MP: return parseFT1000MP(buffer);
    case YaesuFT847: return parseFT847(buffer);
    case YaesuFT990: return parseFT990(buffer);
    default: return {};
    }
}

} // namespace varnel

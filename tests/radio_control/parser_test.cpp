// Replies of every radio type: when they are complete, and the frequency and mode they give.
#include "hex.h"
#include "radio_control/radio_types.h"
#include "radio_control/reply_parsers.h"

#include <gtest/gtest.h>

using namespace varnel;

namespace {

struct ReplyCase {
    const char* name;
    int code;
    QByteArray buffer;
    ParseResult::Kind kind;
    const char* freq; // expected text; "" = no frequency
    const char* mode; // expected; "" = mode left as it was
};

QByteArray kenwoodIf(const char* hz, char mode)
{
    // IF, 11 digits of hertz, then the fields up to the mode in place 30 and ";" in 38.
    QByteArray r = QByteArray("IF") + hz + "     " + "+00000" + "0" + "0" + "0" + "00";
    r += mode;
    r += "0000000;";
    return r;
}

QByteArray yaesuStatus(int length, const char* head, int modeByte)
{
    QByteArray r = hexBytes(head);
    r = r.leftJustified(length, '\0');
    r[7] = static_cast<char>(modeByte);
    if (length == 32)
        r.replace(16, 16, r.left(16)); // the FT-990's second VFO, on the same frequency
    return r;
}

// The block with the bytes from position `first` (counted from 1) replaced.
QByteArray withBytes(QByteArray b, qsizetype first, const char* hex)
{
    const QByteArray bytes = hexBytes(hex);
    return b.replace(first - 1, bytes.size(), bytes);
}

const QByteArray kFT1000D = yaesuStatus(16, "00 15 78 18", 1);
const QByteArray kFT1000MP = yaesuStatus(16, "00 01 57 82 70", 1);
const QByteArray kFT990 = yaesuStatus(32, "00 15 83 00", 5);

const ReplyCase kCases[] = {
    // CI-V: echo of the poll, then the answer.
    {"icom frequency 17", IcomCiv, hexBytes("FE FE 58 E0 03 FD FE FE E0 58 03 50 01 07 14 00 FD"),
     ParseResult::Taken, "14070.15", ""},
    {"icom frequency whole kHz", TenTecOmniVI, hexBytes("FE FE 58 E0 03 FD FE FE E0 58 03 00 00 07 14 00 FD"),
     ParseResult::Taken, "14070", ""},
    {"icom frequency behind two echoes", IcomCiv,
     hexBytes("FE FE 58 E0 03 FD FE FE 58 E0 03 FD FE FE E0 58 03 50 01 07 14 00 FD"),
     ParseResult::Taken, "14070.15", ""},
    {"icom frequency of six bytes is no five-byte frequency", IcomCiv,
     hexBytes("FE FE 58 E0 03 FD FE FE 58 E0 03 FD FE FE E0 58 03 00 50 01 07 14 00 FD"),
     ParseResult::Dropped, "", ""},
    {"icom mode 14", IcomCiv, hexBytes("FE FE 58 E0 04 FD FE FE E0 58 04 01 01 FD"), ParseResult::Taken, "", "USB"},
    {"icom mode 7 is RTTY", IcomCiv, hexBytes("FE FE 58 E0 04 FD FE FE E0 58 04 07 01 FD"), ParseResult::Taken, "", "RTTY"},
    {"icom mode unknown", IcomCiv, hexBytes("FE FE 58 E0 04 FD FE FE E0 58 04 06 01 FD"), ParseResult::Taken, "", ""},
    {"icom echo only", IcomCiv, hexBytes("FE FE 58 E0 03 FD FE FE E0 58 03"), ParseResult::Wait, "", ""},
    {"icom frequency in pieces", IcomCiv, hexBytes("FE FE 58 E0 03 FD FE FE E0 58 03 50 01"), ParseResult::Wait, "", ""},
    {"icom not ending FD", IcomCiv, hexBytes("FE FE 58 E0 03 FD FE FE E0 58 03 50 01 07 14 00 FE"),
     ParseResult::Dropped, "", ""},
    {"icom reply and a stray FD", IcomCiv, hexBytes("FE FE 58 E0 03 FD FE FE E0 58 03 50 01 07 14 00 FD FD"),
     ParseResult::Taken, "14070.15", ""},
    // Acknowledge frames after set-frequency and PTT commands are no frequency and no mode.
    {"icom ack after set frequency", IcomCiv,
     hexBytes("FE FE 58 E0 05 50 01 07 14 00 FD FE FE E0 58 FB FD"), ParseResult::Dropped, "", ""},
    {"icom ack after ptt", IcomCiv, hexBytes("FE FE 01 E0 1C 00 01 FD FE FE E0 01 FB FD"),
     ParseResult::Dropped, "", ""},
    {"omni ack after ptt", TenTecOmniVI, hexBytes("FE FE 04 E0 16 01 FD FE FE E0 04 FB FD"),
     ParseResult::Dropped, "", ""},
    {"ic735 frequency 16", Icom735, hexBytes("FE FE 04 E0 03 FD FE FE E0 04 03 50 01 07 14 FD"),
     ParseResult::Taken, "14070.15", ""},
    {"ic735 mode 13", Icom735, hexBytes("FE FE 04 E0 04 FD FE FE E0 04 04 00 FD"), ParseResult::Taken, "", "LSB"},
    {"ic735 mode and a stray byte", Icom735, hexBytes("FE FE 04 E0 04 FD FE FE E0 04 04 00 FD 00"),
     ParseResult::Taken, "", "LSB"},
    {"ic735 ack after set frequency", Icom735, hexBytes("FE FE 04 E0 05 50 01 07 14 FD FE FE E0 04 FB FD"),
     ParseResult::Dropped, "", ""},
    // Kenwood text.
    {"kenwood IF", Kenwood, kenwoodIf("00014070150", '2'), ParseResult::Taken, "14070.15", "USB"},
    {"kenwood IF FSK", Kenwood, kenwoodIf("00007040000", '9'), ParseResult::Taken, "7040", "RTTY"},
    {"kenwood first piece", Kenwood, kenwoodIf("00014070150", '2').left(20), ParseResult::Wait, "", ""},
    {"kenwood not IF", Kenwood, QByteArray("?;") + kenwoodIf("00014070150", '2'), ParseResult::Dropped, "", ""},
    // Yaesu status blocks.
    {"ft1000d", YaesuFT1000D, yaesuStatus(16, "00 15 78 18", 1), ParseResult::Taken, "14070", "USB"},
    {"ft1000d short", YaesuFT1000D, yaesuStatus(15, "00 15 78 18", 1), ParseResult::Wait, "", ""},
    {"ft1000d packet", YaesuFT1000D, yaesuStatus(16, "00 15 78 18", 6), ParseResult::Taken, "14070", "PKT"},
    {"ft1000d mode 7 unknown", YaesuFT1000D, yaesuStatus(16, "00 15 78 18", 7), ParseResult::Taken, "14070", ""},
    {"ft990", YaesuFT990, yaesuStatus(32, "00 15 83 00", 5), ParseResult::Taken, "14097.92", "FSK"},
    {"ft990 short", YaesuFT990, yaesuStatus(31, "00 15 83 00", 5), ParseResult::Wait, "", ""},
    // 14070.15 kHz = 22512240 units of 0.625 Hz = 01 57 82 70.
    {"ft1000mp", YaesuFT1000MP, yaesuStatus(16, "00 01 57 82 70", 7), ParseResult::Taken, "14070.15", "FSK"},
    // Beyond the frequency, a status block holds only what the radio can report: a clarifier
    // of at most 9.99 kHz, a mode in three bits, the FT-990's filter 0-4.
    {"ft1000d clarifier -9.99 kHz", YaesuFT1000D, withBytes(kFT1000D, 6, "D8 FA"), ParseResult::Taken, "14070", "USB"},
    {"ft1000d clarifier beyond", YaesuFT1000D, withBytes(kFT1000D, 6, "3E 71"), ParseResult::Dropped, "", ""},
    {"ft1000d mode byte with high bits", YaesuFT1000D, withBytes(kFT1000D, 8, "41"), ParseResult::Dropped, "", ""},
    {"ft1000mp clarifier +9.99 kHz", YaesuFT1000MP, withBytes(kFT1000MP, 6, "3E 70"), ParseResult::Taken, "14070.15", "USB"},
    {"ft1000mp clarifier beyond", YaesuFT1000MP, withBytes(kFT1000MP, 6, "C1 8F"), ParseResult::Dropped, "", ""},
    {"ft1000mp mode 8", YaesuFT1000MP, withBytes(kFT1000MP, 8, "08"), ParseResult::Dropped, "", ""},
    {"ft990 filter with its flag", YaesuFT990, withBytes(kFT990, 9, "82"), ParseResult::Taken, "14097.92", "FSK"},
    {"ft990 filter 5", YaesuFT990, withBytes(kFT990, 9, "05"), ParseResult::Dropped, "", ""},
    {"ft990 clarifier 10 kHz", YaesuFT990, withBytes(kFT990, 6, "27 10"), ParseResult::Dropped, "", ""},
    // The FT-990's second record is the other VFO, all zero on some radios: the reply is the first.
    {"ft990 second VFO on 40 m", YaesuFT990, withBytes(kFT990, 18, "0A BE 0C"), ParseResult::Taken, "14097.92", "FSK"},
    {"ft990 second record zero", YaesuFT990, kFT990.left(16) + QByteArray(16, '\0'), ParseResult::Taken, "14097.92", "FSK"},
    {"ft990 second record not one the radio could have", YaesuFT990,
     withBytes(withBytes(kFT990, 18, "2D C6 C1"), 22, "7F FF 09 05"), ParseResult::Taken, "14097.92", "FSK"},
    {"ft990 first record beyond 30 MHz", YaesuFT990, withBytes(kFT990, 2, "2D C6 C1"), ParseResult::Dropped, "", ""},
    {"ft847", YaesuFT847, hexBytes("01 40 70 15 01"), ParseResult::Taken, "14070.15", "USB"},
    {"ft847 CW narrow", YaesuFT847, hexBytes("01 40 70 15 82"), ParseResult::Taken, "14070.15", "CW"},
    {"ft847 mode unknown", YaesuFT847, hexBytes("01 40 70 15 81"), ParseResult::Taken, "14070.15", ""},
    {"ft847 short", YaesuFT847, hexBytes("01 40 70 15"), ParseResult::Wait, "", ""},
    {"ft847 not BCD", YaesuFT847, hexBytes("01 4A 70 15 01"), ParseResult::Dropped, "", ""},
    // No parser: the buffer only gathers.
    {"no radio", NoRadio, hexBytes("01 40 70 15 01 FD FD FD FD FD FD FD FD FD FD FD FD FD FD FD FD FD"),
     ParseResult::Wait, "", ""},
};

TEST(ReplyParsers, EveryType)
{
    for (const ReplyCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const ParseResult r = parseReply(c.code, c.buffer);
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.freqText, QString::fromLatin1(c.freq));
        EXPECT_EQ(r.freqKHz.has_value(), *c.freq != 0);
        EXPECT_EQ(r.mode, QString::fromLatin1(c.mode));
        if (r.kind == ParseResult::Taken) {
            EXPECT_TRUE(r.showLine);
            EXPECT_EQ(r.showHex, c.code != Kenwood);
        }
    }
}

TEST(ReplyParsers, KenwoodDroppedTextIsShownAsText)
{
    const ParseResult r = parseReply(Kenwood, QByteArray(38, 'x'));
    EXPECT_EQ(r.kind, ParseResult::Dropped);
    EXPECT_TRUE(r.showLine);
    EXPECT_FALSE(r.showHex);
}

} // namespace

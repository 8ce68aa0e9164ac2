// Command bytes for every radio type, and the frequency text steps.
#include "hex.h"
#include "radio_control/cat_commands.h"
#include "radio_control/radio_types.h"

#include <gtest/gtest.h>

using namespace varnel;

namespace {

QString onlyCommand(const CatBuild& b)
{
    EXPECT_TRUE(b.refusal.isEmpty()) << b.refusal.toStdString();
    if (b.commands.size() != 1)
        return QStringLiteral("<%1 commands>").arg(b.commands.size());
    return b.commands[0].hex ? hexText(b.commands[0].bytes) : QString::fromLatin1(b.commands[0].bytes);
}

struct FreqCase {
    int code;
    const char* freq;
    const char* expected; // hex bytes, or text for Kenwood
};

class SetFrequency : public testing::TestWithParam<FreqCase> {};

TEST_P(SetFrequency, GivesTheExactBytes)
{
    const FreqCase c = GetParam();
    EXPECT_EQ(onlyCommand(setFrequencyCommand(c.code, QString::fromLatin1(c.freq), QStringLiteral("58"))),
              QString::fromLatin1(c.expected))
        << "type " << c.code << " freq " << c.freq;
}

INSTANTIATE_TEST_SUITE_P(AllTypes, SetFrequency, testing::Values(
    FreqCase{IcomCiv, "14070.15", "FE FE 58 E0 05 50 01 07 14 00 FD"},
    FreqCase{Icom735, "14070.15", "FE FE 58 E0 05 50 01 07 14 FD"},
    FreqCase{TenTecOmniVI, "14070.15", "FE FE 58 E0 05 50 01 07 14 00 FD"},
    FreqCase{Kenwood, "14070.15", "FA00014070150;"},
    FreqCase{YaesuFT1000D, "14070.15", "15 70 40 01 0A"},
    FreqCase{YaesuFT1000MP, "14070.15", "15 70 40 01 0A"},
    FreqCase{YaesuFT990, "14070.15", "15 70 40 01 0A"},
    FreqCase{YaesuFT847, "14070.15", "01 40 70 15 01"},
    // No point: whole kHz.
    FreqCase{IcomCiv, "14070", "FE FE 58 E0 05 00 00 07 14 00 FD"},
    FreqCase{Kenwood, "14070", "FA00014070000;"},
    FreqCase{YaesuFT1000D, "7040", "00 40 70 00 0A"},
    FreqCase{YaesuFT847, "14070", "01 40 70 00 01"},
    // Further decimals stay: four decimals are ten times the frequency for CI-V and Kenwood.
    FreqCase{IcomCiv, "14070.1501", "FE FE 58 E0 05 01 15 70 40 01 FD"},
    FreqCase{Kenwood, "14070.1501", "FA00140701501;"},
    // The Yaesu blocks drop the hertz digit.
    FreqCase{YaesuFT990, "14070.159", "15 70 40 01 0A"},
    FreqCase{YaesuFT847, "14070.159", "01 40 70 15 01"},
    // The IC-735 carries four bytes; the others five.
    FreqCase{Icom735, "29999.999", "FE FE 58 E0 05 99 99 99 29 FD"},
    FreqCase{IcomCiv, "144300", "FE FE 58 E0 05 00 00 30 44 01 FD"},
    // Below 1000 kHz the Yaesu block is filled with zeros.
    FreqCase{YaesuFT1000D, "475.5", "50 75 04 00 0A"},
    // Leading zeros beyond the field are no digits of the frequency.
    FreqCase{IcomCiv, "0014070.15", "FE FE 58 E0 05 50 01 07 14 00 FD"},
    FreqCase{Kenwood, " 14070.15 ", "FA00014070150;"}));

TEST(SetFrequency, RefusesWhatIsNotAFrequency)
{
    const struct {
        int code;
        const char* freq;
        const char* address;
    } cases[] = {
        {IcomCiv, "14O70.15", "58"}, {Kenwood, "abc", "58"}, {YaesuFT1000D, "14070.1.5", "58"},
        {YaesuFT847, "", "58"}, {Kenwood, "-14070", "58"},
        // Too large for the field.
        {IcomCiv, "10000000.000", "58"}, {Kenwood, "100000000", "58"}, {YaesuFT990, "1000000", "58"},
        {YaesuFT847, "1000000", "58"}, {Icom735, "144300", "58"}, {Icom735, "1296100", "58"},
        {Icom735, "100000", "58"},
        // CI-V addresses: one or two hex digits from 00 to 7F.
        {IcomCiv, "14070", ""},
        {TenTecOmniVI, "14070", "80"}, {Icom735, "14070", "G1"}, {IcomCiv, "14070", "058"},
        {IcomCiv, "14070", "&H58"},
    };
    for (const auto& c : cases) {
        const CatBuild b = setFrequencyCommand(c.code, QString::fromLatin1(c.freq), QString::fromLatin1(c.address));
        EXPECT_TRUE(b.commands.isEmpty()) << c.freq << " / " << c.address;
        EXPECT_FALSE(b.refusal.isEmpty()) << c.freq << " / " << c.address;
    }
}

struct EdgeCase {
    int code;
    QStringList tuned;   // at the edges of the radio's ranges: sent
    QStringList refused; // just beyond them: refused, nothing built
    const char* words;   // the type and its ranges, as the refusal names them
};

TEST(SetFrequency, EveryTypeRefusesWhatItCannotTune)
{
    const QList<EdgeCase> cases = {
        {IcomCiv, {"5", "3335000", "5650000", "5925000"},
            {"4.999", "3335000.001", "5649999.999", "5925000.001", "10368100"},
            "\"Icom (not IC-735)\" can be tuned to (5 to 3335000 and 5650000 to 5925000 kHz)"},
        {Icom735, {"100", "30000"}, {"99.999", "30000.001", "144300"},
            "\"Icom (IC-735 only)\" can be tuned to (100 to 30000 kHz)"},
        {TenTecOmniVI, {"100", "30000", "50000", "54000"}, {"99.999", "30000.001", "49999.999", "54000.001", "144300"},
            "\"Ten Tec Omni VI\" can be tuned to (100 to 30000 and 50000 to 54000 kHz)"},
        {Kenwood, {"30", "60000", "69900", "70500", "108000", "174000", "220000", "512000", "1240000", "1300000"},
         {"29.999", "60000.001", "69899.999", "70500.001", "107999.999", "174000.001", "219999.999", "512000.001",
          "1239999.999", "1300000.001"},
         "\"Kenwood - all\" can be tuned to (30 to 60000, 69900 to 70500, 108000 to 174000, 220000 to 512000 and "
         "1240000 to 1300000 kHz)"},
        {YaesuFT1000D, {"100", "30000"}, {"99.99", "30000.01", "144300"},
            "\"Yaesu FT-1000D\" can be tuned to (100 to 30000 kHz)"},
        {YaesuFT1000MP, {"100", "30000.009"}, {"99.99", "30000.01", "144300.00"},
            "\"Yaesu FT-1000MP\" can be tuned to (100 to 30000 kHz)"},
        {YaesuFT990, {"100", "30000"}, {"99.99", "30000.01", "144300"},
            "\"Yaesu FT-990\" can be tuned to (100 to 30000 kHz)"},
        {YaesuFT847, {"100", "30000", "36000", "76000", "108000", "174000", "420000", "512000"},
         {"99.99", "30000.01", "35999.99", "76000.01", "107999.99", "174000.01", "419999.99", "512000.01"},
         "\"Yaesu FT-847\" can be tuned to (100 to 30000, 36000 to 76000, 108000 to 174000 and 420000 to 512000 kHz)"},
    };
    for (const EdgeCase& c : cases) {
        for (const QString& f : c.tuned) {
            const CatBuild b = setFrequencyCommand(c.code, f, QStringLiteral("58"));
            EXPECT_EQ(b.commands.size(), 1) << c.code << " " << f.toStdString();
            EXPECT_TRUE(b.refusal.isEmpty()) << c.code << " " << f.toStdString();
        }
        for (const QString& f : c.refused) {
            const CatBuild b = setFrequencyCommand(c.code, f, QStringLiteral("58"));
            EXPECT_TRUE(b.commands.isEmpty()) << c.code << " " << f.toStdString();
            EXPECT_EQ(b.refusal, QStringLiteral("Frequency %1 kHz is outside what the radio type %2: the radio was "
                                                "not tuned.  Choose a frequency in that range.")
                                     .arg(f, QString::fromLatin1(c.words)));
        }
    }
}

TEST(SetFrequency, TypesWithoutSerialCommandsBuildNothing)
{
    for (int code : {int(NoRadio), int(Kachina505), 99}) {
        const CatBuild b = setFrequencyCommand(code, QStringLiteral("14070.15"), QStringLiteral("58"));
        EXPECT_TRUE(b.commands.isEmpty());
        EXPECT_TRUE(b.refusal.isEmpty());
    }
}

TEST(CivAddress, AcceptsOneOrTwoHexDigitsFrom00To7F)
{
    EXPECT_EQ(civAddress(QStringLiteral("58")), 0x58);
    EXPECT_EQ(civAddress(QStringLiteral("4")), 0x04);
    EXPECT_EQ(civAddress(QStringLiteral("7f")), 0x7F);
    EXPECT_EQ(civAddress(QStringLiteral("01")), 0x01);
    EXPECT_EQ(civAddress(QStringLiteral("00")), 0x00);
    EXPECT_EQ(civAddress(QStringLiteral("0")), 0x00);
    for (const char* bad : {"80", "FF", "", " 58", "5 ", "x", "+5", "058"})
        EXPECT_FALSE(civAddress(QString::fromLatin1(bad))) << bad;
}

struct PollCase {
    int code;
    QStringList poll, on, off;
};

TEST(RadioCommands, PollAndPttPerType)
{
    const QStringList none;
    const QList<PollCase> cases = {
        {IcomCiv, {"FE FE 58 E0 03 FD", "FE FE 58 E0 04 FD"}, {"FE FE 58 E0 1C 00 01 FD"}, {"FE FE 58 E0 1C 00 00 FD"}},
        {Icom735, {"FE FE 58 E0 03 FD", "FE FE 58 E0 04 FD"}, {"FE FE 58 E0 1C 00 01 FD"}, {"FE FE 58 E0 1C 00 00 FD"}},
        {TenTecOmniVI, {"FE FE 58 E0 03 FD", "FE FE 58 E0 04 FD"}, {"FE FE 58 E0 16 01 FD"}, {"FE FE 58 E0 16 02 FD"}},
        {Kenwood, {"IF;"}, {"TX;"}, {"RX;"}},
        {YaesuFT1000D, {"00 00 00 02 10"}, {"00 00 00 01 0F"}, {"00 00 00 00 0F"}},
        {YaesuFT1000MP, {"00 00 00 02 10"}, {"00 00 00 01 0F"}, {"00 00 00 00 0F"}},
        {YaesuFT990, {"00 00 00 02 10"}, {"00 00 00 01 0F"}, {"00 00 00 00 0F"}},
        {YaesuFT847, {"00 00 00 00 00 00 00 00 00 03"}, {"00 00 00 00 08"}, {"00 00 00 00 88"}},
        {NoRadio, none, none, none},
        {Kachina505, none, none, none},
    };
    auto texts = [](const CatBuild& b) {
        QStringList out;
        for (const CatCommand& c : b.commands)
            out << (c.hex ? hexText(c.bytes) : QString::fromLatin1(c.bytes));
        return out;
    };
    for (const PollCase& c : cases) {
        EXPECT_EQ(texts(statusPoll(c.code, QStringLiteral("58"))), c.poll) << c.code;
        EXPECT_EQ(texts(pttCommand(c.code, true, QStringLiteral("58"))), c.on) << c.code;
        EXPECT_EQ(texts(pttCommand(c.code, false, QStringLiteral("58"))), c.off) << c.code;
    }
    EXPECT_FALSE(statusPoll(Kenwood, QString()).commands[0].hex);
    EXPECT_TRUE(statusPoll(YaesuFT847, QString()).commands[0].hex);
}

} // namespace

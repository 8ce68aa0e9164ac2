// Varicode both ways for every code, and the QPSK convolutional code through the Viterbi
// decoder with and without errors.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "engines/psk/coding/varicode.h"
#include "engines/psk/coding/viterbi.h"

using namespace psk;

TEST(Varicode, EveryCodeIsValidUniqueAndDecodesBack)
{
    std::set<std::string> seen;
    VaricodeDecoder dec;
    for (int c = 0; c < 256; ++c) {
        const std::string& bits = varicodeBits(std::uint8_t(c));
        ASSERT_FALSE(bits.empty()) << c;
        EXPECT_EQ(bits.front(), '1') << c;
        EXPECT_EQ(bits.back(), '1') << c;
        EXPECT_EQ(bits.find("00"), std::string::npos) << c;
        EXPECT_TRUE(seen.insert(bits).second) << "duplicate pattern for " << c;
        int got = -1;
        for (char b : bits + "00") {
            int r = dec.push(b == '1');
            if (r >= 0)
                got = r;
        }
        EXPECT_EQ(got, c);
    }
}

TEST(Varicode, KnownPatternsOfTheMode)
{
    struct { int code; const char* bits; } table[] = {
        {' ', "1"}, {'e', "11"}, {'a', "1011"}, {'A', "1111101"}, {13, "11111"}, {10, "11101"},
        {'0', "10110111"}, {127, "1110110101"}, {0, "1010101011"}, {128, "1110111101"}};
    for (const auto& t : table)
        EXPECT_EQ(varicodeBits(std::uint8_t(t.code)), t.bits) << t.code;
}

TEST(Varicode, DecoderSkipsIdleAndOverlongRuns)
{
    VaricodeDecoder dec;
    std::string stream = "0000" "1011" "00" "000000" "11111111111111111111" "00" "11" "00";
    std::string text;
    for (char b : stream) {
        int r = dec.push(b == '1');
        if (r >= 0)
            text += char(r);
    }
    EXPECT_EQ(text, "ae");
}

TEST(Varicode, TextMeterTellsTextFromNoise)
{
    // Bits as a decoder gives them: text (with idle between its characters or not), decoded
    // noise, and the one after the other; and text followed by a long idle, which completes no
    // character: the reading is of what went before, no longer current.
    auto textBits = [](const std::string& t, int idle) {
        std::string bits;
        for (char c : t)
            bits += varicodeBits(std::uint8_t(c)) + "00" + std::string(std::size_t(idle), '0');
        return bits;
    };
    std::mt19937 rng(5);
    std::string noise;
    for (int i = 0; i < 3000; ++i)
        noise += char('0' + (rng() & 1));
    const std::string qso = "CQ CQ de N0CALL N0CALL pse K\r\nname is Ed, qth Boston, rst 599 73 ";
    struct Case { std::string bits; bool copying; bool current; } cases[] = {
        {textBits(qso, 0), true, true}, {textBits(qso, 7), true, true}, {textBits(qso.substr(0, 12), 0), false, true},
        {noise, false, true}, {textBits(qso, 0) + noise.substr(0, 600), false, true}, {noise + textBits(qso + qso, 0), true, true},
        {textBits(qso, 0) + std::string(40, '0'), true, false}, {"", false, false}};
    for (const auto& c : cases) {
        TextMeter m;
        for (char b : c.bits)
            m.push(b == '1');
        EXPECT_EQ(m.copying(), c.copying) << c.bits.size() << " bits, " << m.garbled() << " garbled";
        EXPECT_EQ(m.current(), c.current) << c.bits.size() << " bits";
    }
    // One character no text has among the last eight: the reading still says copying (it turns
    // over dozens), but what is decoded now is not clean.
    const std::string garbled = std::string(20, '1') + "00";
    const struct { std::string bits; bool clean; } recent[] = {
        {textBits(qso, 0), true}, {textBits(qso, 0) + garbled + textBits("abc", 0), false},
        {textBits(qso, 0) + garbled + textBits("abcdefgh", 0), true}, {textBits("abc", 0), false}};
    for (const auto& c : recent) {
        TextMeter m;
        for (char b : c.bits)
            m.push(b == '1');
        EXPECT_EQ(m.clean(), c.clean) << c.bits.size() << " bits";
    }
}

namespace {

std::vector<int> randomBits(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<int> bits(n);
    for (int& b : bits)
        b = int(rng() & 1);
    return bits;
}

// Decodes dibits given as hard symbols, of which some are replaced by wrong ones.
std::vector<int> decode(const std::vector<int>& dibits)
{
    ViterbiDecoder v;
    std::vector<int> out;
    for (int d : dibits) {
        std::array<double, 4> m{};
        m[d] = 1.0;
        out.push_back(v.push(m));
    }
    for (int i = 0; i < ViterbiDecoder::kDelay; ++i)
        out.push_back(v.push({1.0, 0, 0, 0}));
    out.erase(out.begin(), out.begin() + ViterbiDecoder::kDelay);
    return out;
}

} // namespace

TEST(Viterbi, CorrectsScatteredSymbolErrors)
{
    struct Case { int spacing; bool expectClean; } cases[] = {{0, true}, {25, true}, {12, true}, {1, false}};
    for (const auto& c : cases) {
        auto bits = randomBits(400, 7);
        bits.insert(bits.end(), 8, 0); // flush
        ConvEncoder enc;
        std::vector<int> dibits;
        for (int b : bits)
            dibits.push_back(enc.push(b));
        if (c.spacing > 0)
            for (std::size_t i = 10; i < dibits.size() - 20; i += std::size_t(c.spacing))
                dibits[i] ^= 3; // both bits of the symbol wrong
        auto out = decode(dibits);
        out.resize(bits.size());
        if (c.expectClean)
            EXPECT_EQ(out, bits) << "error spacing " << c.spacing;
        else
            EXPECT_NE(out, bits) << "error spacing " << c.spacing;
    }
}

TEST(Viterbi, IdleZerosGiveReversals)
{
    ConvEncoder enc;
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(qpskPhaseChange(enc.push(0)), 2);
}

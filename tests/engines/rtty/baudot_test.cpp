// The five-unit code both ways: shifts put in where needed, and taken out again.
#include "engines/rtty/baudot.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using rtty::BaudotDecoder;
using rtty::BaudotEncoder;

std::vector<std::uint8_t> encodeAll(BaudotEncoder& e, const std::string& text)
{
    std::vector<std::uint8_t> out;
    for (unsigned char c : text)
        for (auto code : e.encode(c))
            out.push_back(code);
    return out;
}

std::string decodeAll(BaudotDecoder& d, const std::vector<std::uint8_t>& codes)
{
    std::string out;
    for (auto c : codes)
        if (auto ch = d.decode(c))
            out.push_back(static_cast<char>(*ch));
    return out;
}

TEST(Baudot, CodesOfKnownCharacters)
{
    struct Case {
        unsigned char ch;
        std::uint8_t code;
        bool figures;
    } cases[] = {{'E', 0x01, false}, {'A', 0x03, false}, {'T', 0x10, false}, {'V', 0x1E, false},
                 {'3', 0x01, true},  {'-', 0x03, true},  {'0', 0x16, true},  {'?', 0x19, true},
                 {'/', 0x1D, true},  {'.', 0x1C, true},  {'e', 0x01, false}};
    for (const Case& c : cases) {
        const auto got = rtty::BaudotCodeOf(c.ch);
        ASSERT_TRUE(got) << c.ch;
        EXPECT_EQ(got->code, c.code) << c.ch;
        EXPECT_EQ(got->figures, c.figures) << c.ch;
        EXPECT_EQ(rtty::BaudotChar(c.code, c.figures), c.ch >= 'a' ? c.ch - 32 : c.ch);
    }
    EXPECT_FALSE(rtty::BaudotCodeOf('@'));
    EXPECT_FALSE(rtty::BaudotCodeOf('{'));
}

TEST(Baudot, EncoderPutsShiftsOnlyWhereNeeded)
{
    BaudotEncoder e;
    EXPECT_EQ(encodeAll(e, "CQ 599"),
              (std::vector<std::uint8_t>{rtty::kLtrs, 0x0E, 0x17, 0x04, rtty::kFigs, 0x10, 0x18, 0x18}));
    // Space, CR and LF need no shift; back to letters needs one.
    EXPECT_EQ(encodeAll(e, " \r\nK"), (std::vector<std::uint8_t>{0x04, 0x08, 0x02, rtty::kLtrs, 0x0F}));
    // Unknown characters are dropped.
    EXPECT_TRUE(e.encode('@').empty());
}

TEST(Baudot, UnshiftOnSpaceBothWays)
{
    // After a space in figures the shift is sent again, for receivers with and without UOS.
    struct Case {
        const char* text;
        std::vector<std::uint8_t> codes;
    } cases[] = {
        {"5 5", {rtty::kFigs, 0x10, 0x04, rtty::kFigs, 0x10}},
        {"5 T", {rtty::kFigs, 0x10, 0x04, rtty::kLtrs, 0x10}},
        {"T T", {rtty::kLtrs, 0x10, 0x04, 0x10}},
    };
    for (const Case& c : cases) {
        BaudotEncoder e;
        EXPECT_EQ(encodeAll(e, c.text), c.codes) << c.text;
    }

    const std::vector<std::uint8_t> sent{rtty::kFigs, 0x10, 0x04, 0x10};
    BaudotDecoder plain;
    EXPECT_EQ(decodeAll(plain, sent), "5 5");
    BaudotDecoder uos;
    uos.setUnshiftOnSpace(true);
    EXPECT_EQ(decodeAll(uos, sent), "5 T");
}

// A sender that counts on unshift-on-space sends the letters after a space in figures without
// a letters shift: a receiver without it goes back to letters at the first word that does not
// read as figures, and keeps figures in a word of digits.
TEST(Baudot, LettersAfterFiguresCarriedOverAWordEnd)
{
    const auto countingOnUos = [](const std::string& text) {
        std::vector<std::uint8_t> out;
        bool figures = false;
        for (unsigned char ch : text) {
            const auto c = rtty::BaudotCodeOf(ch);
            if (!c->both && c->figures != figures)
                out.push_back((figures = c->figures) ? rtty::kFigs : rtty::kLtrs);
            out.push_back(c->code);
            figures = figures && c->code != 0x04;
        }
        return out;
    };
    for (const char* text : {"PSE K. NAME IS ED", "73 DE W1AW", "14.070 KHZ"})
        for (bool uos : {false, true}) {
            BaudotDecoder d;
            d.setUnshiftOnSpace(uos);
            EXPECT_EQ(decodeAll(d, countingOnUos(text)), text) << "unshift-on-space " << uos;
        }
    BaudotDecoder plain;
    EXPECT_EQ(decodeAll(plain, {rtty::kFigs, 0x10, 0x18, 0x18, 0x04, 0x10, 0x18, 0x18}), "599 599");
}

TEST(Baudot, RoundTripOfATypicalExchange)
{
    const std::string text = "CQ CQ DE W1AW W1AW K\r\nUR RST 599 599 - NAME JOE? 73/.";
    BaudotEncoder e;
    BaudotDecoder d;
    EXPECT_EQ(decodeAll(d, encodeAll(e, text)), text);
    // Lower case goes as capitals.
    BaudotEncoder e2;
    BaudotDecoder d2;
    EXPECT_EQ(decodeAll(d2, encodeAll(e2, "tnx fer call")), "TNX FER CALL");
}

TEST(Baudot, ExplicitShifts)
{
    BaudotEncoder e;
    EXPECT_EQ(e.shiftTo(true), rtty::kFigs);
    EXPECT_TRUE(e.figures());
    EXPECT_EQ(encodeAll(e, "1"), (std::vector<std::uint8_t>{0x17}));
    EXPECT_EQ(e.shiftTo(false), rtty::kLtrs);
    EXPECT_EQ(encodeAll(e, "Q"), (std::vector<std::uint8_t>{0x17}));
}

} // namespace

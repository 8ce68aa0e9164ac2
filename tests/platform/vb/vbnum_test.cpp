#include <gtest/gtest.h>

#include "platform/vb/vbnum.h"

#include <clocale>

namespace {

struct ValCase { const char* text; double value; };

TEST(VbNumbers, ValReadsTheLeadingNumber)
{
    const ValCase cases[] = {
        {"52", 52}, {" 52", 52}, {"1 2 3", 123}, {"\t1\n5", 15}, {"1500.00", 1500},
        {"14070.15kHz", 14070.15}, {"-5", -5}, {"+7", 7}, {".5", 0.5}, {"-.5", -0.5},
        {"1e3", 1000}, {"1E-2", 0.01}, {"2D2", 200}, {"1e", 1}, {"3.2.1", 3.2},
        {"&HFF", 255}, {"&hff", 255}, {"&HFFFF", -1}, {"&H10000", 65536}, {"&O17", 15},
        {"", 0}, {"abc", 0}, {"True", 0}, {"- 5", -5}, {"12,5", 12}, {"&H", 0},
    };
    for (const ValCase& c : cases)
        EXPECT_DOUBLE_EQ(vb::Val(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(VbNumbers, ValIgnoresTheLocale)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no German locale on this machine";
    EXPECT_DOUBLE_EQ(vb::Val("0.5"), 0.5);
    EXPECT_EQ(vb::Str(0.5), " .5");
    EXPECT_EQ(vb::Text(14070.15), "14070.15");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(VbNumbers, IsNumericWantsOneWholeNumber)
{
    EXPECT_TRUE(vb::IsNumeric("52"));
    EXPECT_TRUE(vb::IsNumeric(" 1500.5 "));
    EXPECT_TRUE(vb::IsNumeric("-1e3"));
    EXPECT_TRUE(vb::IsNumeric("&H7F"));
    EXPECT_FALSE(vb::IsNumeric(""));
    EXPECT_FALSE(vb::IsNumeric("  "));
    EXPECT_FALSE(vb::IsNumeric("12a"));
    EXPECT_FALSE(vb::IsNumeric("."));
    EXPECT_FALSE(vb::IsNumeric("1 2"));
}

TEST(VbNumbers, StrAndTextForms)
{
    const struct { double v; const char* str; const char* text; } cases[] = {
        {52, " 52", "52"}, {0.5, " .5", "0.5"}, {-0.5, "-.5", "-0.5"}, {-5, "-5", "-5"},
        {0, " 0", "0"}, {1200, " 1200", "1200"}, {14070.1 + 0.2, " 14070.3", "14070.3"},
        {8000.0 / 2047.0, " 3.90815828041036", "3.90815828041036"}, {1e16, " 1E+16", "1E+16"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vb::Str(c.v), QString::fromLatin1(c.str)) << c.v;
        EXPECT_EQ(vb::Text(c.v), QString::fromLatin1(c.text)) << c.v;
    }
}

TEST(VbNumbers, WholeNumbersRoundHalvesToEven)
{
    const struct { double in; int out; } cases[] = {
        {62.5, 62}, {63.5, 64}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {2.4999, 2}, {32767.4, 32767},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vb::CInt(c.in), c.out) << c.in;
    // squelch 24 -> 100 - 24 * 1.5625 = 62.5 -> 62
    EXPECT_EQ(vb::CInt(100 - 24 * 1.5625), 62);
}

TEST(VbNumbers, OutOfRangeIsAnError)
{
    EXPECT_THROW(vb::CInt(32767.5), vb::OverflowError);
    EXPECT_THROW(vb::CInt(40000), vb::OverflowError);
    EXPECT_THROW(vb::CInt(-32769), vb::OverflowError);
    EXPECT_EQ(vb::CInt(-32768), -32768);
    EXPECT_THROW(vb::CLng(3e9), vb::OverflowError);
    EXPECT_THROW(vb::CLng(std::nan("")), vb::OverflowError);
    EXPECT_EQ(vb::CLng(40000), 40000);
}

TEST(VbNumbers, WholePartAndFixedPattern)
{
    EXPECT_EQ(vb::Int(2.7), 2);
    EXPECT_EQ(vb::Int(-2.5), -3);
    EXPECT_EQ(vb::Fix(-2.5), -2);
    EXPECT_EQ(vb::Fixed(1.14, 2), "1.14");
    EXPECT_EQ(vb::Fixed(0.5, 2), "0.50");
    EXPECT_EQ(vb::Fixed(14070, 2), "14070.00");
    EXPECT_EQ(vb::Fixed(-0.001, 2), "0.00");
}

} // namespace

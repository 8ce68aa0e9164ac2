#include "displays/drawing/display_math.h"
#include "displays/spectrum/readouts.h"
#include "support/qt_print.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(DisplayMath, BinPositionsRoundHalvesToEvenAndNeverUseColumnZero)
{
    struct Case { double scaleWidth; int bin; int x; };
    const Case cases[] = {
        {15, 0, 1}, {15, 1, 2}, {15, 1023, 1024}, // the widest scale: 1025 pixels
        {10, 0, 1}, {10, 1, 2}, {10, 2, 2}, {10, 3, 3}, {10, 1023, 683},
        {5, 1, 1}, {5, 2, 2}, {5, 1023, 342},
        {7.5, 1, 2}, {7.5, 3, 2}, {7.5, 5, 4}, // 1.5 -> 2, 2.5 -> 2, 3.5 -> 4
    };
    for (const Case& c : cases)
        EXPECT_EQ(disp::BinX(c.bin, c.scaleWidth), c.x) << c.scaleWidth << " bin " << c.bin;
}

TEST(DisplayMath, BinValuesOfBothEngines)
{
    struct Case { std::int32_t raw; bool psk; double value; };
    const Case cases[] = {
        {-5, true, -5}, {0, true, 0}, {700, true, 700},
        {0, false, 0}, {-3, false, 0}, {100, false, 10}, {1, false, 0.001},
        {std::numeric_limits<std::int32_t>::max(), false, 4611686014132420609.0 / 1000},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(disp::BinValue(c.raw, c.psk), c.value) << c.raw << " psk " << c.psk;
}

TEST(DisplayMath, WaterfallLevelsAreTruncatedShiftedWhileRttySendsAndClamped)
{
    struct Case { double value; double sensitivity; bool rttyTx; int level; };
    const Case cases[] = {
        {0, 0.5, false, 0}, {3, 0.5, false, 1},   {23, 0.5, false, 11}, {24, 0.5, false, 12},
        {25, 0.5, false, 12}, {-10, 0.5, false, 0}, {1e300, 0.5, false, 12}, {-1e300, 0.5, false, 0},
        {std::nan(""), 0.5, false, 0}, {100, 0, false, 0},
        // while the RTTY engine transmits: level - 11.5, halves to even
        {40, 0.5, true, 8}, {42, 0.5, true, 10}, {24, 0.5, true, 0}, {22, 0.5, true, 0},
        {48, 0.5, true, 12}, {1e300, 0.5, true, 12},
    };
    for (const Case& c : cases)
        EXPECT_EQ(disp::WaterfallLevel(c.value, c.sensitivity, c.rttyTx), c.level)
            << c.value << " x " << c.sensitivity << " tx " << c.rttyTx;
}

TEST(DisplayMath, HeightsSkipAZeroScale)
{
    EXPECT_DOUBLE_EQ(*disp::BarHeight(50, 100, 100, false, 3), 50);
    EXPECT_DOUBLE_EQ(*disp::BarHeight(50, 100, 100, true, 3), 15);
    EXPECT_DOUBLE_EQ(*disp::BarHeight(50, 200, 100, true, 10), 100);
    EXPECT_FALSE(disp::BarHeight(50, 100, 0, true, 10));
}

TEST(DisplayMath, FrameLinesOfTheZoomedSpectrum)
{
    EXPECT_EQ(disp::FrameLines(true, 170), std::make_pair(73, 57));
    EXPECT_EQ(disp::FrameLines(false, 170), std::make_pair(87, 43)); // d = 21.94
    EXPECT_EQ(disp::FrameLines(false, 0), std::make_pair(65, 65));
}

TEST(DisplayMath, WholeNumbersNeverOverflow)
{
    EXPECT_EQ(disp::RoundClamp(62.5, 0, 100), 62);
    EXPECT_EQ(disp::RoundClamp(63.5, 0, 100), 64);
    EXPECT_EQ(disp::RoundClamp(1e300, 0, 100), 100);
    EXPECT_EQ(disp::RoundClamp(std::nan(""), -5, 100), -5);
    EXPECT_EQ(*disp::Round16(32767.4), 32767);
    EXPECT_FALSE(disp::Round16(32767.5));
    EXPECT_FALSE(disp::Round16(-1e20));
    EXPECT_FALSE(disp::Round16(std::nan("")));
}

TEST(DisplayMath, HashPatternNumbers)
{
    struct Case { double value; int decimals; const char* text; };
    const Case cases[] = {
        {3838 * 8000.0 / 2047 / 10, 1, "1500.0"}, {3582 * 8000.0 / 2047 / 10, 1, "1399.9"},
        {14070 + 1.49995, 3, "14071.500"}, {0, 1, ".0"}, {0.5, 2, ".50"}, {-0.5, 1, "-.5"},
        {14070.5, 2, "14070.50"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatHash(c.value, c.decimals), QString::fromLatin1(c.text)) << c.value;
}

} // namespace

#include "simulation/TickMarks.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace korvex::simulation {
namespace {

struct TickCase {
    long double lo, hi;
    int count;
    std::vector<std::string> texts;
};

class Ticks : public ::testing::TestWithParam<TickCase> {};

TEST_P(Ticks, AreAPowerOfTenApartAndStrictlyInside) {
    const TickCase& c = GetParam();
    std::vector<std::string> texts;
    for (const long double v : TickValues(c.lo, c.hi, c.count)) {
        EXPECT_GT(v, c.lo);
        EXPECT_LT(v, c.hi);
        texts.push_back(FormatTickText(v));
    }
    EXPECT_EQ(texts, c.texts);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, Ticks,
    ::testing::Values(
        TickCase{-80, 80, 4, {"-70", "-30", "10", "50"}},
        // log10(1/8) < 0: the step goes one power further down.
        TickCase{0, 1, 4, {"0.1", "0.3", "0.5", "0.7", "0.9"}},
        TickCase{-96, 96, 4, {"-90", "-50", "-10", "30", "70"}},
        TickCase{0, 100, 4, {"10", "30", "50", "70", "90"}},
        TickCase{0, 0.001L, 2, {"0.0001", "0.0006"}},
        // 10^-2 is a little above 0.01, so 50 steps land just above 0.5 and 90 just below 0.9.
        TickCase{0.5L, 0.9L, 4, {"0.51", "0.61", "0.71", "0.81"}},
        TickCase{0.5L, 0.9L, 1, {"0.51"}},
        TickCase{-0.91L, -0.5L, 4, {"-0.9", "-0.8", "-0.7", "-0.6"}},
        TickCase{1000, 2000, 4, {"1.1E+003", "1.3E+003", "1.5E+003", "1.7E+003", "1.9E+003"}},
        TickCase{0, 1, 0, {}}, TickCase{5, 5, 4, {}}));

TEST(Ticks, MoreTicksThanStepsStillEndsOneStepApart) {
    // round(80/10) div 100 is 0; stepping by nothing would never end.
    const auto values = TickValues(-40, 40, 100);
    ASSERT_EQ(values.size(), 7u);
    EXPECT_EQ(FormatTickText(values.front()), "-30");
    EXPECT_EQ(FormatTickText(values.back()), "30");
}

TEST(Ticks, RangeLostInThePrecisionOfItsPositionGivesNoTicksInsteadOfHanging) {
    EXPECT_LE(TickValues(1e25L, 1e25L + 1e7L, 4).size(), 1000u);
}

struct TextCase {
    long double value;
    const char* text;
};

class TickText : public ::testing::TestWithParam<TextCase> {};

TEST_P(TickText, HasThreeSignificantDigits) {
    EXPECT_EQ(FormatTickText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, TickText,
                         ::testing::Values(TextCase{0, "0"}, TextCase{10, "10"},
                                           TextCase{-70, "-70"}, TextCase{0.1L, "0.1"},
                                           TextCase{0.30000000000000004L, "0.3"},
                                           TextCase{123.456L, "123"}, TextCase{999.6L, "1E+003"},
                                           TextCase{12345, "1.23E+004"}, TextCase{-2.5L, "-2.5"},
                                           TextCase{0.00012345L, "0.000123"},
                                           TextCase{0.000001L, "1E-006"}));

TEST(TickText, ValuesWithoutDigitsReadAsThePlatformWritesThem) {
    // No digits to take apart: the text must not be read past its end.
    EXPECT_EQ(FormatTickText(std::numeric_limits<long double>::infinity()), "INF");
    EXPECT_EQ(FormatTickText(-std::numeric_limits<long double>::infinity()), "-INF");
    EXPECT_EQ(FormatTickText(std::numeric_limits<long double>::quiet_NaN()), "NAN");
}

} // namespace
} // namespace korvex::simulation

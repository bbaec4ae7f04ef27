#include "ncgen/GenerateChecks.h"
#include "base/TextNumbers.h"

#include <gtest/gtest.h>

#include <array>

using namespace korvex::ncgen;

namespace {

struct TAngleCase {
    const char* text;
    const char* angle;
    bool outOfDate;
    int message;
};

TEST(Checkstatus, AngleMustLieWithinZeroToThreeSixtyAndTextMustNotBeEmpty) {
    const std::array<TAngleCase, 9> cases = {{
        {"123456", "0", true, 0},
        {"123456", "360", true, 0},
        {"123456", "359.9", true, 0},
        {"123456", "361", false, korvex::text::AngleOutOfRange},
        {"123456", "-1", false, korvex::text::AngleOutOfRange},
        {"123456", "360.001", false, korvex::text::AngleOutOfRange},
        {"123456", "9x9", true, 0}, // not a number: its partial value 9 is used
        {"", "45", false, 0},
        {"", "400", false, korvex::text::AngleOutOfRange},
    }};
    for (const TAngleCase& c : cases) {
        const TStatusCheck check = Checkstatus(c.text, c.angle);
        EXPECT_EQ(check.ProgramOutOfDate, c.outOfDate) << c.angle;
        EXPECT_EQ(check.MessageText, c.message) << c.angle;
    }
}

struct TFieldCase {
    const char* size;
    const char* x;
    const char* y;
    bool ok;
    int detail;
    bool resetX;
    bool resetY;
};

TEST(CheckGenerateFields, RejectsSpacingThenOffsetsInOrderAndResetsTheBadOffset) {
    using namespace korvex::text;
    const std::array<TFieldCase, 9> cases = {{
        {"0.5", "0", "0", true, 0, false, false},
        {"-0.5", "1e2", "-3", true, 0, false, false}, // negative spacing passes
        {"0", "0", "0", false, InvalidDotSpacing, false, false},
        {"0.0", "x", "y", false, InvalidDotSpacing, false, false},
        {"", "0", "0", false, InvalidDotSpacing, false, false},
        {"1,5", "0", "0", false, InvalidDotSpacing, false, false},
        {"1", "1,5", "y", false, InvalidXOffset, true, false},
        {"1", "5", "", false, InvalidYOffset, false, true},
        {"1", " 5", "-2.5e-1", true, 0, false, false},
    }};
    for (const TFieldCase& c : cases) {
        const TGenerateCheck check = CheckGenerateFields(c.size, c.x, c.y);
        EXPECT_EQ(check.Ok, c.ok) << c.size << " " << c.x << " " << c.y;
        EXPECT_EQ(check.MessageText, c.ok ? 0 : InvalidInput);
        EXPECT_EQ(check.DetailText, c.detail) << c.size << " " << c.x << " " << c.y;
        EXPECT_EQ(check.EXVersatz.has_value(), c.resetX);
        EXPECT_EQ(check.EYVersatz.has_value(), c.resetY);
        if (check.EXVersatz) {
            EXPECT_EQ(*check.EXVersatz, "0.0");
        }
        if (check.EYVersatz) {
            EXPECT_EQ(*check.EYVersatz, "0.0");
        }
    }
}

} // namespace

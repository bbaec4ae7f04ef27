#include "ncgen/GenerateChecks.h"

#include "base/TextNumbers.h"

#include <gtest/gtest.h>

#include <array>

using namespace korvex::ncgen;

namespace {

TEST(Checkstatus, FieldsMustBeNumbersInRangeAndTextMustNotBeEmpty) {
    using namespace korvex::text;
    TActiveProfile profile;
    profile.SafetyDistance = "2";
    profile.InfeedDepth = "Q201"; // a controller parameter, written verbatim
    const struct {
        const char* text;
        const char* angle;
        const char* r;
        const char* z;
        bool outOfDate;
        int message;
        int detail;
    } cases[] = {
        {"123456", "0", "2", "Q201", true, 0, 0},
        {"123456", "360", "2.5", "-0.2", true, 0, 0},
        {"123456", "359.9", " 1e1", "Q201", true, 0, 0},
        {"123456", "361", "2", "Q201", false, AngleOutOfRange, 0},
        {"123456", "-1", "2", "Q201", false, AngleOutOfRange, 0},
        {"123456", "360.001", "2", "Q201", false, AngleOutOfRange, 0},
        // Not a number is out of range too, never its partial value (9, 125, 1, 15).
        {"123456", "9x9", "2", "Q201", false, AngleOutOfRange, 0},
        {"123456", "12.5°", "2", "Q201", false, AngleOutOfRange, 0},
        {"123456", "1,5", "2", "Q201", false, AngleOutOfRange, 0},
        {"123456", "1.5.3", "2", "Q201", false, AngleOutOfRange, 0},
        {"123456", "", "2", "Q201", false, AngleOutOfRange, 0},
        // R and Z: a number, or the profile's own text as it stands.
        {"123456", "0", "-0,2", "Q201", false, InvalidInput, SafetyDistanceLabel},
        {"123456", "0", "", "Q201", false, InvalidInput, SafetyDistanceLabel},
        {"123456", "0", "Q201", "Q201", false, InvalidInput, SafetyDistanceLabel},
        {"123456", "0", "2", "-0,2", false, InvalidInput, InfeedDepthLabel},
        {"123456", "0", "2", "Q1", false, InvalidInput, InfeedDepthLabel},
        {"123456", "0", "2", "Q201 ", false, InvalidInput, InfeedDepthLabel},
        {"", "45", "2", "Q201", false, 0, 0},
        {"", "400", "2", "Q201", false, AngleOutOfRange, 0},
    };
    for (const auto& c : cases) {
        const TStatusCheck check = Checkstatus({c.text, c.angle, c.r, c.z}, profile);
        const std::string row = std::string(c.angle) + " R " + c.r + " Z " + c.z;
        EXPECT_EQ(check.ProgramOutOfDate, c.outOfDate) << row;
        EXPECT_EQ(check.MessageText, c.message) << row;
        EXPECT_EQ(check.DetailText, c.detail) << row;
    }
}

// A hand-edited profile or one stepped under a German locale holds "1,900": written verbatim
// it would put "Z1,900" into every point.
TEST(Checkstatus, ProfileLevelWithDecimalCommaIsRefusedNamingTheField) {
    using namespace korvex::text;
    const struct {
        const char* r;
        const char* z;
        int detail;
    } cases[] = {
        {"1,900", "-0.1", SafetyDistanceLabel},
        {"2", "-0,1", InfeedDepthLabel},
        {",5", "-0.1", SafetyDistanceLabel},
        {"2", "R1,R2", 0}, // no number with a comma: a controller's own notation
    };
    for (const auto& c : cases) {
        TActiveProfile profile;
        profile.SafetyDistance = c.r;
        profile.InfeedDepth = c.z;
        const TStatusCheck check = Checkstatus({"123456", "0", c.r, c.z}, profile);
        EXPECT_EQ(check.DetailText, c.detail) << c.r << " " << c.z;
        EXPECT_EQ(check.MessageText, c.detail == 0 ? 0 : InvalidInput) << c.r << " " << c.z;
        EXPECT_EQ(check.ProgramOutOfDate, c.detail == 0) << c.r << " " << c.z;
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

#include "simulation/BlankFit.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korvex::simulation;

namespace {

// A 10 x 10 symbol of pitch 1 whose dot centres span (10, 10) to (19, 19): with half a module
// and one module of quiet zone it covers (8.5, 8.5) to (20.5, 20.5).
std::vector<TDot> square() {
    std::vector<TDot> dots;
    for (int i = 0; i < 10; ++i) {
        dots.push_back({10.0L + i, 10});
        dots.push_back({10, 10.0L + i});
        dots.push_back({19, 10.0L + i});
        dots.push_back({10.0L + i, 19});
    }
    return dots;
}

TEST(BlankFit, FlatFacesInsideTouchingAndOutside) {
    struct Row {
        const char* blank;
        TBlankFit::Kind expected;
        double beyond;
    };
    const Row rows[] = {
        {"ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10", TBlankFit::Fits, 0},
        {"ROHDEF QUAD XM8.5 YP20.5 ZP0 XP20.5 YM8.5 ZM-10", TBlankFit::Fits, 0},
        {"ROHDEF QUAD XM8.5 YP20.5 ZP0 XP20 YM8.5 ZM-10", TBlankFit::Outside, 0.5},
        {"ROHDEF QUAD XM30 YP0 ZP0 XP0 YM30 ZM-10", TBlankFit::Fits, 0}, // bounds given swapped
        {"ROHDEF QUAD XM10 YP50 ZP0 XP100 YM0 ZM-10", TBlankFit::Outside, 1.5},
        // Corner (20.5, 20.5) lies 12 * sqrt(2) / 2 from the centre (14.5, 14.5).
        {"ROHDEF ZYL1 XC14.5 YC14.5 RA8.48528137 ZP0 ZM-10", TBlankFit::Fits, 0},
        {"ROHDEF ZYL1 XC14.5 YC14.5 RA50 ZP0 ZM-10", TBlankFit::Fits, 0},
        {"ROHDEF ZYL1 XC14.5 YC14.5 RA8 ZP0 ZM-10", TBlankFit::Outside, 0.48528137},
        {"ROHDEF ZYL1 XC0 YC0 RA20 ZP0 ZM-10", TBlankFit::Outside, 8.99137803},
    };
    for (const Row& row : rows) {
        const TBlankFit fit = CheckBlankFit(row.blank, square(), 1, 0);
        EXPECT_EQ(fit.Result, row.expected) << row.blank;
        EXPECT_NEAR(static_cast<double>(fit.Beyond), row.beyond, 1e-6) << row.blank;
        EXPECT_EQ(BlankFitWarning(fit).empty(), row.expected == TBlankFit::Fits) << row.blank;
    }
}

TEST(BlankFit, RotationTurnsTheQuietZoneWithTheSymbol) {
    // The same symbol turned by 45 degrees about its centre reaches 12 * sqrt(2) / 2 out.
    std::vector<TDot> dots;
    const long double a = 3.14159265358979323846L / 4;
    for (const TDot& d : square()) {
        const long double x = d.X - 14.5L, y = d.Y - 14.5L;
        dots.push_back(
            {x * std::cos(a) - y * std::sin(a) + 14.5L, x * std::sin(a) + y * std::cos(a) + 14.5L});
    }
    const double reach = 14.5 + 6 * std::sqrt(2.0);
    const std::string touching = "ROHDEF QUAD XM" + std::to_string(29 - reach) + " YP" +
                                 std::to_string(reach) + " ZP0 XP" + std::to_string(reach) + " YM" +
                                 std::to_string(29 - reach) + " ZM-1";
    EXPECT_EQ(CheckBlankFit(touching, dots, 1, 45).Result, TBlankFit::Fits);
    EXPECT_EQ(CheckBlankFit("ROHDEF QUAD XM8.5 YP20.5 ZP0 XP20.5 YM8.5 ZM-10", dots, 1, 45).Result,
              TBlankFit::Outside);
}

TEST(BlankFit, CylindersAlongXAndYReportTheCurvedSurface) {
    struct Row {
        const char* blank;
        double span, fallAway;
        bool off;
    };
    const double r = 25;
    // The symbol spans 9.5 to 19.5 across the axis (10 mm).
    const auto drop = [r](double from, double to) {
        return std::sqrt(r * r - from * from) - std::sqrt(r * r - to * to);
    };
    const Row rows[] = {
        // Axis through the middle of the symbol: the surface falls 5 mm each way.
        {"ROHDEF ZYL2 XM0 YC14.5 RA25 ZC0 XP50", 10, drop(0, 5), false},
        {"ROHDEF ZYL3 XC14.5 YM0 RA25 ZC0 YP50", 10, drop(0, 5), false},
        // Axis at y = 0: the symbol sits on the flank from 9.5 to 19.5 out.
        {"ROHDEF ZYL2 XM0 YC0 RA25 ZC0 XP50", 10, drop(9.5, 19.5), false},
        // Quiet zone touching the end face at x = 20.5.
        {"ROHDEF ZYL2 XM0 YC14.5 RA25 ZC0 XP20.5", 10, drop(0, 5), false},
        // Past the end face, and past the side of a thin cylinder.
        {"ROHDEF ZYL2 XM0 YC14.5 RA25 ZC0 XP20", 10, drop(0, 5), true},
        {"ROHDEF ZYL3 XC14.5 YM0 RA5.5 ZC0 YP50", 10, drop(0, 0) + 5.5 - std::sqrt(5.5 * 5.5 - 25),
         true},
    };
    for (const Row& row : rows) {
        const TBlankFit fit = CheckBlankFit(row.blank, square(), 1, 0);
        ASSERT_EQ(fit.Result, TBlankFit::Curved) << row.blank;
        EXPECT_NEAR(static_cast<double>(fit.Span), row.span, 1e-9) << row.blank;
        EXPECT_NEAR(static_cast<double>(fit.FallAway), row.fallAway, 1e-9) << row.blank;
        EXPECT_EQ(fit.OffCylinder, row.off) << row.blank;
        EXPECT_NE(BlankFitWarning(fit).find("curved surface"), std::string::npos);
    }
    EXPECT_EQ(
        BlankFitWarning(CheckBlankFit("ROHDEF ZYL2 XM0 YC14.5 RA25 ZC0 XP50", square(), 1, 0)),
        "the symbol lies on a curved surface: across its 10.000 mm the surface falls away "
        "by 0.505 mm");
}

// Rapids at R 2 and plunges to Z -0.1 unless a row says otherwise; square() spans x and y
// 10 to 19.
TEST(BlankFit, SafetyLevelAndDepthAreJudgedAgainstTheBlankUnderTheSymbol) {
    struct Row {
        const char* blank;
        TMarkingLevels levels;
        bool face;
        bool safetyTooLow;
        double top;
        bool depthOff;
        bool inAir;
        const char* warning; // the start of it
    };
    const Row rows[] = {
        {"ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10", {2, -0.1L}, true, false, 0, false, false, ""},
        // Top at Z+10: every rapid runs 8 mm deep in the material.
        {"ROHDEF QUAD XM0 YP50 ZP10 XP100 YM0 ZM-10",
         {2, -0.1L},
         true,
         true,
         10,
         true,
         false,
         "the safety level 2.000 mm is not above the blank's highest point under the symbol, "
         "10.000 mm; the marking depth -0.100 mm lies 10.100 mm below the blank's surface "
         "there, 10.000 mm: marking deep in the material"},
        {"ROHDEF QUAD XM0 YP50 ZP-5 XP100 YM0 ZM-10",
         {2, -0.1L},
         true,
         false,
         -5,
         true,
         true,
         "the marking depth -0.100 mm lies 4.900 mm above the blank's surface there, -5.000 mm: "
         "marking in the air"},
        {"ROHDEF ZYL1 XC14.5 YC14.5 RA50 ZP0.9 ZM-10",
         {2, -0.1L},
         true,
         false,
         0.9,
         false,
         false,
         ""},
        {"ROHDEF ZYL1 XC14.5 YC14.5 RA50 ZP0 ZM-10",
         {0, -0.1L},
         true,
         true,
         0,
         false,
         false,
         "the safety level 0.000 mm"},
        // The axis under the symbol: the crest at ZC + RA = 25 is the highest point, and the
        // curvature does not matter 25 mm above the marking.
        {"ROHDEF ZYL2 XM0 YC14.5 RA25 ZC0 XP50",
         {2, -0.1L},
         true,
         true,
         25,
         true,
         false,
         "the safety level 2.000 mm is not above the blank's highest point under the symbol, "
         "25.000 mm; the marking depth -0.100 mm lies 25.09"},
        {"ROHDEF ZYL3 XC14.5 YM0 RA25 ZC-25 YP50",
         {2, -0.1L},
         true,
         false,
         0,
         false,
         false,
         "the symbol lies on a curved surface"},
        // A lathe's heights in its plane, without the face: a shaft whose top is the plane.
        {"ROHDEF ZYL3 XC14.5 YM0 RA25 ZC-25 YP50", {2, -0.1L}, false, false, 0, false, false, ""},
        {"ROHDEF ZYL3 XC14.5 YM0 RA25 ZC-12 YP50",
         {2, -0.1L},
         false,
         true,
         13,
         true,
         false,
         "the safety level 2.000 mm is not above the blank's highest point under the symbol, "
         "13.000 mm; the marking depth"},
        // No dot over the blank: nothing to judge, the fit says the rest.
        {"ROHDEF QUAD XM50 YP80 ZP10 XP80 YM50 ZM-10",
         {2, -0.1L},
         true,
         false,
         0,
         false,
         false,
         "the symbol with its quiet zone reaches"},
    };
    for (const Row& row : rows) {
        const TBlankFit fit = CheckBlankFit(row.blank, square(), 1, 0, row.levels, row.face);
        EXPECT_EQ(fit.SafetyTooLow, row.safetyTooLow) << row.blank;
        if (fit.HeightChecked) {
            EXPECT_NEAR(static_cast<double>(fit.Top), row.top, 1e-9) << row.blank;
        }
        EXPECT_EQ(fit.DepthOff, row.depthOff) << row.blank;
        if (row.depthOff) {
            EXPECT_EQ(fit.InAir(), row.inAir) << row.blank;
        }
        const std::string warning = BlankFitWarning(fit);
        if (*row.warning == '\0') {
            EXPECT_EQ(warning, "") << row.blank;
        } else {
            EXPECT_EQ(warning.rfind(row.warning, 0), 0u) << row.blank << ": " << warning;
        }
    }
}

TEST(BlankFit, NoBlankOrNoDotsSaysNothing) {
    EXPECT_EQ(CheckBlankFit("", square(), 1, 0).Result, TBlankFit::NoBlank);
    EXPECT_EQ(CheckBlankFit("ROHDEF KUGEL", square(), 1, 0).Result, TBlankFit::NoBlank);
    EXPECT_EQ(CheckBlankFit("ROHDEF QUAD XM0 XP1", {}, 1, 0).Result, TBlankFit::NoBlank);
}

} // namespace

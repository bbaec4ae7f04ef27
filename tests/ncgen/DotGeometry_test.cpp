#include "base/TextNumbers.h"
#include "ncgen/Coupon.h"
#include "ncgen/CycleTime.h"
#include "ncgen/DotGeometry.h"
#include "ncgen/ProfileSelection.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korvex::ncgen;

namespace {

TTool cone(long double angle, long double tip = 0) {
    return {TToolKind::Cone, angle, tip, 0};
}

TTool ball(long double radius) {
    return {TToolKind::Ball, 90, 0, radius};
}

// Depth per unit of diameter: 0.866 at 60 degrees, 0.5 at 90, 0.2887 at 120. Pitch 0.3 mm.
TEST(DotGeometry, DiameterDepthAndWindowPerTool) {
    struct Row {
        TTool tool;
        long double depth, diameter;    // one point of the tool's curve
        long double ideal, least, most; // depths for 80, 60 and 105 % of 0.3 mm
    };
    const Row rows[] = {
        {cone(60), 0.0866025L, 0.1, 0.207846, 0.155885, 0.272798},
        // 90 degrees: 80 % at 0.120 mm, the window -0.030/+0.038 mm around it.
        {cone(90), 0.1, 0.2, 0.120, 0.090, 0.1575},
        {cone(120), 0.0288675L, 0.1, 0.069282, 0.051962, 0.090933},
        {cone(90, 0.05), 0.1, 0.25, 0.095, 0.065, 0.1325},
        {ball(0.25), 0.05, 0.3, 0.0306829, 0.0167619, 0.0558512},
        {ball(0.25), 0.4, 0.5, 0.0306829, 0.0167619, 0.0558512}, // past the equator: 2r
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << DescribeTool(row.tool) << " depth " << static_cast<double>(row.depth));
        EXPECT_NEAR(static_cast<double>(DotDiameter(row.tool, row.depth)),
                    static_cast<double>(row.diameter), 1e-6);
        EXPECT_NEAR(static_cast<double>(*DepthForDiameter(row.tool, 0.24L)),
                    static_cast<double>(row.ideal), 1e-6);
        EXPECT_NEAR(static_cast<double>(*DepthForDiameter(row.tool, 0.18L)),
                    static_cast<double>(row.least), 1e-6);
        EXPECT_NEAR(static_cast<double>(*DepthForDiameter(row.tool, 0.315L)),
                    static_cast<double>(row.most), 1e-6);
    }
    EXPECT_EQ(DotDiameter(cone(90, 0.05), 0), 0); // no plunge, no dot
    EXPECT_FALSE(DepthForDiameter(ball(0.1), 0.24L));
    EXPECT_FALSE(DepthForDiameter(cone(90, 0.3), 0.24L));
}

TEST(DotGeometry, FiguresFollowEachPointsDepthAndWarn) {
    // Two levels: the first two dots at 0.1 mm (50 %), the last at 0.16 mm (80 %), pitch 0.4.
    const std::vector<std::string> lines = {"ZR;2.000;-0.100", "XY;0.000;0.000", "XY;0.400;0.000",
                                            "ZR;2.000;-0.160", "XY;0.800;0.000"};
    const auto f = DotFigures(lines, cone(90), 0.4L);
    ASSERT_TRUE(f);
    ASSERT_EQ(f->Diameters.size(), 3u);
    EXPECT_NEAR(static_cast<double>(f->SmallestFill), 0.5, 1e-9);
    EXPECT_NEAR(static_cast<double>(f->LargestFill), 0.8, 1e-9);
    EXPECT_EQ(f->TooSmall, 2u);
    EXPECT_NEAR(static_cast<double>(f->Diameters[2]), 0.32, 1e-9);
    EXPECT_NEAR(static_cast<double>(*f->LeastDepth), 0.12, 1e-9);
    EXPECT_NEAR(static_cast<double>(*f->MostDepth), 0.21, 1e-9);
    EXPECT_FALSE(DotFigures(lines, TTool{}, 0.4L)); // no tool: silent
}

// The edges of the window are inside it: a program written with three decimals at exactly
// 60 % or 105 % must not be refused for the last bit of a long double.
TEST(DotGeometry, DepthsAtTheWindowsEdgesAreInside) {
    const struct {
        TTool tool;
        const char* level;
        long double pitch;
    } rows[] = {
        {cone(90), "-0.060", 0.2L},  {cone(90), "-0.105", 0.2L}, {cone(90), "-0.090", 0.3L},
        {cone(90), "-0.1575", 0.3L}, {cone(60), "-0.156", 0.3L}, {cone(90, 0.05), "-0.065", 0.3L},
    };
    for (const auto& row : rows) {
        const auto f = DotFigures({std::string("ZR;2.000;") + row.level, "XY;0.000;0.000"},
                                  row.tool, row.pitch);
        ASSERT_TRUE(f);
        EXPECT_TRUE(f->InWindow()) << DescribeTool(row.tool) << " " << row.level << ": "
                                   << static_cast<double>(f->SmallestFill * 100) << " %";
    }
}

TEST(Coupon, StepsAroundTheIdealDepthWithTheProfilesTemplatesAndCorrectsTheTool) {
    TOutputProfile stored;
    stored.FirstPoint[0] = "G0 X[#XVAL] Y[#YVAL] Z[#RVAL]";
    stored.FirstPoint[1] = "G1 Z[#ZVAL] F[#FVAL]";
    stored.FollowingPoints = stored.FirstPoint;
    stored.End[0] = "M30";
    stored.REbene = "2";
    stored.VorschubZ = "50";
    stored.Stellen = "4";
    stored.Nachkommastellen = "3";
    stored.Dezipunkt = true;
    const TActiveProfile profile = ActivateProfile(stored);
    const auto coupon = MakeCoupon(profile, cone(90), 0.4L);
    ASSERT_TRUE(coupon);
    const std::vector<long double> depths = {0.10L, 0.12L, 0.14L, 0.16L, 0.18L, 0.20L, 0.22L};
    ASSERT_EQ(coupon->Depths.size(), depths.size());
    for (std::size_t i = 0; i < depths.size(); ++i)
        EXPECT_NEAR(static_cast<double>(coupon->Depths[i]), static_cast<double>(depths[i]), 1e-9);
    ASSERT_EQ(coupon->NCLines.size(), 17u);
    EXPECT_EQ(coupon->NCLines[1], "G1 Z-0.1 F50");
    EXPECT_EQ(coupon->NCLines[12], "G0 X9 Y0 Z2");
    EXPECT_EQ(coupon->NCLines[13], "G1 Z-0.22 F50");
    // The index dot one spacing beside the first, at the 80 % depth, before the end.
    EXPECT_EQ(coupon->NCLines[14], "G0 X0 Y1.5 Z2");
    EXPECT_EQ(coupon->NCLines[15], "G1 Z-0.16 F50");
    EXPECT_EQ(coupon->NCLines[16], "M30");
    // The simulation sees each dot at its own depth.
    const auto f = DotFigures(coupon->SimulationLines, cone(90), 0.4L);
    ASSERT_TRUE(f);
    EXPECT_NEAR(static_cast<double>(f->Diameters[6]), 0.44, 1e-9);

    // A dot of 0.30 mm measured at 0.16 mm: the cone is blunter than its nominal 90 degrees.
    const TToolReading corrected = CorrectTool(cone(90), 0.16L, 0.30L);
    ASSERT_TRUE(corrected.Problem.Empty());
    EXPECT_NEAR(static_cast<double>(DotDiameter(corrected.Tool, 0.16L)), 0.30, 1e-9);
    const TToolReading ballCorrected = CorrectTool(ball(0.5), 0.05L, 0.36L);
    EXPECT_NEAR(static_cast<double>(DotDiameter(ballCorrected.Tool, 0.05L)), 0.36, 1e-9);
    EXPECT_EQ(CorrectTool(cone(90, 0.4), 0.1L, 0.3L).Problem.Text, korvex::text::DotWithinTipFlat);
}

// A photo fit needs the tool's curve over the whole window a mark may have: the row reaches
// from 60 % of the pitch or less to 105 % or more, steep cones and small balls too.
TEST(Coupon, RowSpansTheWindowFrom60To105PercentOfThePitch) {
    TOutputProfile stored;
    stored.FirstPoint[0] = "G1 X[#XVAL] Z[#ZVAL]";
    stored.FollowingPoints = stored.FirstPoint;
    const TActiveProfile profile = ActivateProfile(stored);
    const struct {
        TTool tool;
        long double pitch;
    } rows[] = {
        {cone(60), 0.5L},  {cone(60), 0.3L},  {cone(90), 0.4L},  {cone(90, 0.03), 0.5L},
        {cone(120), 0.3L}, {cone(140), 0.6L}, {ball(0.5), 0.4L}, {ball(0.3), 0.5L},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(DescribeTool(row.tool) + " at " + std::to_string(double(row.pitch)));
        const auto coupon = MakeCoupon(profile, row.tool, row.pitch);
        ASSERT_TRUE(coupon);
        EXPECT_GE(coupon->Depths.size(), 4u);
        EXPECT_LE(double(coupon->Diameters.front()), 0.60 * double(row.pitch) + 1e-9);
        EXPECT_GE(double(coupon->Diameters.back()), 1.05 * double(row.pitch) - 1e-9);
    }
}

// On a d8 shaft with Z following the surface, a dot 0.95 mm off the top sits on a surface
// tilted by asin(0.95 / 4) = 13.74 degrees, tan 0.244496: seen from above a cone cuts an oval
// (T + 2 h tan(a/2)) / (1 - k^2) long, k = 0.244496 tan(a/2); a ball a circle of the sphere,
// 2 sqrt(r^2 - (r - h)^2 cos^2) wide. The dot at the top stays round.
TEST(DotGeometry, FiguresOnAFollowedShaftTakeTheTiltedDotsLength) {
    const struct {
        TTool tool;
        long double top, outer; // 0.1 mm deep
        std::size_t merging;    // of the two at pitch 0.2
    } rows[] = {
        {cone(90), 0.2, 0.2 / (1 - 0.244496L * 0.244496L), 1},         // 0.2127: 106 %
        {cone(90, 0.02), 0.22, 0.22 / (1 - 0.244496L * 0.244496L), 2}, // 0.2340
        {cone(120), 0.346410, 0.346410 / (1 - 0.423479L * 0.423479L), 2},
        {ball(0.25), 0.4, 2 * std::sqrt(0.0625L - 0.0225L * 0.943594L), 2}, // 0.4063
    };
    // The surface 3.885550 above the axis at 0.95; the dot 0.1 below it.
    const std::vector<std::string> lines = {"SF;X;F;0.000;-4.000;4.000", "ZR;2.000;-0.1",
                                            "XY;0.000;0.000", "ZR;2.000;-0.2144498",
                                            "XY;0.000;0.950"};
    for (const auto& row : rows) {
        SCOPED_TRACE(DescribeTool(row.tool));
        const auto f = DotFigures(lines, row.tool, 0.2L);
        ASSERT_TRUE(f);
        ASSERT_EQ(f->Diameters.size(), 2u);
        EXPECT_NEAR(static_cast<double>(f->Diameters[0]), static_cast<double>(row.top), 1e-5);
        EXPECT_NEAR(static_cast<double>(f->Diameters[1]), static_cast<double>(row.outer), 1e-5);
        EXPECT_EQ(f->Merging, row.merging);
    }
}

TEST(CycleTime, RapidsPlungesAndBlocksAddUp) {
    TMarkingStats stats;
    stats.Points = 10;
    stats.RapidTravel = 500;    // 6 s at 5000 mm/min
    stats.PlungeSeconds = 12.5; // from the feed
    const auto cycle = CycleTime(stats, RapidRateOf("no rate"), 40);
    ASSERT_TRUE(cycle);
    EXPECT_NEAR(static_cast<double>(cycle->Seconds), 6 + 12.5 + 0.8, 1e-9);
    EXPECT_EQ(static_cast<double>(cycle->RapidRate), 5000);
    EXPECT_NEAR(static_cast<double>(CycleTime(stats, RapidRateOf("10000"), 0)->Seconds), 15.5,
                1e-9);
    stats.PlungeSeconds.reset();
    EXPECT_FALSE(CycleTime(stats, 5000, 40));
}

} // namespace

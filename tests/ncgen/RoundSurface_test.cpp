#include "ncgen/DotGeometry.h"
#include "ncgen/NCGenerateCommand.h"
#include "ncgen/NumberReading.h"
#include "ncgen/RoundChecks.h"
#include "ncgen/TemplateFile.h"

#include "base/TextNumbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

using namespace korvex::ncgen;
using korvex::base::TCylinder;
namespace text = korvex::text;

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;

struct TDotLevels {
    long double X = 0, Y = 0, Start = 0, Bottom = 0;
};

long double number(std::string_view text) {
    return ReadNumber(text).value;
}

// The dots of the simulation lines with the levels of the "ZR" line before each.
std::vector<TDotLevels> dotsOf(const std::vector<std::string>& lines) {
    std::vector<TDotLevels> dots;
    long double start = 0, bottom = 0;
    for (const std::string& line : lines) {
        const std::string_view rest = std::string_view(line).substr(3);
        const auto split = rest.find(';');
        if (line.starts_with("ZR;")) {
            start = number(rest.substr(0, split));
            bottom = number(rest.substr(split + 1));
        } else if (line.starts_with("XY;")) {
            dots.push_back(
                {number(rest.substr(0, split)), number(rest.substr(split + 1)), start, bottom});
        }
    }
    return dots;
}

struct TShaftJob {
    TLayerTable layers;
    TGenerateFields fields;
    TActiveProfile profile;

    TShaftJob(TSurfaceMode mode, TCylinder cylinder, const char* xOffset, const char* yOffset) {
        profile.FirstPoint[0] = "G0 [#AAXIS][#AVAL]";
        profile.FirstPoint[1] = "G0 X[#XVAL] Y[#YVAL] Z[#RVAL]";
        profile.FirstPoint[2] = "G1 Z[#ZVAL]";
        profile.FollowingPoints = profile.FirstPoint;
        profile.End[0] = "M30";
        profile.Format.Nachkommastellen = 4;
        layers.AddLayer("Ebene 1", 0, 0);
        fields.Layer = layers.SelectLayer(1).Fields;
        fields.Layer.EText = {"WN4711"};
        fields.Layer.EGroesse = "0.3";
        fields.Layer.EXVersatz = xOffset;
        fields.Layer.EYVersatz = yOffset;
        fields.REbeneauswahl = "2";
        fields.ZEbeneauswahl = "-0.1";
        fields.Surface = {mode, cylinder, {}};
    }
    TGenerateCommandResult Generate() { return GenerateCommand(layers, fields, profile, "Welle"); }
};

const struct {
    const char* what;
    TCylinder cylinder;
} Shafts[] = {
    {"d10 along X", {'X', 1, -5, 5}},   {"d20 along X", {'X', 0, -10, 10}},
    {"d40 along X", {'X', -2, 0, 20}},  {"d10 along Y", {'Y', 1, -5, 5}},
    {"d20 along Y", {'Y', 0, -10, 10}}, {"d40 along Y", {'Y', -2, 3, 20}},
};

} // namespace

TEST(RoundSurface, FollowingTheSurfaceKeepsEveryDotTheSameDepthAndLaysItByArcLength) {
    for (const auto& shaft : Shafts) {
        SCOPED_TRACE(shaft.what);
        const TCylinder& c = shaft.cylinder;
        // The symbol starts 1.5 mm before the top line across the axis.
        TShaftJob flat(TSurfaceMode::Flat, c, "0", "0");
        TShaftJob follow(TSurfaceMode::Follow, c, "0", "0");
        for (TShaftJob* job : {&flat, &follow}) {
            (c.Along == 'X' ? job->fields.Layer.EYVersatz : job->fields.Layer.EXVersatz) =
                std::to_string(c.Axis - 1.5L).substr(0, 6);
        }
        const auto flatResult = flat.Generate();
        const auto result = follow.Generate();
        ASSERT_EQ(result.Outcome, TGenerateOutcome::Generated);
        const auto flatDots = dotsOf(flatResult.SimulationLines);
        const auto dots = dotsOf(result.SimulationLines);
        ASSERT_EQ(dots.size(), flatDots.size());
        long double highest = -1e9;
        for (std::size_t i = 0; i < dots.size(); ++i) {
            const long double a = c.Along == 'X' ? dots[i].Y : dots[i].X;
            const long double axial = c.Along == 'X' ? dots[i].X : dots[i].Y;
            const long double flatAcross = c.Along == 'X' ? flatDots[i].Y : flatDots[i].X;
            const long double flatAxial = c.Along == 'X' ? flatDots[i].X : flatDots[i].Y;
            const long double surface =
                c.ZC + std::sqrt(c.Radius * c.Radius - (a - c.Axis) * (a - c.Axis));
            highest = std::max(highest, surface);
            EXPECT_NEAR(static_cast<double>(surface - dots[i].Bottom), 0.1, 0.001) << i;
            // The flat layout's distance from the top line is the arc along the surface.
            EXPECT_NEAR(static_cast<double>(c.Radius * std::asin((a - c.Axis) / c.Radius)),
                        static_cast<double>(flatAcross - c.Axis), 0.001)
                << i;
            EXPECT_NEAR(static_cast<double>(axial), static_cast<double>(flatAxial), 0.001) << i;
        }
        // The symbol straddles the top line, so the safe plane is 2 above the top.
        for (const TDotLevels& dot : dots)
            EXPECT_NEAR(static_cast<double>(dot.Start), static_cast<double>(c.ZC + c.Radius + 2),
                        0.001);
        // The program's own Z words carry the same depths as the simulation.
        std::size_t plunge = 0;
        for (const std::string& line : result.NCLines) {
            if (!line.starts_with("G1 Z")) continue;
            ASSERT_LT(plunge, dots.size());
            EXPECT_NEAR(static_cast<double>(number(std::string_view(line).substr(4))),
                        static_cast<double>(dots[plunge++].Bottom), 0.0006);
        }
        EXPECT_EQ(plunge, dots.size());
    }
}

TEST(RoundSurface, RotaryAxisTurnsByArcOverRadiusAndPlungesAtTheTopAtOneHeight) {
    for (const auto& shaft : Shafts) {
        SCOPED_TRACE(shaft.what);
        const TCylinder& c = shaft.cylinder;
        TShaftJob flat(TSurfaceMode::Flat, c, "0", "0");
        TShaftJob rotary(TSurfaceMode::Rotary, c, "0", "0");
        rotary.profile.A = c.Along == 'X' ? "A" : "B";
        const auto flatDots = dotsOf(flat.Generate().SimulationLines);
        const auto result = rotary.Generate();
        ASSERT_EQ(result.Outcome, TGenerateOutcome::Generated);
        std::size_t point = 0;
        for (std::size_t i = 0; i + 2 < result.NCLines.size(); i += 3, ++point) {
            ASSERT_LT(point, flatDots.size());
            const std::string& turn = result.NCLines[i];
            ASSERT_EQ(turn.substr(0, 4), c.Along == 'X' ? "G0 A" : "G0 B");
            const long double flatAcross = c.Along == 'X' ? flatDots[point].Y : flatDots[point].X;
            const long double angle = (flatAcross - c.Axis) / c.Radius * 180 / Pi;
            EXPECT_NEAR(static_cast<double>(number(std::string_view(turn).substr(4))),
                        static_cast<double>(c.Along == 'X' ? -angle : angle), 0.0001);
            const std::string over =
                (c.Along == 'X' ? "Y" : "X") + FormatNumber(rotary.profile.Format, c.Axis) + " ";
            EXPECT_NE(result.NCLines[i + 1].find(over), std::string::npos) << result.NCLines[i + 1];
            EXPECT_EQ(result.NCLines[i + 2],
                      "G1 Z" + FormatNumber(rotary.profile.Format, c.ZC + c.Radius - 0.1L));
        }
        EXPECT_EQ(point, flatDots.size());
    }
}

// The cone's dot centre moves uphill on the tilted surface, so the tool aims downhill by as much.
TEST(RoundSurface, ToolAimsDownhillByTheShiftOfItsDotCentre) {
    const TCylinder c{'X', 0, -10, 10};
    TShaftJob plain(TSurfaceMode::Follow, c, "0", "-1.5");
    TShaftJob tooled(TSurfaceMode::Follow, c, "0", "-1.5");
    tooled.fields.Surface.Tool = {TToolKind::Cone, 90, 0, 0};
    const auto aimed = dotsOf(plain.Generate().SimulationLines);
    const auto corrected = dotsOf(tooled.Generate().SimulationLines);
    ASSERT_EQ(aimed.size(), corrected.size());
    int moved = 0;
    for (std::size_t i = 0; i < aimed.size(); ++i) {
        const long double tilt = std::asin(aimed[i].Y / c.Radius);
        const TTiltedDot dot = TiltedDot({TToolKind::Cone, 90, 0, 0}, tilt, -0.1L);
        const long double expected = aimed[i].Y + (tilt < 0 ? -dot.Shift : dot.Shift);
        EXPECT_NEAR(static_cast<double>(corrected[i].Y), static_cast<double>(expected), 0.0011)
            << i;
        const long double surface =
            c.ZC + std::sqrt(c.Radius * c.Radius - corrected[i].Y * corrected[i].Y);
        EXPECT_NEAR(static_cast<double>(surface - corrected[i].Bottom), 0.1, 0.001) << i;
        moved += std::fabs(corrected[i].Y - aimed[i].Y) > 0.002L ? 1 : 0;
    }
    EXPECT_GT(moved, 10);
}

// The dot size a tool makes is measured from the surface the dot is cut into.
TEST(RoundSurface, DotFiguresTakeTheDepthBelowTheRoundSurface) {
    for (const TSurfaceMode mode : {TSurfaceMode::Follow, TSurfaceMode::Rotary}) {
        TShaftJob job(mode, {'Y', 1, -5, 5}, "-0.5", "0");
        const auto result = job.Generate();
        ASSERT_EQ(result.Outcome, TGenerateOutcome::Generated);
        const auto figures = DotFigures(result.SimulationLines, {TToolKind::Cone, 90, 0, 0}, 0.3L);
        ASSERT_TRUE(figures.has_value());
        for (const long double depth : figures->Depths)
            EXPECT_NEAR(static_cast<double>(depth), 0.1, 0.001);
    }
}

TEST(RoundSurface, RoundSurfacesRefuseWhatTheyCannotMark) {
    const struct {
        const char* what;
        TSurfaceMode mode;
        TCylinder cylinder;
        const char* yOffset;
        int text;
    } rows[] = {
        {"follow on a box", TSurfaceMode::Follow, {}, "0", text::SurfaceNeedsCylinder},
        {"rotary on a box", TSurfaceMode::Rotary, {}, "0", text::SurfaceNeedsCylinder},
        {"follow past the side",
         TSurfaceMode::Follow,
         {'X', 0, 0, 2},
         "0",
         text::SymbolPastCylinderSide},
        {"rotary more than once round",
         TSurfaceMode::Rotary,
         {'X', 0, 0, 0.4L},
         "0",
         text::SymbolLongerThanCircumference},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TShaftJob job(row.mode, row.cylinder, "0", row.yOffset);
        const auto result = job.Generate();
        EXPECT_EQ(result.Outcome, TGenerateOutcome::Refused);
        EXPECT_EQ(result.Message.Text, row.text);
        EXPECT_TRUE(result.NCLines.empty());
    }
}

TEST(RoundSurface, JobFileKeepsTheSurfaceChoiceAndAFlatJobWritesNoLine) {
    for (const TSurfaceMode mode :
         {TSurfaceMode::Flat, TSurfaceMode::Follow, TSurfaceMode::Rotary}) {
        TJob job;
        job.Layers.AddLayer("Ebene 1", 0, 0);
        job.BlankDefinition = "ROHDEF ZYL2 XM0 YC0 RA10 ZC-10 XP50";
        job.Surface = mode;
        const std::string text = VorlageText(job);
        EXPECT_EQ(text.find("SURFACE") != std::string::npos, mode != TSurfaceMode::Flat);
        TJob loaded;
        loaded.Surface = TSurfaceMode::Rotary; // a load starts from flat
        TLoadReport report;
        ReadVorlage(text, loaded, report, {0, 0, "Ebene 1"});
        EXPECT_EQ(loaded.Surface, mode);
        EXPECT_EQ(VorlageText(loaded), text);
    }
}

// The cone z = -h + r / tan(a/2) meets the plane z = -u tan(phi): found by bisection, apart
// from the closed forms the checks use.
TEST(RoundSurface, TiltedDotMatchesTheConeCutByATiltedPlane) {
    const struct {
        long double angle, tiltDegrees, depth;
    } rows[] = {{90, 5, 0.1L}, {90, 20, 0.1L}, {120, 10, 0.05L}, {60, 30, 0.2L}};
    for (const auto& row : rows) {
        const long double t = std::tan(row.angle * Pi / 360);
        const long double slope = std::tan(row.tiltDegrees * Pi / 180);
        const long double h = row.depth;
        // Signed distance inside the cone at (u, v) on the plane.
        const auto inside = [&](long double u, long double v) {
            return (h - u * slope) * t - std::hypot(u, v);
        };
        const auto edge = [&](long double direction, long double v) {
            long double in = 0, out = direction * 10 * h;
            for (int i = 0; i < 200; ++i) {
                const long double mid = (in + out) / 2;
                (inside(mid, v) > 0 ? in : out) = mid;
            }
            return in;
        };
        const long double downhill = edge(1, 0), uphill = edge(-1, 0);
        const long double centre = (downhill + uphill) / 2;
        long double halfWidth = 0;
        {
            long double in = 0, out = 10 * h;
            for (int i = 0; i < 200; ++i) {
                const long double mid = (in + out) / 2;
                (inside(centre, mid) > 0 ? in : out) = mid;
            }
            halfWidth = in;
        }
        const TTiltedDot dot =
            TiltedDot({TToolKind::Cone, row.angle, 0, 0}, row.tiltDegrees * Pi / 180, -h);
        EXPECT_NEAR(static_cast<double>(dot.Width), static_cast<double>(2 * h * t), 1e-9);
        EXPECT_NEAR(static_cast<double>(dot.Shift), static_cast<double>(-centre), 1e-9);
        // Seen from above: the oval's width across the tilt against its length along it.
        EXPECT_NEAR(static_cast<double>(dot.Ratio),
                    static_cast<double>(2 * halfWidth / (downhill - uphill)), 1e-9);
    }
}

// A tip flat and a ball: the plane z = -u tan(phi) against the solid tool, found by bisection.
// Seen from above, a cone's oval stretches along the tilt; a ball's cut is a circle on the
// surface, so across it is as wide as along the surface.
TEST(RoundSurface, TiltedDotOfATipFlatOrABallMatchesTheToolCutByATiltedPlane) {
    const struct {
        TTool tool;
        long double tiltDegrees, depth;
    } rows[] = {{{TToolKind::Cone, 90, 0.05L, 0}, 15, 0.1L},
                {{TToolKind::Cone, 120, 0.02L, 0}, 25, 0.05L},
                {{TToolKind::Ball, 90, 0, 0.25L}, 15, 0.1L},
                {{TToolKind::Ball, 90, 0, 0.5L}, 30, 0.05L}};
    for (const auto& row : rows) {
        SCOPED_TRACE(DescribeTool(row.tool));
        const long double slope = std::tan(row.tiltDegrees * Pi / 180), h = row.depth;
        const TTool& tool = row.tool;
        const auto inside = [&](long double u, long double v) {
            const long double up = h - u * slope; // above the tip
            if (up < 0) return false;
            if (tool.Kind == TToolKind::Cone)
                return std::hypot(u, v) < tool.Tip / 2 + up * std::tan(tool.Angle * Pi / 360);
            const long double r = tool.Radius;
            return up > r ? std::hypot(u, v) < r : std::hypot(u, v, up - r) < r;
        };
        const auto edge = [&](long double u, long double v, long double du, long double dv) {
            long double in = 0, out = 4;
            for (int i = 0; i < 200; ++i) {
                const long double mid = (in + out) / 2;
                (inside(u + mid * du, v + mid * dv) ? in : out) = mid;
            }
            return in;
        };
        const long double downhill = edge(0, 0, 1, 0), uphill = -edge(0, 0, -1, 0);
        const long double centre = (downhill + uphill) / 2;
        const long double along = downhill - uphill, across = 2 * edge(centre, 0, 0, 1);
        const TTiltedDot dot = TiltedDot(tool, row.tiltDegrees * Pi / 180, -h);
        EXPECT_NEAR(static_cast<double>(dot.Shift), static_cast<double>(-centre), 1e-9);
        EXPECT_NEAR(static_cast<double>(dot.Length), static_cast<double>(std::max(along, across)),
                    1e-9);
        if (tool.Kind == TToolKind::Ball)
            EXPECT_NEAR(static_cast<double>(across * std::cos(row.tiltDegrees * Pi / 180)),
                        static_cast<double>(along), 1e-9);
        else
            EXPECT_NEAR(static_cast<double>(dot.Ratio), static_cast<double>(across / along), 1e-9);
    }
}

TEST(RoundSurface, RoundChecksWarnPastSixteenPercentOfTheDiameterAndTwentyPercentOfTheDot) {
    const TCylinder shaft{'X', 0, -10, 10}; // d20: 3.2 mm is the limit
    const auto levelled = [](std::vector<std::string> dots) {
        dots.insert(dots.begin(), "ZR;2.000;-0.100");
        return dots;
    };
    const struct {
        const char* what;
        std::vector<std::string> lines;
        TTool tool;
        std::vector<int> texts;
    } rows[] = {
        {"3.1 mm wide, flat", levelled({"XY;0.000;-1.400", "XY;0.000;1.400"}), {}, {}},
        {"3.3 mm wide, flat",
         levelled({"XY;0.000;-1.500", "XY;0.000;1.500"}),
         {},
         {text::SymbolWideOnCylinder}},
        // The part turns already: no advice to use the rotary axis.
        {"3.6 mm round, rotary",
         {"SF;X;R;0.000;-10.000;10.000", "ZR;2.000;-0.100", "XY;0.000;-1.650", "XY;0.000;1.650"},
         {},
         {text::SymbolWideOnRotary}},
        // Follow on d20, dots 2 mm off the top: tilt 11.5 degrees.
        {"follow, 90 degree tool, small tilt",
         {"SF;X;F;0.000;-10.000;10.000", "ZR;2.000;-0.302", "XY;0.000;-2.000", "XY;0.000;-1.700"},
         {TToolKind::Cone, 90},
         {}},
        // 6 mm off the top: tilt 37 degrees, beyond both AS9132 limits.
        {"follow, 90 degree tool, steep",
         {"SF;X;F;0.000;-10.000;10.000", "ZR;2.000;-2.100", "XY;0.000;6.000", "XY;0.000;5.700"},
         {TToolKind::Cone, 90},
         {text::DotsOval, text::DotCentresShift}},
        // 8 mm off: the 90 degree flank is no steeper than the surface and cuts no closed dot.
        {"follow, 90 degree tool, steeper than its flank",
         {"SF;X;F;0.000;-10.000;10.000", "ZR;2.000;-4.100", "XY;0.000;8.000", "XY;0.000;7.700"},
         {TToolKind::Cone, 90},
         {text::DotsOval}},
        {"follow steep without a tool",
         {"SF;X;F;0.000;-10.000;10.000", "ZR;2.000;-4.100", "XY;0.000;8.000", "XY;0.000;7.700"},
         {},
         {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<int> texts;
        for (const TRoundNote& note : RoundPartNotes(shaft, row.tool, row.lines, 0.3L)) {
            texts.push_back(note.Text);
            EXPECT_FALSE(RoundNoteText(note).empty());
        }
        EXPECT_EQ(texts, row.texts);
    }
    EXPECT_TRUE(
        RoundPartNotes({}, {}, levelled({"XY;0.000;-9.000", "XY;0.000;9.000"}), 0.3L).empty());
}

#include "simulation/BlankCollision.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korvex::simulation;

namespace {

using K = TCollision::TKind;

const TMachineSetup Mill{};
// A lathe turning about Y with X0 on its axis and the depth written in X (the C-axis example).
TMachineSetup lathe(bool diameter = false) {
    TMachineSetup s;
    s.XNegated = true;
    s.TurningAxis = 'Y';
    s.AxisAtZero = {true, false, true};
    s.Diameter = {diameter, false, diameter};
    return s;
}
TMachineSetup rotaryAbout(char axis) {
    TMachineSetup s;
    s.TurningAxis = axis;
    return s;
}

struct Row {
    const char* name;
    const char* blank;
    TMachineSetup setup;
    std::vector<std::string> lines;
    K kind;
    std::size_t line = 0; // dot k's lines are 10k+1 (safe level) and 10k+5 (plunge)
    std::string machineAxis = {}, blankAxis = {};
};

std::vector<TDotLines> dotLines(std::size_t dots) {
    std::vector<TDotLines> lines;
    for (std::size_t k = 0; k < dots; ++k)
        lines.push_back({10 * k + 1, 10 * k + 5});
    return lines;
}

TEST(BlankCollision, ProgramsAgainstBlanks) {
    const char* welle = "ROHDEF ZYL3 XC0 YM-40 RA15 ZC-15 YP0";
    const Row rows[] = {
        {"flat on a box with its top at Z0",
         "ROHDEF QUAD XM0 YP20 ZP0 XP30 YM0 ZM-5",
         Mill,
         {"ZR;2.000;-0.100", "XY;5.000;5.000", "XY;5.500;5.000"},
         K::None},
        {"box top above the safe level",
         "ROHDEF QUAD XM0 YP20 ZP10 XP30 YM0 ZM-5",
         Mill,
         {"ZR;2.000;-0.100", "XY;5.000;5.000"},
         K::SafePlaneInside,
         1},
        {"box top between safe level and depth",
         "ROHDEF QUAD XM0 YP20 ZP1 XP30 YM0 ZM-5",
         Mill,
         {"ZR;2.000;-0.100", "XY;5.000;5.000", "XY;5.500;5.000"},
         K::TooDeep,
         5},
        {"rapid over a cylinder along Z between two dots beside it",
         "ROHDEF ZYL1 XC0 YC0 RA5 ZP10 ZM0",
         Mill,
         {"ZR;2.000;-0.100", "XY;-6.000;0.000", "XY;6.000;0.000"},
         K::RapidInside,
         11},
        {"flat on a shaft along Y with its top at Z0",
         welle,
         Mill,
         {"ZR;2.000;-0.100", "XY;-3.000;-20.000", "XY;3.000;-20.000"},
         K::None},
        {"flat on a shaft whose axis is at Z0",
         "ROHDEF ZYL3 XC0 YM-40 RA15 ZC0 YP0",
         Mill,
         {"ZR;2.000;-0.100", "XY;0.000;-20.000"},
         K::SafePlaneInside,
         1},
        {"following a shaft along X",
         "ROHDEF ZYL2 XM-5 YC0 RA10 ZC-10 XP20",
         Mill,
         {"SF;X;F;0.000;-10.000;10.000", "ZR;2.000;-0.100", "XY;1.000;0.000", "ZR;2.000;-0.229",
          "XY;1.000;1.600"},
         K::None},
        {"following a shaft, one dot 0.5 deep",
         "ROHDEF ZYL2 XM-5 YC0 RA10 ZC-10 XP20",
         Mill,
         {"SF;X;F;0.000;-10.000;10.000", "ZR;2.000;-0.100", "XY;1.000;0.000", "ZR;2.000;-0.629",
          "XY;1.000;1.600"},
         K::TooDeep,
         15},
        // Rotary lines hold the dot in the part's frame: 9.9 from the axis at -16 deg here.
        {"turned shaft along X, radial plunge to 0.1",
         "ROHDEF ZYL2 XM-5 YC0 RA10 ZC-10 XP20",
         rotaryAbout('X'),
         {"SF;X;R;0.000;-10.000;10.000", "ZR;2.100;0.000", "XY;1.000;0.000", "ZR;1.417;-0.483",
          "XY;1.000;2.729"},
         K::None},
        {"turned shaft along X, safe level below the surface",
         "ROHDEF ZYL2 XM-5 YC0 RA10 ZC-10 XP20",
         rotaryAbout('X'),
         {"SF;X;R;0.000;-10.000;10.000", "ZR;-0.600;-0.100", "XY;1.000;0.000"},
         K::SafePlaneInside,
         1},
        {"rotary axis A about X, blank along Y",
         welle,
         rotaryAbout('X'),
         {"SF;Y;R;0.000;-15.000;15.000", "ZR;2.000;-0.100", "XY;0.000;-20.000"},
         K::AxisMismatch,
         0,
         "X",
         "Y (X0 Z-15)"},
        {"lathe: the blank's axis 15 below X0",
         welle,
         lathe(),
         {"SF;Y;R;0.000;-15.000;15.000", "ZR;2.000;-0.100", "XY;0.000;-20.000"},
         K::AxisMismatch,
         0,
         "Y (X0 Z0)",
         "Y (X0 Z-15)"},
        {"lathe: the blank on the turning axis, X as radius",
         "ROHDEF ZYL3 XC0 YM-40 RA15 ZC0 YP0",
         lathe(),
         {"SF;Y;R;0.000;0.000;15.000", "ZR;17.000;14.900", "XY;0.000;-20.000"},
         K::None},
        {"lathe: the same numbers read as diameters",
         "ROHDEF ZYL3 XC0 YM-40 RA15 ZC0 YP0",
         lathe(true),
         {"SF;Y;R;0.000;0.000;15.000", "ZR;17.000;14.900", "XY;0.000;-20.000"},
         K::SafePlaneInside,
         1},
        // Following the surface 3 mm off the top line: X holds the depth, the tool stays on top.
        {"lathe following the surface",
         "ROHDEF ZYL3 XC0 YM-40 RA15 ZC0 YP0",
         lathe(),
         {"SF;Y;F;0.000;0.000;15.000", "ZR;17.000;14.597", "XY;-3.000;-20.000"},
         K::TooDeep,
         5},
        {"lathe plunging in X into a box",
         "ROHDEF QUAD XM0 YP20 ZP0 XP30 YM0 ZM-5",
         lathe(),
         {"ZR;2.000;-0.100", "XY;-5.000;5.000"},
         K::NotACylinder,
         0,
         "Y (X0 Z0)"},
        {"no blank", "", Mill, {"ZR;2.000;-50.000", "XY;5.000;5.000"}, K::None},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TCollision found =
            CheckBlankCollision(row.blank, row.lines, dotLines(row.lines.size()), 0.1L, row.setup);
        EXPECT_EQ(found.Kind, row.kind);
        EXPECT_EQ(found.Line, row.line);
        EXPECT_EQ(found.MachineAxis, row.machineAxis);
        EXPECT_EQ(found.BlankAxis, row.blankAxis);
    }
}

TEST(BlankCollision, DepthIsTheFeedsEndBelowTheSurfaceWithinAFewMicrometres) {
    const char* box = "ROHDEF QUAD XM0 YP20 ZP0 XP30 YM0 ZM-5";
    const std::vector<TDotLines> lines = dotLines(1);
    const auto at = [&](const char* level) {
        return CheckBlankCollision(box, {level, "XY;5.000;5.000"}, lines, 0.1L, Mill);
    };
    EXPECT_FALSE(at("ZR;2.000;-0.102").Found());
    const TCollision deep = at("ZR;2.000;-0.110");
    EXPECT_EQ(deep.Kind, K::TooDeep);
    EXPECT_NEAR(static_cast<double>(deep.Depth), 0.11, 1e-9);
}

} // namespace

#include "simulation/SimulationLineReader.h"

#include "simulation/EConvertError.h"

#include <gtest/gtest.h>

namespace korvex::simulation {
namespace {

using Fields = SimulationLineFields;

// The drawing takes any line tagged "ZR"/"XY"; the job's extents only those with both ';'.
TEST(SimulationLineFields, TellKindShapeAndNumbersOfEachLine) {
    const struct {
        const char* line;
        Fields::Kind kind;
        bool tagEnded, separated;
        long double first, second;
        char along;
    } cases[] = {
        {"XY;1.5;2", Fields::Point, true, true, 1.5L, 2, 0},
        {"ZR;3;-0.1", Fields::Level, true, true, 3, -0.1L, 0},
        {"XY", Fields::Point, false, false, 0, 0, 0},
        {"XY;1", Fields::Point, true, false, 0, 0, 0},
        {"XYZ1;2", Fields::Point, false, true, 1, 2, 0},
        {"SF;Y;R;5.000;-4.000;5.000", Fields::RotarySurface, false, true, 5, -4, 'Y'},
        {"SF;X;R;5.000;-4.000", Fields::RotarySurface, false, false, 0, 0, 'X'},
        {"SF;X;F;8.000;-10.000;10.000", Fields::Other, false, false, 0, 0, 0},
        {"G0 X1 Y2", Fields::Other, false, false, 0, 0, 0},
        {" XY;1;2", Fields::Other, false, false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const Fields read = ReadSimulationLineFields(c.line);
        EXPECT_EQ(read.kind, c.kind) << c.line;
        EXPECT_EQ(read.tagEnded, c.tagEnded) << c.line;
        EXPECT_EQ(read.separated, c.separated) << c.line;
        EXPECT_EQ(read.first, c.first) << c.line;
        EXPECT_EQ(read.second, c.second) << c.line;
        EXPECT_EQ(read.along, c.along) << c.line;
    }
    for (const char* bad : {"XY;1,5;2", "ZR;2;x", "XY;;2", "SF;X;R;a;-4;5"})
        EXPECT_THROW(ReadSimulationLineFields(bad), EConvertError) << bad;
}

} // namespace
} // namespace korvex::simulation

#pragma once

#include <string>
#include <string_view>

namespace korvex::ncgen {

// "ZR;" R ";" Z with three decimals: safety level and infeed depth of the simulation.
std::string LevelLine(long double r, long double z);

// "XY;" X ";" Y with three decimals: one dot of the simulation.
std::string PointLine(long double x, long double y);

// One simulation line read back: its kind and, when Ok, its two numbers (standard number
// reading, separated by ";").
struct TSimulationLine {
    enum TKind { Other, Level, Point } Kind = Other;
    bool Ok = false;
    bool TwoFields = false; // a ";" stands between the numbers; A and B hold what was read
    long double A = 0;      // R or X
    long double B = 0;      // Z or Y
};
TSimulationLine ReadSimulationLine(std::string_view line);

} // namespace korvex::ncgen

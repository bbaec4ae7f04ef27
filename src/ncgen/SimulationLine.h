#pragma once

#include <string>

namespace korvex::ncgen {

// "ZR;" R ";" Z with three decimals: safety level and infeed depth of the simulation.
std::string LevelLine(long double r, long double z);

// "XY;" X ";" Y with three decimals: one dot of the simulation.
std::string PointLine(long double x, long double y);

} // namespace korvex::ncgen

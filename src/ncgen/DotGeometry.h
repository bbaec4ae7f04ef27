#pragma once

#include "ncgen/OutputProfile.h"
#include "ncgen/ToolGeometry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace korvex::ncgen {

// The dot sizes a reader of dot-peen and drilled marks accepts, as parts of the dot spacing
// (SAE AS9132): 60-105 %, about 80 % ideal. Above 100 % neighbours merge.
inline constexpr long double IdealFill = 0.80L;
inline constexpr long double LeastFill = 0.60L;
inline constexpr long double MostFill = 1.05L;

// The tool the dot checks go by: none when the profile's infeed depth is no number (a
// controller parameter), since how deep that goes is not known here.
TTool CheckedTool(const TActiveProfile& profile);

// What the tool makes of the program's dots at the layer's spacing.
struct TDotFigures {
    long double Pitch = 0;
    std::vector<long double> Depths;    // per "XY;" line: below the surface
    std::vector<long double> Diameters; // per "XY;" line: its longest extent, tilted or not
    long double SmallestFill = 0, LargestFill = 0;
    std::size_t TooSmall = 0; // dots under LeastFill
    std::size_t Merging = 0;  // dots over MostFill
    std::optional<long double> IdealDepth, LeastDepth, MostDepth;

    bool InWindow() const { return TooSmall == 0 && Merging == 0; }
};

// Nothing without a tool or a spacing. The depth of each point is the infeed level of the
// "ZR;" line before it, measured down from the work zero; on a round program (its "SF;" line)
// from the cylinder's surface above the dot, or along the radius when the part turns. Where Z
// follows the surface the dot is the tool's cut of the surface tilted there.
std::optional<TDotFigures> DotFigures(const std::vector<std::string>& simulationLines,
                                      const TTool& tool, long double pitch);

} // namespace korvex::ncgen

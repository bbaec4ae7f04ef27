#pragma once

#include "ncgen/OutputProfile.h"
#include "ncgen/Tool.h"

#include <optional>
#include <string>
#include <vector>

namespace korvex::ncgen {

// A test piece for one tool on one material: a row of single dots along X, each deeper than
// the one before, so the machinist can measure what the tool really makes. An index dot one
// spacing beside the first (in +Y, after the row) tells a photo which end the row starts at.
struct TCoupon {
    std::vector<long double> Depths;    // below the surface, one per dot, in the program's order
    std::vector<long double> Diameters; // what the tool model expects
    long double Spacing = 0;            // between the dots' centres
    long double IndexDepth = 0;         // the index dot's, the 80 % one
    std::vector<std::string> NCLines;
    std::vector<std::string> SimulationLines; // a "ZR;" line before every dot: its own depth
};

inline constexpr long double CouponStep = 0.02L;
inline constexpr int CouponDots = 7;
inline constexpr int CouponMostDots = 25;

// Dots at the depth for an 80 % dot of `pitch` and CouponStep apart around it (a half or a
// quarter of it where that step cannot span the window; none at or above the surface), at least
// CouponDots and as many more as reach 60 % and 105 % of the pitch, from x0/y0 in +X, written with
// the profile's templates: the first-point template for the first dot, the following-points one for
// the others, the end once; [#ZVAL] is each dot's depth as a Z value. Nothing when the tool cannot
// make an 80 % dot.
std::optional<TCoupon> MakeCoupon(const TActiveProfile& profile, const TTool& tool,
                                  long double pitch, long double x0 = 0, long double y0 = 0);

// The tool that makes a dot of `diameter` at `depth` below the surface: a cone keeps its tip
// and gets an effective angle, a ball an effective radius. A problem when the
// measurement cannot come from that tool.
TToolReading CorrectTool(const TTool& tool, long double depth, long double diameter);

} // namespace korvex::ncgen

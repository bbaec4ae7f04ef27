#include "verify/DotCriterion.h"

namespace korvex::verify {

TDotCriterion DotCriterion(const TVerifiedDot& dot) {
    // The same limits as the report's pass rules, in fractions of the cell.
    constexpr double Tiny = 1e-9;
    if (!dot.Found) return TDotCriterion::Missing;
    if (dot.Diameter < 0.60 - Tiny || dot.Diameter > 1.05 + Tiny) return TDotCriterion::Size;
    if (dot.Offset > 0.20 + Tiny) return TDotCriterion::Offset;
    if (dot.Major > 0 && (dot.Major - dot.Minor) / dot.Major > 0.20 + Tiny)
        return TDotCriterion::Ovality;
    return TDotCriterion::Good;
}

} // namespace korvex::verify

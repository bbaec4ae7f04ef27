#pragma once

#include "verify/VerifyPhoto.h"

namespace korvex::verify {

// The first AS9132 criterion a measured dot misses, in the order a verifier reports them: no
// edge all round, dot size outside 60-105 % of the cell, centre offset over 20 %, ovality over
// 20 %; Good when it meets all.
enum class TDotCriterion { Good, Missing, Size, Offset, Ovality };

TDotCriterion DotCriterion(const TVerifiedDot& dot);

} // namespace korvex::verify

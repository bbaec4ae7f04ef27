#pragma once

#include <string>

namespace korvex::base {

// Exact decimal rounding of extended-precision values, without locale or printf.
// Both round half away from zero; a value that is not finite throws ENumberFormatError.

// x in fixed notation with `decimals` decimals, after rounding to its 18 most significant
// digits. A "-" is written for x < 0, also when the rounded digits are all zero.
std::string FixedText(long double x, int decimals);

// Shortest general notation with up to `precision` (1-18) significant digits: fixed while the
// point lies within the digits' reach, otherwise "1.5E-7" / "1E20".
std::string GeneralText(long double x, int precision);

} // namespace korvex::base

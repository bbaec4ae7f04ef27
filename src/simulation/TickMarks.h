#pragma once

#include <string>
#include <vector>

namespace korvex::simulation {

// Values of the numbered ticks on an axis over [lo, hi] for `count` wanted ticks: a power of
// ten as the step, the first tick strictly inside the range. No ticks for count <= 0.
std::vector<long double> TickValues(long double lo, long double hi, int count);

// A tick number in general format with 3 significant digits, "." as separator; scientific
// when the number is too large or too small, with an exponent of at least 3 digits
// ("1.23E+004"); "INF", "-INF" and "NAN" for values without digits.
std::string FormatTickText(long double value);

} // namespace korvex::simulation

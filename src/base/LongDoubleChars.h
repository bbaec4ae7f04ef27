#pragma once

#include <charconv>

namespace korvex::base {

// std::from_chars for long double (general format), read to the nearest extended value on
// every system. MinGW's library reads a long double as a double, so "0.1" came out as the
// double 0.1 and values beyond 1e308 out of range; there the digits are read here.
std::from_chars_result FromChars(const char* first, const char* last, long double& value);

// Powers of ten up to this one a long double holds exactly (5^27 < 2^64).
constexpr int ExactPowersOfTen = 27;
// 10^n for 0 <= n <= ExactPowersOfTen, exactly: a decimal mantissa scaled by it is rounded once.
long double ExactPowerOfTen(int n);

} // namespace korvex::base

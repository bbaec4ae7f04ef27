#pragma once

#include <charconv>

namespace korvex::base {

// std::from_chars for long double (general format), read to the nearest extended value on
// every system. MinGW's library reads a long double as a double, so "0.1" came out as the
// double 0.1 and values beyond 1e308 out of range; there the digits are read here.
std::from_chars_result FromChars(const char* first, const char* last, long double& value);

} // namespace korvex::base

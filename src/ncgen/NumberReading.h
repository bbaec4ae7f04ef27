#pragma once

#include <cstdint>
#include <string_view>

namespace korvex::ncgen {

struct TNumberReading {
    bool ok = false;          // the whole text is a number
    long double value = 0.0L; // the number, or the partial value when !ok
};

// The standard number reading: leading blanks, optional sign, digits, optional "." decimals,
// optional exponent, nothing after. An empty text is not a number. When the text is not a
// number, value is the digits read before the first unfitting character, taken as one whole
// number without sign, point or exponent.
TNumberReading ReadNumber(std::string_view text);

// Field-to-number conversion of profile selection and settings integers: leading blanks,
// optional sign, decimal digits or hexadecimal after "$" or "0x"; stops at the first other
// character with the value read so far (0 for empty or non-numeric text).
std::int64_t ReadWholeNumber(std::string_view text);

} // namespace korvex::ncgen

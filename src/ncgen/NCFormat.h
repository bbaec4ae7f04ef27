#pragma once

#include <cstdint>
#include <string>

namespace korvex::ncgen {

// How a controller wants its numbers written, plus block numbering and comment characters
// of the active output profile. Copied by value.
struct TNCFormat {
    bool NCpunkt = false;    // keep the point after a whole number ("10.")
    bool Dezipunkt = true;   // write a decimal point at all
    bool Vorzeichen = false; // "+" before numbers that are not negative
    std::uint8_t Stellen = 0;
    bool VNullen = false; // leading zeros up to Stellen digits
    bool NNullen = false; // keep trailing zeros of the decimals
    std::uint8_t Nachkommastellen = 3;
    std::string Komstart;
    std::string Komende = " ";
    std::string Satzzeichen = "N";
    std::int32_t Schritt = 10;
    std::int32_t Start = 10;
};

// Whether a controller can read the numbers back. Without a point and trailing zeros, 10.000
// and 0.001 are both written "1", and leading zeros cannot mend it: they pad what is left of
// the digits, so with six digits 12.5, 1.25 and 0.125 all become "000125". A profile like that
// (only a hand-edited file makes one) is refused.
constexpr bool CanBeReadBack(const TNCFormat& format) {
    return format.Dezipunkt || format.NNullen;
}

// Pure formatter for X/Y coordinates and numeric R/Z values.
std::string FormatNumber(const TNCFormat& format, long double x);

} // namespace korvex::ncgen

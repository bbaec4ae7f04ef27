#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace korvex::content {

enum class TGs1CharSet : std::uint8_t {
    Numeric, // 0-9
    Set82,   // GS1 AI encodable character set 82
    Set39,   // GS1 AI encodable character set 39 (0-9, A-Z, "#", "-", "/")
    Set64,   // GS1 AI encodable character set 64, the URL-safe base 64 (A-Z, a-z, 0-9, "-", "_")
    YesNo,   // "0" or "1"
    Minus,   // "-", the sign of a temperature
};

enum class TGs1Date : std::uint8_t {
    None,
    DayMayBeZero, // YYMMDD; day 00 stands for the end of the month
    Exact,        // YYMMDD with a real day
    WithTime,     // YYMMDDHHMM
    OneOrTwo,     // YYMMDD, optionally followed by a second YYMMDD
    HourMinute,   // HHMM (or nothing, where the part is optional)
    FullDate,     // YYYYMMDD with a real day
    DateHour,     // YYMMDDHH, optionally followed by MM and then SS
};

// One component of an element's data: its characters and length, and what is checked.
struct TGs1Part {
    TGs1CharSet Set = TGs1CharSet::Numeric;
    std::uint8_t Min = 0;
    std::uint8_t Max = 0;
    bool CheckDigit = false; // the last digit is the GS1 mod-10 check digit
    TGs1Date Date = TGs1Date::None;
};

struct TGs1Identifier {
    std::string_view Ai; // an 'n' stands for a digit (the decimal point of 310n ...)
    std::array<TGs1Part, 3> Parts;
    int PartCount = 1;
    char LastDigit = '9'; // the highest digit a final 'n' stands for (3100-3105 ...)
};

// The identifier's entry in the table of GS1 application identifiers, nullptr when the AI is
// not known.
const TGs1Identifier* FindGs1Identifier(std::string_view ai);

// Whether the AI's length is predefined by its first two digits (GS1 General Specifications,
// figure 7.8.5-2), so that no FNC1 has to end its element. Fixed-length AIs outside that table
// (7003, 8001 ...) still need the separator: readers split the data by that table alone.
bool HasPredefinedLength(std::string_view ai);

// The GS1 mod-10 check digit of digits (without the check digit itself).
int Gs1CheckDigit(std::string_view digits);

} // namespace korvex::content

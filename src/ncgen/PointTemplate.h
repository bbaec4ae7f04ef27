#pragma once

#include "ncgen/OutputProfile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::ncgen {

// Values of the eight placeholders for one point.
struct TPointValues {
    std::string_view XVal;  // [#XVAL]
    std::string_view YVal;  // [#YVAL]
    std::string_view ZVal;  // [#ZVAL]
    std::string_view RVal;  // [#RVAL]
    std::string_view FVal;  // [#FVAL]
    std::string_view XAxis; // [#XAXIS]
    std::string_view YAxis; // [#YAXIS]
    std::string_view ZAxis; // [#ZAXIS]
};

// One replacement pass: the first occurrence of each placeholder, in fixed order.
void SubstitutePlaceholders(std::string& line, const TPointValues& values);

// Second pass, block numbering, then appends the line. With numbering on, a template line that
// began with "-" (`minusMarked`) is written without that "-" and without a number; a "-" that a
// value put at the start of the line is the value's sign and stays.
void EmitLine(std::string line, const TPointValues& values, const TActiveProfile& profile,
              std::int32_t& blockCounter, std::vector<std::string>& program, bool minusMarked);

// Both passes and EmitLine for one non-empty template line.
void WriteTemplateLine(const std::string& templateLine, const TPointValues& values,
                       const TActiveProfile& profile, std::int32_t& blockCounter,
                       std::vector<std::string>& program);

// The R or Z text of a generation: the field formatted when it is a number, else the
// profile's text verbatim.
std::string FieldValueText(std::string_view fieldText, std::string_view profileText,
                           const TNCFormat& format);

} // namespace korvex::ncgen

#pragma once

#include <string_view>

namespace korvex::simulation {

// Strict text-to-float conversion of the simulation lines: optional blanks around, an
// optional sign, digits with an optional "." and decimals, an optional exponent; nothing else.
// Throws EConvertError for anything else (an empty text, "1,5", "1.2.3", "nan").
long double ParseSimulationNumber(std::string_view text);

} // namespace korvex::simulation

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvex::content {

enum class TUiiFault {
    None,
    NoConstruct,   // no data identifier of a UII construct (none is needed then)
    TwoConstructs, // more than one enterprise identifier or complete UII
    NoPartOrLot,   // construct 2 without 1P or 1T
    NoSerial,      // construct 2 without S
    TooLong,       // more than 50 characters
    BadCharacter,  // outside A-Z, 0-9, "-" and "/"
};

struct TUii {
    std::string Value; // the UII a reader builds, "D0CVA51234-5786950"
    TUiiFault Fault = TUiiFault::None;
    bool Ok() const { return Fault == TUiiFault::None; }
};

// The UII of MIL-STD-130 from format 06 data elements (each a data identifier and its data,
// "17V0CVA5"): construct 1 from 18S (CAGE and serial: "D" in front) or 25S (complete), construct
// 2 from an enterprise identifier (17V CAGE "D", 12V DUNS "UN", 7L DoDAAC "LD", 3V and 18V with
// the issuing agency code in the data), then 1P or 1T, then S, concatenated in that order.
TUii BuildUii(const std::vector<std::string>& elements);

// The data identifier at the start of an element: up to three digits and a letter; empty when
// the element does not begin with one.
std::string_view DataIdentifier(std::string_view element);

} // namespace korvex::content

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvex::content {

struct TGs1Element {
    std::string Ai;
    std::string Data;
    bool operator==(const TGs1Element&) const = default;
};

enum class TGs1Fault {
    None,
    NoIdentifier, // the text does not begin with "(AI)"
    UnknownAi,
    TooShort, // shorter than the AI's (fixed) length
    TooLong,
    BadCharacter, // outside the AI's character set
    WrongCheckDigit,
    BadDate,
    BadDateOrTime, // a time, a date of four-digit year, or a date with an hour
};

struct TGs1Parse {
    std::vector<TGs1Element> Elements;
    TGs1Fault Fault = TGs1Fault::None;
    std::string Faulty; // the element at fault in its human-readable form, "(17)261331"
    bool Ok() const { return Fault == TGs1Fault::None; }
};

// Reads and checks the human-readable form "(01)09506000134352(17)261231(10)ABC123": one or
// more element strings, each an AI in brackets and its data. Line ends between elements are
// allowed. A "(" that does not begin "(digits)" is data (GS1's set 82 holds brackets).
TGs1Parse ParseGs1(std::string_view text);

// "(01)09506000134352(17)261231"
std::string Gs1HumanReadable(const std::vector<TGs1Element>& elements);

} // namespace korvex::content

#pragma once

#include "datamatrix/TEncoding.h"
#include "datamatrix/TFormat.h"

#include <cstdint>

namespace korvex::ncgen {

// The symbol size and encodation of the layer the window shows: what the layer brought or the
// symbol dialog chose, until the layer is stored. The preview only draws it.
struct TSymbolChoice {
    std::uint8_t Size = 0;       // a datamatrix::TFormat; AUTO = 0
    std::uint8_t Encodation = 0; // a datamatrix::TEncoding; ASCII = 0
    bool Dmre = false;           // the layer's "DMRE 1"

    bool operator==(const TSymbolChoice&) const = default;
};

// An index beyond the lists (a hand-edited main.ini) chooses AUTO or ASCII, as the lists show it.
inline TSymbolChoice ChooseSymbol(std::uint8_t size, std::uint8_t encodation, bool dmre = false) {
    return {size < datamatrix::FORMAT_COUNT ? size : std::uint8_t{0},
            encodation < datamatrix::ENCODING_COUNT ? encodation : std::uint8_t{0}, dmre};
}

} // namespace korvex::ncgen

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace korvex::datamatrix {

// Encodation choice; the numeric values are stored by other parts of the program.
enum TEncoding : std::uint8_t { E_ASCII = 0, E_C40, E_TEXT, E_BASE256, E_NONE, E_AUTO = 5 };

inline constexpr int ENCODING_COUNT = 6;

// Labels as the symbol dialog lists them, indexed by TEncoding.
inline constexpr std::array<std::string_view, ENCODING_COUNT> ENCODING_NAMES = {
    "ASCII", "C40", "TEXT", "BINARY", "NONE", "AUTO"};

std::string_view EncodingName(TEncoding encoding);
// Exact, case-sensitive match of a label; nullopt for anything else.
std::optional<TEncoding> EncodingFromName(std::string_view name);

} // namespace korvex::datamatrix

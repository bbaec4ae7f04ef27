#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace korvex::datamatrix {

// Symbol size choice: AUTO, the 24 squares ascending, the 6 rectangles, then the 18 DMRE
// rectangles of ISO/IEC 21471 (by rows, then columns). The name gives rows first: C8X18 is 8
// modules high and 18 wide. The order is also the size list's order; the first 31 values are
// those stored files have always held.
// clang-format off
enum TFormat : std::uint8_t {
    AUTO = 0,
    C10X10, C12X12, C14X14, C16X16, C18X18, C20X20, C22X22, C24X24, C26X26,
    C32X32, C36X36, C40X40, C44X44, C48X48, C52X52, C64X64, C72X72, C80X80, C88X88,
    C96X96, C104X104, C120X120, C132X132, C144X144,
    C8X18, C8X32, C12X26, C12X36, C16X36, C16X48,
    C8X48, C8X64, C8X80, C8X96, C8X120, C8X144, C12X64, C12X88, C16X64,
    C20X36, C20X44, C20X64, C22X48, C24X48, C24X64, C26X40, C26X48, C26X64
};
// clang-format on

inline constexpr int FORMAT_COUNT = 49;
// The sizes of ISO/IEC 16022; from here on DMRE.
inline constexpr int CLASSIC_FORMAT_COUNT = 31;

constexpr bool IsDmre(TFormat format) {
    return format >= CLASSIC_FORMAT_COUNT && format < FORMAT_COUNT;
}

inline constexpr std::array<std::string_view, FORMAT_COUNT> FORMAT_NAMES = {
    "AUTO",     "C10X10",   "C12X12",   "C14X14",   "C16X16", "C18X18", "C20X20",
    "C22X22",   "C24X24",   "C26X26",   "C32X32",   "C36X36", "C40X40", "C44X44",
    "C48X48",   "C52X52",   "C64X64",   "C72X72",   "C80X80", "C88X88", "C96X96",
    "C104X104", "C120X120", "C132X132", "C144X144", "C8X18",  "C8X32",  "C12X26",
    "C12X36",   "C16X36",   "C16X48",   "C8X48",    "C8X64",  "C8X80",  "C8X96",
    "C8X120",   "C8X144",   "C12X64",   "C12X88",   "C16X64", "C20X36", "C20X44",
    "C20X64",   "C22X48",   "C24X48",   "C24X64",   "C26X40", "C26X48", "C26X64"};

std::string_view FormatName(TFormat format);
// Exact, case-sensitive match of a label; nullopt for anything else.
std::optional<TFormat> FormatFromName(std::string_view name);

} // namespace korvex::datamatrix

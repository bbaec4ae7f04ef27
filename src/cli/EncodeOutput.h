#pragma once

#include "datamatrix/TDatamatrix.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvex::cli {

enum class EncodeFormat { Matrix, Codewords, Svg, Pbm };

std::optional<EncodeFormat> EncodeFormatFromName(std::string_view name);

// The last symbol of dm in the chosen form; svg and pbm carry a one-module quiet zone at one
// unit (pixel) per module.
std::string FormatSymbol(const datamatrix::TDatamatrix& dm, EncodeFormat format);

} // namespace korvex::cli

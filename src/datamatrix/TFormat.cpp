#include "datamatrix/TFormat.h"

namespace korvex::datamatrix {

std::string_view FormatName(TFormat format) {
    const auto index = static_cast<std::size_t>(format);
    return index < FORMAT_NAMES.size() ? FORMAT_NAMES[index] : std::string_view{};
}

std::optional<TFormat> FormatFromName(std::string_view name) {
    for (std::size_t i = 0; i < FORMAT_NAMES.size(); ++i)
        if (FORMAT_NAMES[i] == name) return static_cast<TFormat>(i);
    return std::nullopt;
}

} // namespace korvex::datamatrix

#include "datamatrix/TEncoding.h"

namespace korvex::datamatrix {

std::string_view EncodingName(TEncoding encoding) {
    const auto index = static_cast<std::size_t>(encoding);
    return index < ENCODING_NAMES.size() ? ENCODING_NAMES[index] : std::string_view{};
}

std::optional<TEncoding> EncodingFromName(std::string_view name) {
    for (std::size_t i = 0; i < ENCODING_NAMES.size(); ++i)
        if (ENCODING_NAMES[i] == name) return static_cast<TEncoding>(i);
    return std::nullopt;
}

} // namespace korvex::datamatrix

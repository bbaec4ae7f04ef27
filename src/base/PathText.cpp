#include "base/PathText.h"

#include "base/Windows1252.h"

namespace korvex::base {

namespace {

// Bytes of the UTF-8 sequence at the start of the text; 1 for a byte that starts none.
std::size_t sequenceLength(std::string_view utf8) {
    const auto lead = static_cast<unsigned char>(utf8.front());
    std::size_t length = 1;
    if ((lead & 0xE0) == 0xC0)
        length = 2;
    else if ((lead & 0xF0) == 0xE0)
        length = 3;
    else if ((lead & 0xF8) == 0xF0)
        length = 4;
    if (length > utf8.size()) return 1;
    for (std::size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(utf8[k]) & 0xC0) != 0x80) return 1;
    return length;
}

} // namespace

std::string PathText(const std::filesystem::path& path) {
    const std::u8string u8 = path.u8string();
    const std::string utf8(u8.begin(), u8.end());
    std::string text;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = sequenceLength(std::string_view(utf8).substr(i));
        const auto converted = Utf8ToWindows1252(std::string_view(utf8).substr(i, length));
        // The question mark is what Windows shows for a name outside its code page.
        text += converted.ok ? converted.text : "?";
        i += length;
    }
    return text;
}

std::filesystem::path Utf8Path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace korvex::base

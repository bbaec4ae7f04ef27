#include "config/PathText.h"

#include "config/Windows1252.h"

namespace korvex::config {

std::string PathText(const std::filesystem::path& path) {
    const std::u8string u8 = path.u8string();
    const std::string utf8(u8.begin(), u8.end());
    auto converted = Utf8ToWindows1252(utf8);
    return converted.ok ? converted.text : utf8;
}

} // namespace korvex::config

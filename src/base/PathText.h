#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace korvex::base {

// A path as Windows-1252 text for messages; each character without a code becomes "?".
std::string PathText(const std::filesystem::path& path);

// The path a UTF-8 text names (a command-line argument, an expanded name pattern).
std::filesystem::path Utf8Path(std::string_view utf8);

} // namespace korvex::base

#pragma once

#include <filesystem>
#include <string>

namespace korvex::base {

// A path as Windows-1252 text for messages; each character without a code becomes "?".
std::string PathText(const std::filesystem::path& path);

} // namespace korvex::base

#pragma once

#include <filesystem>
#include <string>

namespace korvex::config {

// A path as Windows-1252 text for messages; characters without a code keep their UTF-8 bytes.
std::string PathText(const std::filesystem::path& path);

} // namespace korvex::config

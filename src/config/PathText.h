#pragma once

#include <filesystem>
#include <string>

namespace korvex::config {

// A path as Windows-1252 text for messages; characters without a code keep their UTF-8 bytes.
std::string PathText(const std::filesystem::path& path);

// A Windows-1252 file name as a path (the file system speaks UTF-8 here).
std::filesystem::path TextPath(const std::string& text);

} // namespace korvex::config

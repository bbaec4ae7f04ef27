#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace korvex::base {

// Replaces (or creates) a file with the given bytes through a temporary file in the same
// folder and a rename, so readers see either the old or the new content, never a part.
// Returns false, leaving the target untouched, when the folder is missing, the target is
// read-only or the system refuses the write.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// The whole file as bytes; false when it cannot be opened.
bool ReadFileBytes(const std::filesystem::path& file, std::string& bytes);

// True when the file exists and carries no write permission for anybody (the read-only
// attribute of other systems); such files are never replaced.
bool IsReadOnly(const std::filesystem::path& file);

} // namespace korvex::base

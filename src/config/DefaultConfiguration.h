#pragma once

#include <filesystem>

namespace korvex::config {

// The five settings files, by base name, that make a configuration folder.
inline constexpr const char* SETTINGS_FILES[] = {"main", "profil1", "profil2", "profil3",
                                                 "profil4"};

// First start: when the configuration folder does not exist, creates it with copies of the
// delivered settings files from the defaults folder and returns true. An existing folder is
// never touched (false). The copies are assembled in a temporary sibling folder and renamed
// into place, so a failure leaves no half-filled folder; it throws EConfigError
// "Datei <file> kann nicht erstellt werden" naming the file or folder that failed.
bool CreateConfigFolder(const std::filesystem::path& folder, const std::filesystem::path& defaults);

} // namespace korvex::config

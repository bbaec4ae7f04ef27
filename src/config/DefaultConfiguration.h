#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace korvex::config {

class TLanguageTexts;

// The five settings files, by base name, that make a configuration folder.
inline constexpr const char* SETTINGS_FILES[] = {"main", "profil1", "profil2", "profil3",
                                                 "profil4"};

// What start-up added to the configuration folder.
struct TConfigFill {
    bool FolderCreated = false;
    std::vector<std::filesystem::path> AddedFiles; // full names, in SETTINGS_FILES order
};

// Start-up of the app and of korvex-cli: creates the configuration folder when it is missing
// and copies every settings file it lacks from the delivered defaults, so a folder without
// main.ini does not draw black on black. A file that exists is never overwritten. The defaults
// needed are all read before anything is written, so missing defaults change nothing; each
// copy is written atomically. Throws EConfigError "Datei <file> kann nicht erstellt werden"
// naming the settings file that could not be made.
TConfigFill FillConfigFolder(const std::filesystem::path& folder,
                             const std::filesystem::path& defaults);

// The status text that says so: text 9110 with the folder (when it was created) or the files
// added as detail; empty when nothing was added.
std::string ConfigFillMessage(const TConfigFill& fill, const std::filesystem::path& folder,
                              const TLanguageTexts& texts);

} // namespace korvex::config

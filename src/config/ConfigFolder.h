#pragma once

#include <filesystem>
#include <string>

namespace korvex::config {

// Where main.ini and profil1.ini ... profil4.ini live, and what to tell the user about it.
struct TConfigFolder {
    std::filesystem::path folder; // ends with a separator
    std::string message;          // non-empty when no documents folder was known
};

// The configuration folder below the documents folder the platform layer found. An empty
// documents folder means none was found: the result is the relative folder Korvex2/config/
// together with the message "[Common Documents]  nicht gefunden!".
TConfigFolder ConfigFolder(const std::filesystem::path& documentsFolder);

// The configuration folder below the documents folder when that is an existing folder, else
// below the home folder when that is one, else ConfigFolder({}) with its message. Start-up
// creates the configuration folder below the one chosen, so a folder that does not exist is
// never chosen: a wrong home would otherwise be created with it.
TConfigFolder FindConfigFolder(const std::filesystem::path& documentsFolder,
                               const std::filesystem::path& homeFolder);

// Full name of a settings file: the folder, the base name ("main", "profil1" ...) and ".ini".
std::filesystem::path SettingsFile(const std::filesystem::path& folder,
                                   const std::string& baseName);

} // namespace korvex::config

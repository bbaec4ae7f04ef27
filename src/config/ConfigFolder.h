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

// The configuration folder below the documents folder when that exists or lies below a home
// folder that exists (start-up creates it there), else below the home folder when that
// exists, else ConfigFolder({}) with its message. A home that does not exist is never
// chosen: a wrong HOME would otherwise be created with Documents/Korvex2/config below it.
TConfigFolder FindConfigFolder(const std::filesystem::path& documentsFolder,
                               const std::filesystem::path& homeFolder);

// The one rule the window and korvex-cli share: FindConfigFolder with the documents and home
// folders the platform layer names.
TConfigFolder DefaultConfigFolder();

// Full name of a settings file: the folder, the base name ("main", "profil1" ...) and ".ini".
std::filesystem::path SettingsFile(const std::filesystem::path& folder,
                                   const std::string& baseName);

} // namespace korvex::config

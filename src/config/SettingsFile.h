#pragma once

#include "config/Settings.h"
#include "ncgen/OutputProfile.h"

#include <filesystem>
#include <string>
#include <vector>

namespace korvex::config {

// Reads profil1.ini ... profil4.ini into the table and main.ini into the settings, in the
// order of the settings dialog's load. Missing files or keys give empty texts, 0 and false.
// Radio groups keep their previous choice when the stored value selects no button; sizes,
// encodations and languages outside their lists fall back to "AUTO", "ASCII" and German.
// Loading the language texts is left to the caller (TLanguageTexts), so a missing language
// file cannot lose the settings read here. Returns a message for each file that could be read
// only in part (TIniFile::ReadProblem), for the user to see.
std::vector<std::string> LoadSettings(const std::filesystem::path& folder, TSettings& settings,
                                      ncgen::TProfileTable& profiles);

// Writes all five files in the dialog's key order, each file as one atomic replacement, then
// loads them again. A refused write throws EConfigError at that file: the files before it stay
// written, the file itself and those after it stay as they were, nothing is reloaded.
void SaveSettings(const std::filesystem::path& folder, TSettings& settings,
                  ncgen::TProfileTable& profiles);

// One profile file (number 1-4), as the load and save above handle it.
ncgen::TOutputProfile LoadProfile(const std::filesystem::path& folder, int number);
// A profile file anywhere, such as an example profile a user names directly.
ncgen::TOutputProfile LoadProfileFile(const std::filesystem::path& file);
void SaveProfile(const std::filesystem::path& folder, int number,
                 const ncgen::TOutputProfile& profile);

} // namespace korvex::config

#pragma once

#include "base/TextMessage.h"
#include "config/LanguageTexts.h"
#include "config/Settings.h"
#include "ncgen/OutputProfile.h"
#include "ncgen/ProfileSelection.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::job {

// What every command reads once: the configuration folder filled from the delivered defaults,
// the settings, the profiles and the language the settings choose.
struct TSession {
    std::filesystem::path ConfigFolder; // main.ini, profil1-4.ini
    std::filesystem::path DataFolder;   // language files and the delivered settings files
    config::TSettings Settings;
    ncgen::TProfileTable Profiles;
    config::TLanguageTexts Texts;
    std::string FillNotice;                    // Windows-1252: the files taken from the defaults
    std::vector<std::string> SettingsWarnings; // Windows-1252: settings files read in part
};

// Fills what the folder lacks, then loads settings, profiles and language. A file that cannot
// be read or written throws EKorvexError with the system's message.
TSession OpenSession(const std::filesystem::path& configFolder,
                     const std::filesystem::path& dataFolder);

// The profile chosen by number or name, with its name; nothing when none matches.
std::optional<ncgen::TProfileSelection> ChooseProfile(const TSession& session,
                                                      std::string_view choice);

// The system's message when the profile's file is missing: its empty values would give an
// empty program that looks like success, or its size refusal (CheckFileSize). Empty when the
// file is there.
base::TTextMessage CheckProfileFile(const TSession& session, int number);

// The settings' own profile.
std::string DefaultProfileChoice(const TSession& session);

} // namespace korvex::job

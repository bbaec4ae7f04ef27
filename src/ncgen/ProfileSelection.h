#pragma once

#include "base/TextMessage.h"
#include "ncgen/OutputProfile.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvex::ncgen {

struct TProfileSelection {
    int Number = 0;         // 1-4: the profile button to press down; its name for NCProfilname
    TActiveProfile Profile; // the new active output profile
    // Not empty when the profile cannot be used: the caller shows it and keeps the profile
    // it had (CheckNumberFormat).
    base::TTextMessage Refusal;
    std::string Name; // what the generate command names: the profile's name, else its file
};

// Profile n's name, or its file "profil<n>.ini" when it has none.
std::string ProfileName(const TProfileTable& profiles, int number);

// Finds the profile whose name or digit equals `s` (the last match wins) and builds the
// active profile from it; nothing when no profile matches.
std::optional<TProfileSelection> SelectProfile(const TProfileTable& profiles, std::string_view s);

// Text 9017 naming the profile when its numbers could not be read back (CanBeReadBack);
// empty otherwise.
base::TTextMessage CheckNumberFormat(const TNCFormat& format, std::string_view profileName);

// The active profile built from one stored profile, empty letters and comment end defaulted.
TActiveProfile ActivateProfile(const TOutputProfile& profile);

} // namespace korvex::ncgen

#pragma once

#include "ncgen/OutputProfile.h"

#include <optional>
#include <string_view>

namespace korvex::ncgen {

struct TProfileSelection {
    int Number = 0;         // 1-4: the profile button to press down; its name for NCProfilname
    TActiveProfile Profile; // the new active output profile
};

// Finds the profile whose name or digit equals `s` (the last match wins) and builds the
// active profile from it; nothing when no profile matches.
std::optional<TProfileSelection> SelectProfile(const TProfileTable& profiles, std::string_view s);

// The active profile built from one stored profile, empty letters and comment end defaulted.
TActiveProfile ActivateProfile(const TOutputProfile& profile);

} // namespace korvex::ncgen

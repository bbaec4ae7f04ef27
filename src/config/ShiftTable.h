#pragma once

#include "base/TextMessage.h"
#include "ncgen/DateCodes.h"

#include <filesystem>
#include <string>
#include <vector>

namespace korvex::config {

// main.ini keeps the shifts as "[Schichten]" with "Schicht1=Früh 06:00", "Schicht2=..." up to
// the first key that is missing or empty, so an older file without them has no shift table.
inline constexpr const char* ShiftSection = "Schichten";
std::string ShiftKey(std::size_t number); // "Schicht1" ...
inline constexpr std::size_t MaxShifts = 24;

// The shift table of the entries (Windows-1252), or the first entry's problem with its key.
base::TTextMessage ReadShifts(const std::vector<std::string>& entries,
                              std::vector<ncgen::TShift>& shifts);

// The entries of a configuration folder's main.ini, and its shift table read as above.
std::vector<std::string> LoadShiftEntries(const std::filesystem::path& folder);
base::TTextMessage LoadShiftTable(const std::filesystem::path& folder,
                                  std::vector<ncgen::TShift>& shifts);

} // namespace korvex::config

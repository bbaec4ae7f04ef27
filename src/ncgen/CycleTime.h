#pragma once

#include "ncgen/MarkingStats.h"
#include "ncgen/OutputProfile.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvex::ncgen {

// What a machine does besides moving, as assumptions: rapid moves at the rate main.ini holds
// ("Eilgangrate", mm/min), no acceleration ramps, and a fixed time for every block the
// program holds (reading, planning, in-position check).
inline constexpr long double DefaultRapidRate = 5000;
inline constexpr long double SecondsPerBlock = 0.02L;

// The rate text of the settings; the default when it is no positive number.
long double RapidRateOf(std::string_view text);

// The lines the templates write for that many points (empty lines are not written).
std::size_t ProgramBlocks(const TActiveProfile& profile, std::size_t points);

struct TCycleTime {
    long double Seconds = 0;
    long double RapidSeconds = 0;
    long double PlungeSeconds = 0;
    long double BlockSeconds = 0;
    std::size_t Blocks = 0;
    long double RapidRate = 0;
};

// Nothing when the stats have no plunge time (the feed is no plain number).
std::optional<TCycleTime> CycleTime(const TMarkingStats& stats, long double rapidRate,
                                    std::size_t blocks);

} // namespace korvex::ncgen

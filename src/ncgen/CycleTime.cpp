#include "ncgen/CycleTime.h"

#include "ncgen/NumberReading.h"

#include <cmath>

namespace korvex::ncgen {

namespace {

std::size_t writtenLines(const TTemplate& lines) {
    std::size_t count = 0;
    for (const std::string& line : lines)
        count += !line.empty();
    return count;
}

} // namespace

long double RapidRateOf(std::string_view text) {
    const TNumberReading rate = ReadNumber(text);
    return rate.ok && rate.value > 0 && std::isfinite(rate.value) ? rate.value : DefaultRapidRate;
}

std::size_t ProgramBlocks(const TActiveProfile& profile, std::size_t points) {
    std::size_t blocks = writtenLines(profile.End);
    if (points > 0)
        blocks +=
            writtenLines(profile.FirstPoint) + (points - 1) * writtenLines(profile.FollowingPoints);
    return blocks;
}

std::optional<TCycleTime> CycleTime(const TMarkingStats& stats, long double rapidRate,
                                    std::size_t blocks) {
    if (!stats.PlungeSeconds || !(rapidRate > 0)) return std::nullopt;
    TCycleTime cycle;
    cycle.RapidRate = rapidRate;
    cycle.Blocks = blocks;
    cycle.RapidSeconds = stats.RapidTravel / rapidRate * 60;
    cycle.PlungeSeconds = *stats.PlungeSeconds;
    cycle.BlockSeconds = static_cast<long double>(blocks) * SecondsPerBlock;
    cycle.Seconds = cycle.RapidSeconds + cycle.PlungeSeconds + cycle.BlockSeconds;
    return cycle;
}

} // namespace korvex::ncgen

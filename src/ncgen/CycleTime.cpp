#include "ncgen/CycleTime.h"

#include "ncgen/DecimalText.h"
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

std::string DescribeCycleTime(const TCycleTime& cycle) {
    std::string text = "cycle time about ";
    const long double rounded = std::round(cycle.Seconds * 10) / 10;
    if (rounded >= 60) {
        const long double minutes = std::floor(rounded / 60);
        text += FixedText(minutes, 0) + " min " + FixedText(rounded - minutes * 60, 1) + " s";
    } else {
        text += FixedText(rounded, 1) + " s";
    }
    return text + " (rapid " + GeneralText(cycle.RapidRate, 6) + " mm/min, " +
           FixedText(SecondsPerBlock, 2) + " s per block for " + std::to_string(cycle.Blocks) +
           " blocks, no acceleration)";
}

} // namespace korvex::ncgen

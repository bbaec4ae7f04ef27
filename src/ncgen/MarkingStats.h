#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::ncgen {

// A dot of the simulation lines: final X and Y as the program writes them.
struct TSimPoint {
    long double X = 0;
    long double Y = 0;
};

// The "XY;" lines' points in order; lines that do not read as two numbers are left out.
std::vector<TSimPoint> SimulationPoints(const std::vector<std::string>& simulationLines);

// The safety level and infeed depth of the "ZR;" line; nothing without a line that reads.
struct TSimLevels {
    long double Safety = 0;
    long double Depth = 0;
};
std::optional<TSimLevels> SimulationLevels(const std::vector<std::string>& simulationLines);

// What marking one symbol costs the machine. Every dot is a plunge from the safety level to
// the infeed depth and a rapid retract; between dots the tool moves rapid at the safety level.
// The approach to the first dot and the leaving after the last belong to the templates.
struct TMarkingStats {
    std::size_t Points = 0;
    long double RapidTravel = 0;              // mm: moves between dots plus the retracts
    long double PlungeTravel = 0;             // mm
    std::optional<long double> Feed;          // mm/min, when the feed text is a plain number
    std::optional<long double> PlungeSeconds; // at that feed
};

TMarkingStats MarkingStats(const std::vector<std::string>& simulationLines,
                           std::string_view feedText);

// "57 points, rapid travel 123.4 mm, plunge travel 12.3 mm, plunge time 13.7 s at feed 50"
std::string DescribeStats(const TMarkingStats& stats, std::string_view feedText);

} // namespace korvex::ncgen

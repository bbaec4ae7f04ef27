#include "ncgen/MarkingStats.h"

#include "base/DecimalText.h"
#include "ncgen/NumberReading.h"
#include "ncgen/SimulationLine.h"

#include <cmath>

namespace korvex::ncgen {

namespace {

std::string millimetres(long double value) {
    return base::FixedText(value, 1) + " mm";
}

} // namespace

std::vector<TSimPoint> SimulationPoints(const std::vector<std::string>& simulationLines) {
    std::vector<TSimPoint> points;
    for (const std::string& line : simulationLines) {
        const TSimulationLine read = ReadSimulationLine(line);
        if (read.Kind == TSimulationLine::Point && read.Ok) points.push_back({read.A, read.B});
    }
    return points;
}

std::optional<TSimLevels> SimulationLevels(const std::vector<std::string>& simulationLines) {
    for (const std::string& line : simulationLines) {
        const TSimulationLine read = ReadSimulationLine(line);
        if (read.Kind == TSimulationLine::Level && read.Ok) return TSimLevels{read.A, read.B};
    }
    return std::nullopt;
}

TMarkingStats MarkingStats(const std::vector<std::string>& simulationLines,
                           std::string_view feedText) {
    TMarkingStats stats;
    long double safety = 0, depth = 0;
    const TSimPoint* previous = nullptr;
    TSimPoint last;
    for (const std::string& line : simulationLines) {
        const TSimulationLine read = ReadSimulationLine(line);
        if (read.Kind == TSimulationLine::Other || !read.Ok) continue;
        if (read.Kind == TSimulationLine::Level) {
            safety = read.A;
            depth = read.B;
            continue;
        }
        const TSimPoint point{read.A, read.B};
        if (previous) stats.RapidTravel += std::hypot(point.X - last.X, point.Y - last.Y);
        const long double plunge = std::fabs(safety - depth);
        stats.PlungeTravel += plunge;
        stats.RapidTravel += plunge;
        ++stats.Points;
        last = point;
        previous = &last;
    }
    const TNumberReading feed = ReadNumber(feedText);
    if (feed.ok && feed.value > 0) {
        stats.Feed = feed.value;
        stats.PlungeSeconds = stats.PlungeTravel / feed.value * 60;
    }
    return stats;
}

std::string DescribeStats(const TMarkingStats& stats, std::string_view feedText) {
    std::string text = std::to_string(stats.Points) + (stats.Points == 1 ? " point" : " points") +
                       ", rapid travel " + millimetres(stats.RapidTravel) + ", plunge travel " +
                       millimetres(stats.PlungeTravel);
    if (stats.PlungeSeconds)
        text += ", plunge time " + base::FixedText(*stats.PlungeSeconds, 1) + " s at feed " +
                std::string(feedText);
    else
        text +=
            ", no plunge time: the feed \"" + std::string(feedText) + "\" is not a plain number";
    return text;
}

} // namespace korvex::ncgen

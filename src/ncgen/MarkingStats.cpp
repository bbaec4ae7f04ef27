#include "ncgen/MarkingStats.h"

#include "base/DecimalText.h"
#include "ncgen/NumberReading.h"

#include <cmath>

namespace korvex::ncgen {

namespace {

struct TFields {
    TNumberReading A, B;
};

TFields twoNumbers(std::string_view rest) {
    const auto split = rest.find(';');
    if (split == rest.npos) return {};
    return {ReadNumber(rest.substr(0, split)), ReadNumber(rest.substr(split + 1))};
}

std::string millimetres(long double value) {
    return base::FixedText(value, 1) + " mm";
}

} // namespace

std::vector<TSimPoint> SimulationPoints(const std::vector<std::string>& simulationLines) {
    std::vector<TSimPoint> points;
    for (const std::string& line : simulationLines) {
        if (!line.starts_with("XY;")) continue;
        const TFields f = twoNumbers(std::string_view(line).substr(3));
        if (f.A.ok && f.B.ok) points.push_back({f.A.value, f.B.value});
    }
    return points;
}

std::optional<TSimLevels> SimulationLevels(const std::vector<std::string>& simulationLines) {
    for (const std::string& line : simulationLines) {
        if (!line.starts_with("ZR;")) continue;
        const TFields f = twoNumbers(std::string_view(line).substr(3));
        if (f.A.ok && f.B.ok) return TSimLevels{f.A.value, f.B.value};
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
        const bool level = line.starts_with("ZR;");
        if (!level && !line.starts_with("XY;")) continue;
        const TFields f = twoNumbers(std::string_view(line).substr(3));
        if (!f.A.ok || !f.B.ok) continue;
        if (level) {
            safety = f.A.value;
            depth = f.B.value;
            continue;
        }
        const TSimPoint point{f.A.value, f.B.value};
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

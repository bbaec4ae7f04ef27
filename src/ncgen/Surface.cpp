#include "ncgen/Surface.h"

#include <cctype>
#include <cmath>
#include <string>

namespace korvex::ncgen {

namespace {
constexpr long double Pi = 3.141592653589793238462643383279502884L;
}

std::optional<TSurfaceMode> ReadSurfaceMode(std::string_view text) {
    std::string word;
    for (const char c : text)
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (word == "flat") return TSurfaceMode::Flat;
    if (word == "follow") return TSurfaceMode::Follow;
    if (word == "rotary") return TSurfaceMode::Rotary;
    return std::nullopt;
}

std::string_view SurfaceModeName(TSurfaceMode mode) {
    switch (mode) {
    case TSurfaceMode::Follow:
        return "FOLLOW";
    case TSurfaceMode::Rotary:
        return "ROTARY";
    case TSurfaceMode::Flat:
        break;
    }
    return "FLAT";
}

TMarkingTool MarkingToolOf(const TTool& tool) {
    return {tool.Kind == TToolKind::Cone ? tool.Angle : 0};
}

TTiltedDot TiltedDot(long double includedAngleDegrees, long double tilt, long double depth) {
    TTiltedDot dot;
    const long double t = std::tan(includedAngleDegrees * Pi / 360);
    const long double k = std::tan(std::fabs(tilt)) * t;
    dot.Width = 2 * std::fabs(depth) * t;
    if (k >= 1) {
        dot.Cuts = false;
        dot.Ratio = 0;
        return dot;
    }
    dot.Ratio = std::sqrt(1 - k * k);
    dot.Shift = std::fabs(depth) * t * k / (1 - k * k);
    return dot;
}

long double AimOffset(const TMarkingTool& tool, long double tilt, long double depth) {
    if (tool.IncludedAngle <= 0) return 0;
    // Past k = 1/2 the shift grows without bound as the flank nears the surface; the round-part
    // check reports such dots instead.
    const TTiltedDot dot = TiltedDot(tool.IncludedAngle, tilt, depth);
    if (!dot.Cuts || dot.Ratio * dot.Ratio < 0.75L) return 0;
    return tilt < 0 ? -dot.Shift : dot.Shift;
}

} // namespace korvex::ncgen

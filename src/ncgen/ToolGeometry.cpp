#include "ncgen/ToolGeometry.h"

#include <cmath>

namespace korvex::ncgen {

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;

long double halfAngleTan(const TTool& tool) {
    return std::tan(tool.Angle * Pi / 360);
}

} // namespace

long double DotDiameter(const TTool& tool, long double depth) {
    if (!(depth > 0)) return 0;
    switch (tool.Kind) {
    case TToolKind::None:
        break;
    case TToolKind::Cone:
        return tool.Tip + 2 * depth * halfAngleTan(tool);
    case TToolKind::Ball:
        if (depth >= tool.Radius) return 2 * tool.Radius;
        return 2 * std::sqrt(depth * (2 * tool.Radius - depth));
    }
    return 0;
}

std::optional<long double> DepthForDiameter(const TTool& tool, long double diameter) {
    switch (tool.Kind) {
    case TToolKind::None:
        break;
    case TToolKind::Cone:
        if (diameter <= tool.Tip) return std::nullopt;
        return (diameter - tool.Tip) / (2 * halfAngleTan(tool));
    case TToolKind::Ball: {
        const long double half = diameter / 2;
        if (half > tool.Radius) return std::nullopt;
        return tool.Radius - std::sqrt(tool.Radius * tool.Radius - half * half);
    }
    }
    return std::nullopt;
}

std::optional<TTool> ToolForDot(const TTool& tool, long double depth, long double diameter) {
    TTool fitted = tool;
    switch (tool.Kind) {
    case TToolKind::None:
        return std::nullopt;
    case TToolKind::Cone:
        if (diameter <= tool.Tip) return std::nullopt;
        fitted.Angle = 2 * std::atan((diameter - tool.Tip) / (2 * depth)) * 180 / Pi;
        break;
    case TToolKind::Ball:
        // From D = 2 sqrt(h (2r - h)); deeper than half the dot, the ball went in past its
        // equator and the dot is its whole width.
        fitted.Radius = depth > diameter / 2
                            ? diameter / 2
                            : (diameter * diameter / 4 + depth * depth) / (2 * depth);
        break;
    }
    return fitted;
}

TTiltedDot TiltedDot(const TTool& tool, long double tilt, long double depth) {
    TTiltedDot dot;
    const long double h = std::fabs(depth);
    dot.Width = DotDiameter(tool, h);
    dot.Length = dot.Width;
    if (tool.Kind == TToolKind::Ball) {
        // A plane cuts the sphere in a circle; past the equator the shank's section shows.
        const long double r = tool.Radius;
        if (h >= r) return dot;
        const long double c = std::cos(tilt), s = std::sin(std::fabs(tilt));
        dot.Length = 2 * std::sqrt(r * r - (r - h) * (r - h) * c * c);
        dot.Shift = (r - h) * s * c;
        return dot;
    }
    if (tool.Kind != TToolKind::Cone) return dot;
    // The flank's radius b + k x at x across meets the plane: an ellipse once squared.
    const long double k = std::tan(std::fabs(tilt)) * halfAngleTan(tool);
    if (k >= 1) {
        dot.Cuts = false;
        dot.Ratio = 0;
        return dot;
    }
    const long double b = dot.Width / 2;
    dot.Ratio = std::sqrt(1 - k * k);
    dot.Shift = b * k / (1 - k * k);
    dot.Length = 2 * b / (1 - k * k);
    return dot;
}

long double AimOffset(const TTool& tool, long double tilt, long double depth) {
    if (tool.Kind == TToolKind::None) return 0;
    // Past k = 1/2 a cone's shift grows without bound as the flank nears the surface; the
    // round-part check reports such dots instead.
    const TTiltedDot dot = TiltedDot(tool, tilt, depth);
    if (!dot.Cuts || dot.Ratio * dot.Ratio < 0.75L) return 0;
    return tilt < 0 ? -dot.Shift : dot.Shift;
}

std::vector<TOutlinePoint> ToolOutline(const TTool& tool, long double height) {
    std::vector<TOutlinePoint> outline;
    if (tool.Kind == TToolKind::Cone) {
        outline.push_back({tool.Tip / 2, 0});
        outline.push_back({tool.Tip / 2 + height * halfAngleTan(tool), height});
    } else if (tool.Kind == TToolKind::Ball) {
        const long double r = tool.Radius;
        constexpr int chords = 24;
        for (int i = 0; i <= chords; ++i) {
            const long double up = r - r * std::cos(Pi / 2 * i / chords);
            if (up > height) break;
            outline.push_back({DotDiameter(tool, up) / 2, up});
        }
        if (height > r)
            outline.push_back({r, height});
        else
            outline.push_back({DotDiameter(tool, height) / 2, height});
    }
    return outline;
}

} // namespace korvex::ncgen

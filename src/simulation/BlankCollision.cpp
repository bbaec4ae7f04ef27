#include "simulation/BlankCollision.h"

#include "base/DecimalText.h"
#include "simulation/BlankDefinition.h"
#include "simulation/SimulationLineReader.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace korvex::simulation {

namespace {

constexpr char AxisLetters[] = "XYZ";
// Rapid moves are looked at in steps this long: far below any dot pitch.
constexpr long double RapidStep = 0.01L;

struct TPoint {
    std::array<long double, 3> At{};
};

// The blank as a solid: a box, or a cylinder along one axis with its length.
struct TSolid {
    enum TKind { None, Box, Cylinder } Kind = None;
    std::array<long double, 3> Lo{}, Hi{}; // a box's corners; a cylinder's length on Axis
    int Axis = 0;
    std::array<long double, 3> Centre{}; // a cylinder's axis on the other two axes
    long double Radius = 0;

    int U() const { return Axis == 0 ? 1 : 0; }
    int V() const { return Axis == 2 ? 1 : 2; }
    long double Radial(const TPoint& p) const {
        return std::hypot(p.At[U()] - Centre[U()], p.At[V()] - Centre[V()]);
    }
    bool Along(const TPoint& p, long double margin) const {
        return p.At[Axis] > Lo[Axis] + margin && p.At[Axis] < Hi[Axis] - margin;
    }
    bool Inside(const TPoint& p, long double margin) const {
        if (Kind == Box) {
            for (int k = 0; k < 3; ++k)
                if (p.At[k] <= Lo[k] + margin || p.At[k] >= Hi[k] - margin) return false;
            return true;
        }
        return Kind == Cylinder && Along(p, margin) && Radial(p) < Radius - margin;
    }
    // How far below the top of the blank above it a point lies; nothing without blank above.
    std::optional<long double> DepthBelowTop(const TPoint& p) const {
        if (Kind == Box) {
            if (p.At[0] <= Lo[0] || p.At[0] >= Hi[0] || p.At[1] <= Lo[1] || p.At[1] >= Hi[1])
                return std::nullopt;
            return Hi[2] - p.At[2];
        }
        if (Kind != Cylinder || !Along(p, 0)) return std::nullopt;
        if (Axis == 2) {
            if (Radial(p) >= Radius) return std::nullopt;
            return Hi[2] - p.At[2];
        }
        const long double off = p.At[U()] - Centre[U()];
        if (std::fabs(off) >= Radius) return std::nullopt;
        return Centre[2] + std::sqrt(Radius * Radius - off * off) - p.At[2];
    }
};

void span(TSolid& solid, int axis, long double a, long double b) {
    solid.Lo[axis] = std::min(a, b);
    solid.Hi[axis] = std::max(a, b);
}

TSolid solidOf(std::string_view d) {
    TSolid s;
    const auto v = [d](std::string_view key) { return BlankValue(d, key); };
    switch (BlankShapeOf(d)) {
    case BlankFields::Box:
        s.Kind = TSolid::Box;
        span(s, 0, v("XM"), v("XP"));
        span(s, 1, v("YM"), v("YP"));
        span(s, 2, v("ZM"), v("ZP"));
        return s;
    case BlankFields::CylinderZ:
        s.Axis = 2;
        s.Centre = {v("XC"), v("YC"), 0};
        span(s, 2, v("ZM"), v("ZP"));
        break;
    case BlankFields::CylinderX:
        s.Axis = 0;
        s.Centre = {0, v("YC"), v("ZC")};
        span(s, 0, v("XM"), v("XP"));
        break;
    case BlankFields::CylinderY:
        s.Axis = 1;
        s.Centre = {v("XC"), 0, v("ZC")};
        span(s, 1, v("YM"), v("YP"));
        break;
    default:
        return s;
    }
    s.Radius = std::fabs(v("RA"));
    if (s.Radius > 0) s.Kind = TSolid::Cylinder;
    return s;
}

std::string number(long double value) {
    std::string text = base::FixedText(value, 3);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

// The turning axis as the machine has it: "Y (X0 Z0)" for a lathe, "X" for a rotary axis.
std::string machineAxisName(const TMachineSetup& setup) {
    std::string fixed;
    for (int k = 0; k < 3; ++k)
        if (setup.AxisAtZero[k] && AxisLetters[k] != setup.TurningAxis)
            fixed += (fixed.empty() ? "" : " ") + std::string(1, AxisLetters[k]) + "0";
    return std::string(1, setup.TurningAxis) + (fixed.empty() ? "" : " (" + fixed + ")");
}

TCollision axisMismatch(const TSolid& solid, const TMachineSetup& setup) {
    TCollision found;
    if (!setup.TurningAxis) return found;
    if (solid.Kind != TSolid::Cylinder) {
        // Only a lathe that plunges in X measures its depth from the turning axis.
        if (!setup.AxisAtZero[2]) return found;
        found.Kind = TCollision::NotACylinder;
        found.MachineAxis = machineAxisName(setup);
        return found;
    }
    const char blankAxis = AxisLetters[solid.Axis];
    bool matches = setup.TurningAxis == blankAxis;
    std::string centre;
    for (const int k : {solid.U(), solid.V()}) {
        centre +=
            (centre.empty() ? "" : " ") + std::string(1, AxisLetters[k]) + number(solid.Centre[k]);
        if (setup.AxisAtZero[k] && std::fabs(solid.Centre[k]) > DepthTolerance) matches = false;
    }
    if (matches) return found;
    found.Kind = TCollision::AxisMismatch;
    found.MachineAxis = machineAxisName(setup);
    found.BlankAxis = std::string(1, blankAxis) + " (" + centre + ")";
    return found;
}

// One dot: where the feed ends and where the tool waits above it, in the blank's frame.
struct TDotMove {
    TPoint Bottom, Safe;
};

std::vector<TDotMove> dotMoves(const std::vector<std::string>& lines, const TSolid& solid,
                               const TMachineSetup& setup, bool& turned) {
    std::vector<TDotMove> dots;
    long double safe = 0, bottom = 0;
    for (const std::string& line : lines) {
        const SimulationLineFields read = ReadSimulationLineFields(line);
        if (read.kind == SimulationLineFields::RotarySurface) turned = true;
        if (!read.separated) continue;
        if (read.kind == SimulationLineFields::Level) {
            safe = read.first;
            bottom = read.second;
        }
        if (read.kind != SimulationLineFields::Point) continue;
        TDotMove dot;
        // A lathe that writes the depth in X cannot also move the tool across in X: it stays on
        // the line through the turning axis.
        const long double x = !turned && setup.AxisAtZero[2] ? 0
                              : setup.XNegated               ? -read.first
                                                             : read.first;
        dot.Bottom.At = {x, read.second, bottom};
        dot.Safe.At = {x, read.second, safe};
        if (turned && solid.Kind == TSolid::Cylinder) {
            // The plunge is radial in the part's frame: its start lies on the dot's radius.
            const int u = solid.U(), w = solid.V();
            const long double du = dot.Bottom.At[u] - solid.Centre[u];
            const long double dw = dot.Bottom.At[w] - solid.Centre[w];
            const long double radius = std::hypot(du, dw);
            const long double lifted = radius + (safe - bottom);
            const long double scale = setup.Diameter[2] ? 0.5L : 1;
            const auto at = [&](long double r) {
                TPoint p = dot.Bottom;
                const long double k = radius > 0 ? r * scale / radius : 0;
                p.At[u] = solid.Centre[u] + du * k;
                p.At[w] = solid.Centre[w] + (radius > 0 ? dw * k : r * scale);
                return p;
            };
            dot.Bottom = at(radius);
            dot.Safe = at(lifted);
        } else {
            for (int k = 0; k < 3; ++k)
                if (setup.Diameter[k]) {
                    dot.Bottom.At[k] /= 2;
                    dot.Safe.At[k] /= 2;
                }
        }
        dots.push_back(dot);
    }
    return dots;
}

std::size_t lineOf(const std::vector<TDotLines>& lines, std::size_t dot, bool plunge) {
    if (dot >= lines.size()) return 0;
    return plunge ? lines[dot].Plunge : lines[dot].Safe;
}

// A turned part moves under the tool on a circle: between two dots the tool keeps between
// their radii and their places along the axis.
bool rapidInside(const TSolid& solid, const TPoint& from, const TPoint& to, bool turned) {
    long double length = 0;
    for (int k = 0; k < 3; ++k)
        length = std::hypot(length, to.At[k] - from.At[k]);
    const long double r0 = turned ? solid.Radial(from) : 0;
    const long double r1 = turned ? solid.Radial(to) : 0;
    if (turned) length = std::hypot(to.At[solid.Axis] - from.At[solid.Axis], r1 - r0);
    const int steps = static_cast<int>(std::min(length / RapidStep, 1e6L)) + 1;
    for (int i = 1; i < steps; ++i) {
        const long double t = static_cast<long double>(i) / steps;
        TPoint p;
        for (int k = 0; k < 3; ++k)
            p.At[k] = from.At[k] + t * (to.At[k] - from.At[k]);
        if (turned) {
            if (solid.Along(p, DepthTolerance) &&
                r0 + t * (r1 - r0) < solid.Radius - DepthTolerance)
                return true;
        } else if (solid.Inside(p, DepthTolerance)) {
            return true;
        }
    }
    return false;
}

} // namespace

TCollision CheckBlankCollision(std::string_view blankDefinition,
                               const std::vector<std::string>& simulationLines,
                               const std::vector<TDotLines>& dotLines, long double infeedDepth,
                               const TMachineSetup& setup) {
    const TSolid solid = solidOf(blankDefinition);
    if (solid.Kind == TSolid::None) return {};
    if (TCollision mismatch = axisMismatch(solid, setup); mismatch.Found()) return mismatch;
    bool turned = false;
    const std::vector<TDotMove> dots = dotMoves(simulationLines, solid, setup, turned);
    turned = turned && solid.Kind == TSolid::Cylinder;
    TCollision found;
    for (std::size_t i = 0; i < dots.size(); ++i) {
        const TDotMove& dot = dots[i];
        if (solid.Inside(dot.Safe, DepthTolerance)) {
            found.Kind = TCollision::SafePlaneInside;
            found.Line = lineOf(dotLines, i, false);
            return found;
        }
        const std::optional<long double> depth =
            turned && solid.Along(dot.Bottom, 0)
                ? std::optional<long double>(solid.Radius - solid.Radial(dot.Bottom))
                : solid.DepthBelowTop(dot.Bottom);
        if (depth && *depth > infeedDepth + DepthTolerance) {
            found.Kind = TCollision::TooDeep;
            found.Line = lineOf(dotLines, i, true);
            found.Depth = *depth;
            return found;
        }
        if (i + 1 < dots.size() && rapidInside(solid, dot.Safe, dots[i + 1].Safe, turned)) {
            found.Kind = TCollision::RapidInside;
            found.Line = lineOf(dotLines, i + 1, false);
            return found;
        }
    }
    return found;
}

} // namespace korvex::simulation

#include "simulation/BlankFit.h"

#include "simulation/BlankDefinition.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace korvex::simulation {

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;
// The simulation lines carry three decimals; a touch within that counts as inside.
constexpr long double Touch = 0.001L;

using TCorners = std::array<TDot, 4>;

// The rectangle around the dots in the symbol's own frame, widened by `margin`, in world
// coordinates.
TCorners footprint(const std::vector<TDot>& dots, long double angleDegrees, long double margin) {
    const long double a = angleDegrees * Pi / 180;
    const long double c = std::cos(a), s = std::sin(a);
    long double u0 = 0, u1 = 0, v0 = 0, v1 = 0;
    bool first = true;
    for (const TDot& dot : dots) {
        const long double u = dot.X * c + dot.Y * s;
        const long double v = -dot.X * s + dot.Y * c;
        u0 = first ? u : std::min(u0, u);
        u1 = first ? u : std::max(u1, u);
        v0 = first ? v : std::min(v0, v);
        v1 = first ? v : std::max(v1, v);
        first = false;
    }
    TCorners corners;
    const long double us[] = {u0 - margin, u1 + margin, u1 + margin, u0 - margin};
    const long double vs[] = {v0 - margin, v0 - margin, v1 + margin, v1 + margin};
    for (int k = 0; k < 4; ++k) {
        corners[k] = {us[k] * c - vs[k] * s, us[k] * s + vs[k] * c};
    }
    return corners;
}

long double beyondRange(long double value, long double a, long double b) {
    return std::max({std::min(a, b) - value, value - std::max(a, b), 0.0L});
}

// Not through the C library: under a German locale printf writes a comma.
std::string mm(long double value) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                   std::chars_format::fixed, 3)
                         .ptr;
    return std::string(text, end) + " mm";
}

} // namespace

TBlankFit CheckBlankFit(std::string_view definition, const std::vector<TDot>& dots,
                        long double pitch, long double angleDegrees) {
    TBlankFit fit;
    const int shape = BlankShapeOf(definition);
    if (shape == 0 || dots.empty()) return fit;
    const auto value = [definition](const char* key) { return BlankValue(definition, key); };
    const long double module = std::fabs(pitch);
    const TCorners zone = footprint(dots, angleDegrees, 1.5L * module);
    const TCorners symbol = footprint(dots, angleDegrees, 0.5L * module);
    fit.Result = TBlankFit::Fits;

    if (shape == 1 || shape == 2) {
        for (const TDot& corner : zone) {
            const long double beyond =
                shape == 1 ? std::max(beyondRange(corner.X, value("XM"), value("XP")),
                                      beyondRange(corner.Y, value("YM"), value("YP")))
                           : std::hypot(corner.X - value("XC"), corner.Y - value("YC")) -
                                 std::fabs(value("RA"));
            fit.Beyond = std::max(fit.Beyond, beyond);
        }
        if (fit.Beyond > Touch) fit.Result = TBlankFit::Outside;
        return fit;
    }

    // Along x the surface curves across y, along y across x.
    const bool alongX = shape == 3;
    const long double axis = alongX ? value("YC") : value("XC");
    const long double radius = std::fabs(value("RA"));
    const long double end0 = alongX ? value("XM") : value("YM");
    const long double end1 = alongX ? value("XP") : value("YP");
    long double across0 = 0, across1 = 0;
    for (int k = 0; k < 4; ++k) {
        const long double across = alongX ? symbol[k].Y : symbol[k].X;
        across0 = k == 0 ? across : std::min(across0, across);
        across1 = k == 0 ? across : std::max(across1, across);
    }
    for (const TDot& corner : zone) {
        const long double along = alongX ? corner.X : corner.Y;
        const long double across = alongX ? corner.Y : corner.X;
        fit.Beyond = std::max(
            {fit.Beyond, beyondRange(along, end0, end1), std::fabs(across - axis) - radius});
    }
    fit.OffCylinder = fit.Beyond > Touch;
    fit.Result = TBlankFit::Curved;
    fit.Span = across1 - across0;
    const auto height = [&](long double across) {
        const long double d = std::min(std::fabs(across - axis), radius);
        return std::sqrt(radius * radius - d * d);
    };
    const long double top =
        (axis >= across0 && axis <= across1) ? radius : std::max(height(across0), height(across1));
    fit.FallAway = top - std::min(height(across0), height(across1));
    return fit;
}

std::string BlankFitWarning(const TBlankFit& fit) {
    switch (fit.Result) {
    case TBlankFit::NoBlank:
    case TBlankFit::Fits:
        return {};
    case TBlankFit::Outside:
        return "the symbol with its quiet zone reaches " + mm(fit.Beyond) +
               " past the blank's top face";
    case TBlankFit::Curved:
        break;
    }
    std::string text = "the symbol lies on a curved surface: across its " + mm(fit.Span) +
                       " the surface falls away by " + mm(fit.FallAway);
    if (fit.OffCylinder)
        text += "; with its quiet zone it reaches " + mm(fit.Beyond) + " past the blank";
    return text;
}

} // namespace korvex::simulation

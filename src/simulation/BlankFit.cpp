#include "simulation/BlankFit.h"

#include "base/DecimalText.h"
#include "simulation/BlankDefinition.h"

#include <algorithm>
#include <array>
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

std::string mm(long double value) {
    return base::FixedText(value, 3) + " mm";
}

bool within(long double value, long double a, long double b) {
    return beyondRange(value, a, b) <= Touch;
}

// Where the blank's surface lies above (x, y), seen from above; nothing where it has none.
template <typename Value>
std::optional<long double> surfaceAt(int shape, const Value& value, const TDot& dot) {
    switch (shape) {
    case 1:
        if (!within(dot.X, value("XM"), value("XP")) || !within(dot.Y, value("YM"), value("YP")))
            return std::nullopt;
        return std::max(value("ZP"), value("ZM"));
    case 2:
        if (std::hypot(dot.X - value("XC"), dot.Y - value("YC")) > std::fabs(value("RA")) + Touch)
            return std::nullopt;
        return std::max(value("ZP"), value("ZM"));
    default:
        break;
    }
    const bool alongX = shape == 3;
    const long double along = alongX ? dot.X : dot.Y;
    const long double off = std::fabs((alongX ? dot.Y : dot.X) - value(alongX ? "YC" : "XC"));
    const long double radius = std::fabs(value("RA"));
    if (!within(along, value(alongX ? "XM" : "YM"), value(alongX ? "XP" : "YP")) ||
        off > radius + Touch)
        return std::nullopt;
    const long double d = std::min(off, radius);
    return value("ZC") + std::sqrt(radius * radius - d * d);
}

template <typename Value>
void checkHeights(int shape, const Value& value, const std::vector<TDot>& dots,
                  const TMarkingLevels& levels, TBlankFit& fit) {
    fit.Safety = levels.Safety;
    fit.Depth = levels.Depth;
    long double worst = -1;
    long double across0 = 0, across1 = 0;
    for (const TDot& dot : dots) {
        const std::optional<long double> surface = surfaceAt(shape, value, dot);
        if (!surface) continue;
        const long double across = shape == 3 ? dot.Y : dot.X;
        across0 = fit.HeightChecked ? std::min(across0, across) : across;
        across1 = fit.HeightChecked ? std::max(across1, across) : across;
        fit.Top = fit.HeightChecked ? std::max(fit.Top, *surface) : *surface;
        fit.HeightChecked = true;
        const long double off = std::fabs(levels.Depth - *surface);
        if (off > worst) {
            worst = off;
            fit.Surface = *surface;
        }
    }
    if (!fit.HeightChecked) return;
    // The rapids between dots on either side of a cylinder's axis cross its crest.
    if (shape >= 3) {
        const long double axis = value(shape == 3 ? "YC" : "XC");
        if (axis >= across0 && axis <= across1) fit.Top = value("ZC") + std::fabs(value("RA"));
    }
    fit.SafetyTooLow = fit.Safety <= fit.Top;
    fit.DepthOff = worst > MaxDepthOff + Touch;
}

} // namespace

TBlankFit CheckBlankFit(std::string_view definition, const std::vector<TDot>& dots,
                        long double pitch, long double angleDegrees,
                        std::optional<TMarkingLevels> levels, bool face) {
    TBlankFit fit;
    int shape = 0;
    if (definition.find("QUAD") != definition.npos) shape = 1;
    if (definition.find("ZYL1") != definition.npos) shape = 2;
    if (definition.find("ZYL2") != definition.npos) shape = 3;
    if (definition.find("ZYL3") != definition.npos) shape = 4;
    if (shape == 0 || dots.empty()) return fit;
    const auto value = [definition](const char* key) { return BlankValue(definition, key); };
    if (levels) checkHeights(shape, value, dots, *levels, fit);
    if (!face) {
        if (fit.HeightChecked) fit.Result = TBlankFit::Fits;
        return fit;
    }
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

namespace {

std::string faceWarning(const TBlankFit& fit) {
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
    std::string text;
    if (!fit.DepthOff)
        text = "the symbol lies on a curved surface: across its " + mm(fit.Span) +
               " the surface falls away by " + mm(fit.FallAway);
    if (fit.OffCylinder)
        text += (text.empty() ? "with its quiet zone the symbol reaches "
                              : "; with its quiet zone it reaches ") +
                mm(fit.Beyond) + " past the blank";
    return text;
}

void append(std::string& text, const std::string& part) {
    if (part.empty()) return;
    if (!text.empty()) text += "; ";
    text += part;
}

} // namespace

std::string BlankFitWarning(const TBlankFit& fit) {
    std::string text;
    if (fit.SafetyTooLow)
        text = "the safety level " + mm(fit.Safety) +
               " is not above the blank's highest point under the symbol, " + mm(fit.Top);
    if (fit.DepthOff)
        append(text, "the marking depth " + mm(fit.Depth) + " lies " +
                         mm(std::fabs(fit.Depth - fit.Surface)) +
                         (fit.InAir() ? " above" : " below") + " the blank's surface there, " +
                         mm(fit.Surface) +
                         (fit.InAir() ? ": marking in the air" : ": marking deep in the material"));
    append(text, faceWarning(fit));
    return text;
}

} // namespace korvex::simulation

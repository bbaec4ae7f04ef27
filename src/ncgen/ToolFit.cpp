#include "ncgen/ToolFit.h"

#include "base/TextNumbers.h"
#include "ncgen/DotGeometry.h"
#include "ncgen/ToolGeometry.h"

#include <cmath>
#include <numbers>

namespace korvex::ncgen {

namespace {

constexpr std::size_t LeastDots = 3;

long double residual(const TTool& tool, const std::vector<long double>& depths,
                     const std::vector<long double>& diameters) {
    long double sum = 0;
    for (std::size_t i = 0; i < depths.size(); ++i) {
        const long double e = diameters[i] - DotDiameter(tool, depths[i]);
        sum += e * e;
    }
    return std::sqrt(sum / static_cast<long double>(depths.size()));
}

std::optional<TTool> fitCone(const std::vector<long double>& h, const std::vector<long double>& d) {
    const long double n = static_cast<long double>(h.size());
    long double sh = 0, sd = 0, shh = 0, shd = 0;
    for (std::size_t i = 0; i < h.size(); ++i) {
        sh += h[i];
        sd += d[i];
        shh += h[i] * h[i];
        shd += h[i] * d[i];
    }
    const long double det = n * shh - sh * sh;
    if (!(det > 0)) return std::nullopt;
    long double slope = (n * shd - sh * sd) / det;
    long double tip = (sd - slope * sh) / n;
    // A flat cannot be negative: the best sharp cone through the origin instead.
    if (tip < 0) {
        tip = 0;
        slope = shd / shh;
    }
    if (!(slope > 0)) return std::nullopt;
    return TTool{TToolKind::Cone, 2 * std::atan(slope / 2) * 180 / std::numbers::pi_v<long double>,
                 tip, 0};
}

std::optional<TTool> fitBall(const std::vector<long double>& h, const std::vector<long double>& d) {
    // The squared error is smooth and has one valley in r: golden section between a radius
    // no dot could come from and one far flatter than any.
    long double largest = 0;
    for (const long double x : d)
        largest = std::max(largest, x);
    long double lo = std::log(largest / 2 * 0.5L), hi = std::log(largest * 50);
    const auto cost = [&](long double logR) {
        return residual({TToolKind::Ball, 90, 0, std::exp(logR)}, h, d);
    };
    const long double g = (std::sqrt(5.0L) - 1) / 2;
    long double a = hi - g * (hi - lo), b = lo + g * (hi - lo);
    long double fa = cost(a), fb = cost(b);
    for (int i = 0; i < 120; ++i) {
        if (fa < fb) {
            hi = b;
            b = a;
            fb = fa;
            a = hi - g * (hi - lo);
            fa = cost(a);
        } else {
            lo = a;
            a = b;
            fa = fb;
            b = lo + g * (hi - lo);
            fb = cost(b);
        }
    }
    return TTool{TToolKind::Ball, 90, 0, std::exp((lo + hi) / 2)};
}

} // namespace

TToolFit FitTool(TToolKind kind, const std::vector<long double>& depths,
                 const std::vector<long double>& diameters, long double pitch) {
    TToolFit fit;
    if (depths.size() != diameters.size() || depths.size() < LeastDots) {
        fit.Problem = {text::ToolFitNeedsDots, 0, {}, {std::to_string(LeastDots)}};
        return fit;
    }
    for (std::size_t i = 0; i < depths.size(); ++i)
        if (!(depths[i] > 0) || !(diameters[i] > 0)) {
            fit.Problem = {text::MeasuredDotNeedsSizes};
            return fit;
        }
    std::optional<TTool> tool;
    if (kind == TToolKind::Cone)
        tool = fitCone(depths, diameters);
    else if (kind == TToolKind::Ball)
        tool = fitBall(depths, diameters);
    else {
        fit.Problem = {text::NoToolToCorrect};
        return fit;
    }
    if (!tool || (kind == TToolKind::Cone && !(tool->Angle >= 1 && tool->Angle <= 179))) {
        fit.Problem = {text::ToolFitsNoTool};
        return fit;
    }
    fit.Tool = *tool;
    fit.Residual = residual(fit.Tool, depths, diameters);
    fit.IdealDepth = DepthForDiameter(fit.Tool, IdealFill * pitch);
    return fit;
}

} // namespace korvex::ncgen

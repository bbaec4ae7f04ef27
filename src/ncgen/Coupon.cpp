#include "ncgen/Coupon.h"

#include "base/TextNumbers.h"
#include "ncgen/DotGeometry.h"
#include "ncgen/NCFormat.h"
#include "ncgen/PointTemplate.h"
#include "ncgen/SimulationLine.h"

#include <algorithm>
#include <cmath>

namespace korvex::ncgen {

namespace {

void writeTemplate(const TTemplate& lines, const TPointValues& values,
                   const TActiveProfile& profile, std::int32_t& counter,
                   std::vector<std::string>& program) {
    for (const std::string& line : lines)
        if (!line.empty()) WriteTemplateLine(line, values, profile, counter, program);
}

// The ideal depth on the nearest step, so the depths are round numbers to measure at, and
// steps either way: at least CouponDots, more until the row spans the window a mark may have
// (a steep tool changes its dot little per step), so a fit sees the tool's whole curve. None at
// or above the surface.
TCoupon couponRow(const TTool& tool, long double pitch, long double ideal, long double step) {
    const long double centre = std::round(ideal / step) * step;
    int first = -CouponDots / 2, last = CouponDots / 2;
    while (last - first < CouponMostDots - 1 && centre + (first - 1) * step >= step / 2 &&
           DotDiameter(tool, centre + first * step) > LeastFill * pitch)
        --first;
    while (last - first < CouponMostDots - 1 &&
           DotDiameter(tool, centre + last * step) < MostFill * pitch &&
           DotDiameter(tool, centre + (last + 1) * step) > DotDiameter(tool, centre + last * step))
        ++last;
    TCoupon coupon;
    for (int k = first; k <= last; ++k) {
        const long double depth = centre + k * step;
        if (depth < step / 2) continue;
        coupon.Depths.push_back(depth);
        coupon.Diameters.push_back(DotDiameter(tool, depth));
        if (k <= 0 || coupon.IndexDepth == 0) coupon.IndexDepth = depth;
    }
    return coupon;
}

// A ball's dot stops growing at its equator: the row then ends there.
bool spansWindow(const TTool& tool, long double pitch, const TCoupon& coupon, long double step) {
    if (coupon.Depths.empty()) return false;
    const long double last = coupon.Depths.back();
    return coupon.Diameters.front() <= LeastFill * pitch &&
           (coupon.Diameters.back() >= MostFill * pitch ||
            !(DotDiameter(tool, last + step) > coupon.Diameters.back()));
}

} // namespace

std::optional<TCoupon> MakeCoupon(const TActiveProfile& profile, const TTool& tool,
                                  long double pitch, long double x0, long double y0) {
    const auto ideal = DepthForDiameter(tool, IdealFill * pitch);
    if (!ideal || !(pitch > 0)) return std::nullopt;
    // The coarsest round step whose row spans the window; past the finest, what it reaches.
    TCoupon coupon;
    for (const long double step : {CouponStep, CouponStep / 2, CouponStep / 4}) {
        coupon = couponRow(tool, pitch, *ideal, step);
        if (spansWindow(tool, pitch, coupon, step)) break;
    }
    if (coupon.Depths.empty()) return std::nullopt;
    // Far enough apart that the largest dot stays alone and a loupe tells them apart.
    const long double largest = coupon.Diameters.back();
    coupon.Spacing = std::max(1.0L, std::ceil(largest * 3 / 0.5L) * 0.5L);

    const std::string rText =
        FieldValueText(profile.SafetyDistance, profile.SafetyDistance, profile.Format);
    std::int32_t counter = static_cast<std::int32_t>(profile.Format.Start);
    std::string xText, yText, zText;
    // The coupon is marked at one angle of a rotary axis.
    const std::string aText = FormatNumber(profile.Format, 0);
    for (std::size_t i = 0; i < coupon.Depths.size(); ++i) {
        const long double x = x0 + coupon.Spacing * static_cast<long double>(i);
        xText = FormatNumber(profile.Format, x);
        yText = FormatNumber(profile.Format, y0);
        zText = FormatNumber(profile.Format, -coupon.Depths[i]);
        const TPointValues values{xText,     yText,     zText,     rText, profile.FeedZ,
                                  profile.X, profile.Y, profile.Z, aText, profile.A};
        writeTemplate(i == 0 ? profile.FirstPoint : profile.FollowingPoints, values, profile,
                      counter, coupon.NCLines);
        coupon.SimulationLines.push_back(LevelLine(0, -coupon.Depths[i]));
        coupon.SimulationLines.push_back(PointLine(x, y0));
    }
    xText = FormatNumber(profile.Format, x0);
    yText = FormatNumber(profile.Format, y0 + coupon.Spacing);
    zText = FormatNumber(profile.Format, -coupon.IndexDepth);
    const TPointValues values{xText,     yText,     zText,     rText, profile.FeedZ,
                              profile.X, profile.Y, profile.Z, aText, profile.A};
    writeTemplate(profile.FollowingPoints, values, profile, counter, coupon.NCLines);
    coupon.SimulationLines.push_back(LevelLine(0, -coupon.IndexDepth));
    coupon.SimulationLines.push_back(PointLine(x0, y0 + coupon.Spacing));
    writeTemplate(profile.End, values, profile, counter, coupon.NCLines);
    return coupon;
}

TToolReading CorrectTool(const TTool& tool, long double depth, long double diameter) {
    TToolReading reading;
    if (!(depth > 0) || !(diameter > 0)) {
        reading.Problem = {text::MeasuredDotNeedsSizes};
        return reading;
    }
    if (tool.Kind == TToolKind::None) {
        reading.Problem = {text::NoToolToCorrect};
        return reading;
    }
    const std::optional<TTool> corrected = ToolForDot(tool, depth, diameter);
    if (!corrected) {
        reading.Problem = {text::DotWithinTipFlat};
        return reading;
    }
    if (corrected->Kind == TToolKind::Cone && !(corrected->Angle >= 1 && corrected->Angle <= 179)) {
        reading.Problem = {text::CorrectedAngleOutOfRange};
        return reading;
    }
    reading.Tool = *corrected;
    return reading;
}

} // namespace korvex::ncgen

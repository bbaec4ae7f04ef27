#include "simulation/BlankDrawing.h"

#include "simulation/BlankDefinition.h"

#include <cmath>
#include <numbers>

namespace korvex::simulation {

namespace {

constexpr int CYLINDER_SIDES = 36;
constexpr int CYLINDER_STEP_DEGREES = 10;

void setBlankPen(TMathImage& image, Color color) {
    Canvas& canvas = image.DrawingCanvas();
    canvas.setPen({color, PenStyle::Solid, canvas.pen().mode});
}

void drawBox(TMathImage& image, const BlankValues& v) {
    image.MoveTo3D(v.xm, v.yp, v.zp);
    image.LineTo3D(v.xp, v.yp, v.zp);
    image.LineTo3D(v.xp, v.ym, v.zp);
    image.LineTo3D(v.xm, v.ym, v.zp);
    image.LineTo3D(v.xm, v.yp, v.zp);
    image.LineTo3D(v.xm, v.yp, v.zm);
    image.LineTo3D(v.xp, v.yp, v.zm);
    image.LineTo3D(v.xp, v.ym, v.zm);
    image.LineTo3D(v.xm, v.ym, v.zm);
    image.LineTo3D(v.xm, v.yp, v.zm);
    image.MoveTo3D(v.xm, v.ym, v.zp);
    image.LineTo3D(v.xm, v.ym, v.zm);
    image.MoveTo3D(v.xp, v.ym, v.zp);
    image.LineTo3D(v.xp, v.ym, v.zm);
    image.MoveTo3D(v.xp, v.yp, v.zp);
    image.LineTo3D(v.xp, v.yp, v.zm);
}

// A point of a circle in its plane (p, q) and the cylinder's axis position.
struct CirclePoint {
    long double p = 0;
    long double q = 0;
};

} // namespace

BlankValues ReadBlankValues(std::string_view d) {
    return {BlankValue(d, "XM"), BlankValue(d, "XP"), BlankValue(d, "XC"), BlankValue(d, "YM"),
            BlankValue(d, "YP"), BlankValue(d, "YC"), BlankValue(d, "ZM"), BlankValue(d, "ZP"),
            BlankValue(d, "ZC"), BlankValue(d, "RA")};
}

void Drawblank(TMathImage& image, std::string_view definition, Color color) {
    const int shape = BlankShapeOf(definition);
    const BlankValues values = ReadBlankValues(definition);
    setBlankPen(image, color);
    if (shape == 1)
        drawBox(image, values);
    else if (shape >= 2)
        DrawBlankCylinder(image, shape, values, color);
}

void DrawBlankCylinder(TMathImage& image, int shape, const BlankValues& v, Color color) {
    if (shape < 2 || shape > 4) return;
    // In-plane centre of the circles and the axis positions of the first and second end.
    const CirclePoint centre = shape == 2   ? CirclePoint{v.xc, v.yc}
                               : shape == 3 ? CirclePoint{v.yc, v.zc}
                                            : CirclePoint{v.xc, v.zc};
    const long double firstEnd = shape == 2 ? v.zp : shape == 3 ? v.xp : v.yp;
    const long double secondEnd = shape == 2 ? v.zm : shape == 3 ? v.xm : v.ym;
    const auto at = [shape](const CirclePoint& c, long double end) -> WorldPoint {
        if (shape == 2) return {c.p, c.q, end};
        if (shape == 3) return {end, c.p, c.q};
        return {c.p, end, c.q};
    };
    const auto moveTo = [&image](const WorldPoint& w) { image.MoveTo3D(w.x, w.y, w.z); };
    const auto lineTo = [&image](const WorldPoint& w) { image.LineTo3D(w.x, w.y, w.z); };

    setBlankPen(image, color);
    const CirclePoint start{centre.p + v.ra, centre.q};
    moveTo(at(start, firstEnd));
    CirclePoint current = start;
    int angle = 0;
    for (int side = 0; side < CYLINDER_SIDES; ++side) {
        const CirclePoint previous = current;
        const long double a = angle * std::numbers::pi_v<long double> / 180;
        current = {centre.p + v.ra * std::cos(a), centre.q + v.ra * std::sin(a)};
        angle -= CYLINDER_STEP_DEGREES;
        if (angle <= 0) angle += 360;
        lineTo(at(current, firstEnd));
        moveTo(at(previous, secondEnd));
        lineTo(at(current, secondEnd));
        lineTo(at(current, firstEnd));
        moveTo(at(current, firstEnd));
    }
    lineTo(at(start, firstEnd));
    moveTo(at(current, secondEnd));
    lineTo(at(start, secondEnd));
}

} // namespace korvex::simulation

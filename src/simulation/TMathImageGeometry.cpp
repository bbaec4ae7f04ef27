// The compound primitives and the reference geometry of TMathImage.
#include "simulation/TMathImage.h"

#include "simulation/TickMarks.h"

#include <cmath>
#include <numbers>

namespace korvex::simulation {

namespace {

constexpr int ARROW_HEAD = 8;
constexpr int TEXT_GAP = 6;
constexpr int LABEL_GAP = 3;

} // namespace

void TMathImage::DrawSegment3D(const WorldPoint& p1, const WorldPoint& p2) {
    const PixelPoint a = ProjectPoint(p1);
    const PixelPoint b = ProjectPoint(p2);
    // Back to the start, so that both end pixels are set.
    const PixelPoint points[] = {a, b, a};
    DrawingCanvas().polyline(points);
}

void TMathImage::DrawArrow3D(const WorldPoint& p1, const WorldPoint& p2) {
    DrawSegment3D(p1, p2);
    const PixelPoint a = ProjectPoint(p1);
    const PixelPoint b = ProjectPoint(p2);
    long double dx = b.x - a.x;
    long double dy = b.y - a.y;
    const long double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0) return;
    dx /= length;
    dy /= length;
    const long double scale = ARROW_HEAD / std::numbers::sqrt2_v<long double>;
    Canvas& canvas = DrawingCanvas();
    canvas.moveTo(b.x, b.y);
    canvas.lineTo(b.x + static_cast<int>(std::rint(scale * (dy - dx))),
                  b.y + static_cast<int>(std::rint(scale * (-dx - dy))));
    canvas.moveTo(b.x, b.y);
    canvas.lineTo(b.x + static_cast<int>(std::rint(scale * (-dx - dy))),
                  b.y + static_cast<int>(std::rint(scale * (dx - dy))));
}

void TMathImage::DrawWireBox3D(long double x1, long double y1, long double z1, long double x2,
                               long double y2, long double z2) {
    const PixelPoint a[] = {ProjectPoint(x1, y1, z1), ProjectPoint(x2, y1, z1),
                            ProjectPoint(x2, y2, z1), ProjectPoint(x1, y2, z1)};
    const PixelPoint b[] = {ProjectPoint(x1, y1, z2), ProjectPoint(x2, y1, z2),
                            ProjectPoint(x2, y2, z2), ProjectPoint(x1, y2, z2)};
    Canvas& canvas = DrawingCanvas();
    const PixelPoint lower[] = {a[0], a[1], a[2], a[3], a[0]};
    const PixelPoint upper[] = {b[0], b[1], b[2], b[3], b[0]};
    canvas.polyline(lower);
    canvas.polyline(upper);
    for (int i = 0; i < 4; ++i) {
        canvas.moveTo(a[i].x, a[i].y);
        canvas.lineTo(b[i].x, b[i].y);
    }
}

void TMathImage::DrawOriginAxes() {
    const auto [x1, y1, z1, x2, y2, z2] = box_;
    const auto contains0 = [](long double lo, long double hi) { return lo <= 0 && 0 <= hi; };
    if (contains0(x1, x2) && contains0(z1, z2)) DrawSegment3D({0, y1, 0}, {0, y2, 0});
    if (contains0(z1, z2) && contains0(y1, y2)) DrawSegment3D({x1, 0, 0}, {x2, 0, 0});
    if (contains0(y1, y2) && contains0(x1, x2)) DrawSegment3D({0, 0, z1}, {0, 0, z2});
}

void TMathImage::DrawBackWalls() {
    const WorldPoint& f = far_;
    const WorldPoint& n = near_;
    DrawSegment3D({f.x, f.y, f.z}, {n.x, f.y, f.z});
    DrawSegment3D({f.x, f.y, f.z}, {f.x, n.y, f.z});
    DrawSegment3D({f.x, f.y, f.z}, {f.x, f.y, n.z});
    DrawSegment3D({f.x, n.y, f.z}, {n.x, n.y, f.z});
    DrawSegment3D({f.x, n.y, f.z}, {f.x, n.y, n.z});
    DrawSegment3D({f.x, f.y, n.z}, {n.x, f.y, n.z});
    DrawSegment3D({f.x, f.y, n.z}, {f.x, n.y, n.z});
    DrawSegment3D({n.x, f.y, f.z}, {n.x, n.y, f.z});
    DrawSegment3D({n.x, f.y, f.z}, {n.x, f.y, n.z});
}

void TMathImage::DrawTickedAxes(const std::string& labelX, const std::string& labelY,
                                const std::string& labelZ, int ticksX, int ticksY, int ticksZ,
                                int placeX, int placeY, int placeZ) {
    Canvas& canvas = DrawingCanvas();
    const Pen savedPen = canvas.pen();
    const Brush savedBrush = canvas.brush();
    Brush clear = savedBrush;
    clear.style = BrushStyle::Clear;
    canvas.setBrush(clear);

    // The box edge each axis runs along: place 0..3 picks lower/upper of the other two axes.
    const auto [x1, y1, z1, x2, y2, z2] = box_;
    const auto pick = [](int place, long double lo, long double hi, bool second) {
        if (place < 0 || place > 3) place = 0;
        const bool upper = second ? (place & 1) != 0 : (place & 2) != 0;
        return upper ? hi : lo;
    };
    const WorldPoint xBase{0, pick(placeX, y1, y2, false), pick(placeX, z1, z2, true)};
    const WorldPoint yBase{pick(placeY, x1, x2, false), 0, pick(placeY, z1, z2, true)};
    const WorldPoint zBase{pick(placeZ, x1, x2, false), pick(placeZ, y1, y2, true), 0};

    DrawArrow3D({x1, xBase.y, xBase.z}, {x2, xBase.y, xBase.z});
    PixelPoint p = ProjectPoint(x2, xBase.y, xBase.z);
    canvas.textOut(p.x - canvas.textWidth(labelX) - LABEL_GAP, p.y + TEXT_GAP, labelX);
    DrawArrow3D({yBase.x, y1, yBase.z}, {yBase.x, y2, yBase.z});
    p = ProjectPoint(yBase.x, y2, yBase.z);
    canvas.textOut(p.x + LABEL_GAP, p.y + TEXT_GAP, labelY);
    DrawArrow3D({zBase.x, zBase.y, z1}, {zBase.x, zBase.y, z2});
    p = ProjectPoint(zBase.x, zBase.y, z2);
    canvas.textOut(p.x, p.y - TEXT_GAP - canvas.textHeight(labelZ), labelZ);

    canvas.setFontSize(canvas.font().size - 1);
    drawTicks(0, ticksX, xBase);
    drawTicks(1, ticksY, yBase);
    drawTicks(2, ticksZ, zBase);
    canvas.setFontSize(canvas.font().size + 1);
    canvas.setPen(savedPen);
    canvas.setBrush(savedBrush);
}

void TMathImage::drawTicks(int axis, int count, const WorldPoint& axisBase) {
    if (count <= 0) return;
    Canvas& canvas = DrawingCanvas();
    for (const long double value : TickValues(box_[axis], box_[axis + 3], count)) {
        WorldPoint at = axisBase;
        (axis == 0 ? at.x : axis == 1 ? at.y : at.z) = value;
        const PixelPoint p = ProjectPoint(at);
        const std::string text = FormatTickText(value);
        const int width = canvas.textWidth(text);
        if (axis < 2) {
            canvas.textOut(p.x - width / 2, p.y + TEXT_GAP, text);
            canvas.moveTo(p.x, p.y);
            canvas.lineTo(p.x, p.y + TEXT_GAP);
        } else {
            canvas.textOut(p.x - width - TEXT_GAP, p.y - canvas.textHeight(text) / 2, text);
            canvas.moveTo(p.x, p.y);
            canvas.lineTo(p.x - TEXT_GAP, p.y);
        }
    }
}

} // namespace korvex::simulation

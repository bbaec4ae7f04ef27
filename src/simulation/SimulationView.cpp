#include "simulation/SimulationView.h"

#include "simulation/BlankDrawing.h"

#include <exception>

namespace korvex::simulation {

namespace {
constexpr int AXIS_TICKS = 4;
constexpr long double CROSSHAIR_HALF = 100;
} // namespace

DrawPassResult SimulationView::Drawsimulation(const std::vector<std::string>& lines,
                                              const std::string& blankDefinition, bool preview) {
    interpreter.pen = preview ? PassPen{PREVIEW_DOT_COLOR, PenStyle::Solid, PenMode::NotXor,
                                        showRapidMoves, colors.rapid}
                              : PassPen{colors.path, PenStyle::Solid, PenMode::Copy, showRapidMoves,
                                        colors.rapid};
    interpreter.Reset();
    zoomRectangleMode = false;

    DrawPassResult result;
    try {
        if (!preview) {
            Canvas& canvas = grafik.DrawingCanvas();
            canvas.setPen({colors.axes, PenStyle::Solid, PenMode::Copy});
            Brush brush = canvas.brush();
            brush.color = colors.background;
            canvas.setBrush(brush);
            grafik.ClearImage();
            grafik.RefreshView();
            if (showAxes) {
                grafik.DrawTickedAxes("x", "y", "z", AXIS_TICKS, AXIS_TICKS, AXIS_TICKS, 0, 0, 0);
                grafik.DrawOriginAxes();
            }
            grafik.DrawBackWalls();
            grafik.MoveTo3D(0, 0, 0);
            if (processMessages) processMessages();
            if (!blankDefinition.empty()) Drawblank(grafik, blankDefinition, colors.blank);
        }
        if (processMessages) processMessages();
        const std::size_t count = lines.size();
        for (std::size_t i = 0; i < count; ++i) {
            interpreter.Auswert(lines[i], preview);
            ++result.linesEvaluated;
        }
    } catch (const std::exception&) {
        result.stoppedByError = true;
    }
    return result;
}

void SimulationView::DrawZoomRectangle(int px, int py) {
    const WorldPoint w = grafik.UnprojectPixel(px, py);
    const long double hx = 0.25L * (grafik.D3WorldX2() - grafik.D3WorldX1());
    const long double hy = 0.25L * (grafik.D3WorldY2() - grafik.D3WorldY1());
    Canvas& canvas = grafik.DrawingCanvas();
    canvas.setPen({MARKER_COLOR, canvas.pen().style, PenMode::NotXor});
    Brush brush = canvas.brush();
    brush.style = BrushStyle::Clear;
    canvas.setBrush(brush);
    if (!lastMarker.none())
        grafik.DrawWireBox3D(lastMarker.x - hx, lastMarker.y - hy, 0, lastMarker.x + hx,
                             lastMarker.y + hy, 1);
    grafik.DrawWireBox3D(w.x - hx, w.y - hy, 0, w.x + hx, w.y + hy, 1);
    grafik.RestorePen();
    grafik.RestoreBrush();
    lastMarker = {w.x, w.y};
}

WorldPoint SimulationView::DrawPickCrosshair(int px, int py, long double zc) {
    WorldPoint w = grafik.UnprojectPixel(px, py);
    w.z = zc;
    grafik.DrawingCanvas().setPen({MARKER_COLOR, PenStyle::Solid, PenMode::NotXor});
    const auto cross = [this, zc](long double x, long double y) {
        grafik.MoveTo3D(x - CROSSHAIR_HALF, y, zc);
        grafik.LineTo3D(x + CROSSHAIR_HALF, y, zc);
        grafik.MoveTo3D(x, y - CROSSHAIR_HALF, zc);
        grafik.LineTo3D(x, y + CROSSHAIR_HALF, zc);
    };
    if (!lastMarker.none()) cross(lastMarker.x, lastMarker.y);
    cross(w.x, w.y);
    grafik.RestorePen();
    grafik.RestoreBrush();
    lastMarker = {w.x, w.y};
    return w;
}

} // namespace korvex::simulation

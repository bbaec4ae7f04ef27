#include "simulation/SimulationInterpreter.h"

#include "simulation/EConvertError.h"
#include "simulation/SimulationLineReader.h"

#include <array>
#include <cmath>
#include <numbers>

namespace korvex::simulation {

namespace {

constexpr int MARKER_STEP_DEGREES = 36;
constexpr int MARKER_POINTS = 12; // 0, 36, ..., 396 degrees

// The marker's angles are always the same; their sines and cosines are taken once.
struct MarkerTable {
    std::array<long double, MARKER_POINTS> cosines;
    std::array<long double, MARKER_POINTS> sines;
    MarkerTable() {
        for (int i = 0; i < MARKER_POINTS; ++i) {
            const long double a = static_cast<long double>(i * MARKER_STEP_DEGREES) *
                                  std::numbers::pi_v<long double> / 180;
            cosines[i] = std::cos(a);
            sines[i] = std::sin(a);
        }
    }
};

const MarkerTable& markerTable() {
    static const MarkerTable table;
    return table;
}

} // namespace

void SimulationInterpreter::Reset() {
    previousX_ = previousY_ = 0;
    safetyLevel_ = infeedDepth_ = 0;
    previousStart_ = {0, 0, 0};
    rotaryAlong_ = 0;
}

void SimulationInterpreter::Auswert(std::string_view line, bool preview) {
    const SimulationLineFields read = ReadSimulationLineFields(line);
    if (read.kind == SimulationLineFields::RotarySurface) {
        if (!read.separated) return;
        rotaryAxis_ = read.first;
        rotaryZC_ = read.second;
        rotaryAlong_ = read.along;
        return;
    }
    if (read.kind != SimulationLineFields::Level && read.kind != SimulationLineFields::Point)
        return;
    // Without a ';' between them the first field is empty, which is no number.
    if (!read.separated) throw EConvertError(std::string_view{});
    const long double a = read.first;
    const long double b = read.second;
    if (read.kind == SimulationLineFields::Level) {
        safetyLevel_ = a;
        infeedDepth_ = b;
        return;
    }
    WorldPoint start{a, b, safetyLevel_};
    if (rotaryAlong_ == 'X' || rotaryAlong_ == 'Y') {
        const long double across = rotaryAlong_ == 'X' ? b : a;
        const long double du = across - rotaryAxis_;
        const long double dz = infeedDepth_ - rotaryZC_;
        const long double length = std::hypot(du, dz);
        if (length > 0) {
            const long double plunge = safetyLevel_ - infeedDepth_;
            (rotaryAlong_ == 'X' ? start.y : start.x) = across + du / length * plunge;
            start.z = infeedDepth_ + dz / length * plunge;
        }
    }
    if (!preview) {
        if (pen.rapidMoves) {
            const WorldPoint from = rotaryAlong_ != 0
                                        ? previousStart_
                                        : WorldPoint{previousX_, previousY_, safetyLevel_};
            Line(from, start, true);
        }
        Line(start, {a, b, infeedDepth_}, false);
    }
    previousStart_ = start;
    Werkzeug(a, b, infeedDepth_, MARKER_RADIUS);
    previousX_ = a;
    previousY_ = b;
}

void SimulationInterpreter::Line(const WorldPoint& from, const WorldPoint& to, bool rapid) {
    Canvas& canvas = image_.DrawingCanvas();
    if (rapid)
        canvas.setPen({pen.rapidColor, PenStyle::Dotted, pen.mode});
    else
        canvas.setPen({pen.pathColor, pen.pathStyle, pen.mode});
    image_.MoveTo3D(from.x, from.y, from.z);
    image_.LineTo3D(to.x, to.y, to.z);
}

void SimulationInterpreter::Werkzeug(long double x, long double y, long double z,
                                     long double radius) {
    const long double r = std::fabs(radius);
    image_.DrawingCanvas().setPen({pen.pathColor, PenStyle::Solid, pen.mode});
    const MarkerTable& table = markerTable();
    image_.MoveTo3D(x + r * table.cosines[0], y + r * table.sines[0], z);
    for (int i = 1; i < MARKER_POINTS; ++i)
        image_.LineTo3D(x + r * table.cosines[i], y + r * table.sines[i], z);
    image_.MoveTo3D(x, y, z);
}

} // namespace korvex::simulation

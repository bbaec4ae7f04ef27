#include "simulation/SimulationInterpreter.h"

#include "simulation/SimulationNumber.h"

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
    if (line.starts_with("SF;") && line.size() > 7 && line.substr(4, 3) == ";R;") {
        // "SF;" axis ";R;" axis position ";" ZC ";" radius
        const std::string_view rest = line.substr(7);
        const std::size_t split = rest.find(';');
        const std::size_t next = rest.find(';', split == rest.npos ? rest.size() : split + 1);
        if (split == rest.npos || next == rest.npos) return;
        rotaryAxis_ = ParseSimulationNumber(rest.substr(0, split));
        rotaryZC_ = ParseSimulationNumber(rest.substr(split + 1, next - split - 1));
        rotaryAlong_ = line[3];
        return;
    }
    const bool level = line.starts_with("ZR");
    if (!level && !line.starts_with("XY")) return;
    const std::string_view rest = line.substr(line.size() < 3 ? line.size() : 3);
    const std::size_t separator = rest.find(';');
    const std::string_view first =
        separator == std::string_view::npos ? std::string_view{} : rest.substr(0, separator);
    const std::string_view second =
        separator == std::string_view::npos ? rest : rest.substr(separator + 1);
    const long double a = ParseSimulationNumber(first);
    const long double b = ParseSimulationNumber(second);
    if (level) {
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

#pragma once

#include "simulation/Canvas.h"
#include "simulation/SimulationInterpreter.h"
#include "simulation/TMathImage.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace korvex::simulation {

// The graphic's colours from the settings ("HG", "Achsen", "Vorschub", "Eilgang", "Rohteil").
struct SimulationColors {
    Color background = 0xFFFFFF;
    Color axes = 0x000000;
    Color path = 0x000000;
    Color rapid = 0x000000;
    Color blank = 0x000000;
};

inline constexpr Color PREVIEW_DOT_COLOR = 0x00FFFF; // yellow
inline constexpr Color MARKER_COLOR = 0x0000FF;      // red: rubber band, pick crosshair

// World x, y of the last rubber-band box or pick crosshair; NONE in both when there is none.
struct MarkerCentre {
    static constexpr long double NONE = 999999;
    long double x = NONE;
    long double y = NONE;
    bool none() const { return x == NONE && y == NONE; }
};

struct DrawPassResult {
    std::size_t linesEvaluated = 0; // lines fully evaluated before the pass ended
    bool stoppedByError = false;
};

// The view state of the tool-path graphic and its drawing pass. Window matters (visibility,
// focus, status texts, suspended repainting, pick mode) stay with the caller.
class SimulationView {
  public:
    explicit SimulationView(TMathImage& image) : grafik(image), interpreter(image) {}

    TMathImage& grafik;
    SimulationInterpreter interpreter;
    SimulationColors colors;
    bool showAxes = false;
    bool showRapidMoves = false;
    bool zoomRectangleMode = false;
    MarkerCentre lastMarker;
    PixelPoint lastMouse;
    // Called after the background layer and before the lines: the window repaints and lets
    // pending events run.
    std::function<void()> processMessages;

    // A normal pass clears the picture and draws axes, back walls, the blank and every line;
    // a preview pass draws only the dots with an inverting pen. Any error ends the pass
    // quietly; what was drawn stays.
    DrawPassResult Drawsimulation(const std::vector<std::string>& lines,
                                  const std::string& blankDefinition, bool preview);

    // Zoom rectangle mode, mouse over (px, py): redraws the rubber-band box (half the x and
    // y extent, z 0..1) with an inverting red pen, erasing the previous one.
    void DrawZoomRectangle(int px, int py);
    // Pick mode: the crosshair at the world point under (px, py) at height zc, erasing the
    // previous one. Returns that world point with z = zc.
    WorldPoint DrawPickCrosshair(int px, int py, long double zc);
};

} // namespace korvex::simulation

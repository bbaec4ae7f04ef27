#pragma once

#include "simulation/Canvas.h"
#include "simulation/TMathImage.h"

#include <string_view>

namespace korvex::simulation {

// Pens of one drawing pass, set by the pass before the first line.
struct PassPen {
    Color pathColor = 0x000000;
    PenStyle pathStyle = PenStyle::Solid;
    PenMode mode = PenMode::Copy;
    bool rapidMoves = false; // draw the positioning moves between dots
    Color rapidColor = 0x000000;
};

// Reads the simulation lines ("ZR;R;Z" sets the safety level and infeed depth, "XY;x;y"
// is one dot) and draws, per dot, the rapid move at the safety level, the plunge and the
// tool marker. After a rotary surface line ("SF;X;R;..." or "SF;Y;R;...") a plunge runs
// along the radial line through the dot, as long as the level line says.
class SimulationInterpreter {
  public:
    static constexpr long double MARKER_RADIUS = 0.1L;

    explicit SimulationInterpreter(TMathImage& image) : image_(image) {}

    PassPen pen;

    void Reset();
    // Throws EConvertError for a number that does not convert, EMathImageError for a point
    // that cannot be projected; lines with another tag are ignored.
    void Auswert(std::string_view line, bool preview);
    void Line(const WorldPoint& from, const WorldPoint& to, bool rapid);
    // A decagon drawn as eleven chords, the last one over the first again.
    void Werkzeug(long double x, long double y, long double z, long double radius);

    WorldPoint PreviousPoint() const { return {previousX_, previousY_, 0}; }
    long double SafetyLevel() const { return safetyLevel_; }
    long double InfeedDepth() const { return infeedDepth_; }

  private:
    TMathImage& image_;
    long double previousX_ = 0;
    long double previousY_ = 0;
    long double safetyLevel_ = 0;
    long double infeedDepth_ = 0;
    WorldPoint previousStart_{0, 0, 0};
    char rotaryAlong_ = 0; // 'X' or 'Y' after a rotary surface line
    long double rotaryAxis_ = 0;
    long double rotaryZC_ = 0;
};

} // namespace korvex::simulation

#pragma once

#include "simulation/Canvas.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::simulation {

// Draws into a standalone SVG document of the given pixel size. Connected lines of one pen
// become one polyline element. Vector output cannot invert what lies below, so a not-xor pen
// draws in its own colour. Text metrics follow Arial's advance widths. Each move-to starts a
// new polyline, so one stroke sequence (a tool marker) stays one element.
class SvgCanvas : public Canvas {
  public:
    // `toUtf8` converts the core's single-byte texts for the UTF-8 document.
    using TextConverter = std::function<std::string(std::string_view)>;
    SvgCanvas(int width, int height, TextConverter toUtf8);

    void fillRect(int x1, int y1, int x2, int y2) override;
    void polyline(std::span<const PixelPoint> points) override;
    void textOut(int x, int y, std::string_view text) override;
    int textWidth(std::string_view text) const override;
    int textHeight(std::string_view text) const override;

    // The whole document, with everything drawn so far.
    std::string document();

  protected:
    void drawLine(PixelPoint from, PixelPoint to) override;
    void penMoved() override { flushRun(); }

  private:
    void flushRun();
    void writePolyline(std::span<const PixelPoint> points, const Pen& pen);
    int fontPixels() const;

    int width_;
    int height_;
    TextConverter toUtf8_;
    std::string body_;
    std::vector<PixelPoint> run_; // the open chain of connected lines
    Pen runPen_;
};

} // namespace korvex::simulation

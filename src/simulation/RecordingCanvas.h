#pragma once

#include "simulation/Canvas.h"

#include <cstddef>
#include <string>
#include <vector>

namespace korvex::simulation {

// Keeps every primitive with the pen, brush and font it was drawn with, for tests and for
// counting. Text metrics are fixed: 7 pixels per character, 15 pixels high.
class RecordingCanvas : public Canvas {
  public:
    enum class Kind { Line, Polyline, FillRect, Text };
    struct Record {
        Kind kind = Kind::Line;
        std::vector<PixelPoint> points; // Line: from, to; FillRect: corners; Text: position
        Pen pen;
        Brush brush;
        Font font;
        std::string text;
    };

    static constexpr int GLYPH_WIDTH = 7;
    static constexpr int TEXT_HEIGHT = 15;

    void fillRect(int x1, int y1, int x2, int y2) override;
    void polyline(std::span<const PixelPoint> points) override;
    void textOut(int x, int y, std::string_view text) override;
    int textWidth(std::string_view text) const override;
    int textHeight(std::string_view text) const override;

    const std::vector<Record>& records() const { return records_; }
    std::size_t count(Kind kind) const;
    void clear() { records_.clear(); }

  protected:
    void drawLine(PixelPoint from, PixelPoint to) override;

  private:
    Record make(Kind kind) const;
    std::vector<Record> records_;
};

} // namespace korvex::simulation

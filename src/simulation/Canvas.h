#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace korvex::simulation {

// 0x00BBGGRR, red in the low byte, as the settings files store colours.
using Color = std::uint32_t;

enum class PenStyle { Solid, Dotted };
enum class PenMode { Copy, NotXor };
enum class BrushStyle { Solid, Clear };

struct Pen {
    Color color = 0x000000;
    PenStyle style = PenStyle::Solid;
    PenMode mode = PenMode::Copy;
    bool operator==(const Pen&) const = default;
};

struct Brush {
    Color color = 0xFFFFFF;
    BrushStyle style = BrushStyle::Solid;
    bool operator==(const Brush&) const = default;
};

struct Font {
    std::string name = "Arial";
    int size = 9; // points; one point is 96/72 pixels
    Color color = 0x000000;
    bool operator==(const Font&) const = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// A raster surface in integer pixels, origin top left, y downwards. The state (pen, brush,
// font, pen position) lives here; implementations only draw. Like the platform's canvas,
// lineTo and polyline leave out the last pixel of a stroke.
class Canvas {
  public:
    virtual ~Canvas() = default;

    const Pen& pen() const { return pen_; }
    void setPen(const Pen& pen) { pen_ = pen; }
    const Brush& brush() const { return brush_; }
    void setBrush(const Brush& brush) { brush_ = brush; }
    const Font& font() const { return font_; }
    void setFont(const Font& font) { font_ = font; }
    void setFontSize(int size) { font_.size = size; }
    PixelPoint penPosition() const { return position_; }

    void moveTo(int x, int y) {
        position_ = {x, y};
        penMoved();
    }
    void lineTo(int x, int y) {
        const PixelPoint to{x, y};
        drawLine(position_, to);
        position_ = to;
    }
    // Fills x1 <= x < x2, y1 <= y < y2 with the brush (nothing with a clear brush).
    virtual void fillRect(int x1, int y1, int x2, int y2) = 0;
    // Connected strokes through all points; the pen position is not changed.
    virtual void polyline(std::span<const PixelPoint> points) = 0;
    // Text with its top-left corner at (x, y), background from the brush unless it is clear.
    virtual void textOut(int x, int y, std::string_view text) = 0;
    virtual int textWidth(std::string_view text) const = 0;
    virtual int textHeight(std::string_view text) const = 0;

  protected:
    virtual void drawLine(PixelPoint from, PixelPoint to) = 0;
    // A move-to without drawing: the next line starts a new stroke.
    virtual void penMoved() {}

  private:
    Pen pen_;
    Brush brush_;
    Font font_;
    PixelPoint position_;
};

} // namespace korvex::simulation

#pragma once

#include "simulation/Canvas.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace korvex::simulation {

class RasterCanvas;

// Text is the one thing the raster canvas does not draw itself: the window renders it with
// its own painter on the canvas's pixels, which it wraps without copying. Texts are the
// core's single-byte (Windows-1252) texts.
class RasterTextRenderer {
  public:
    virtual ~RasterTextRenderer() = default;
    // The text's top-left corner at (x, y); with a solid brush the text's box is first filled
    // with the brush colour.
    virtual void drawText(RasterCanvas& canvas, int x, int y, std::string_view text,
                          const Font& font, const Brush& brush) = 0;
    virtual int textWidth(std::string_view text, const Font& font) const = 0;
    virtual int textHeight(std::string_view text, const Font& font) const = 0;
};

// A Canvas on 32-bit pixels 0xffRRGGBB, rows one after another (the memory layout of a
// QImage in Format_RGB32). Lines are drawn as the platform's canvas drew them, which the
// drawing relies on: Bresenham with the last pixel left out, so chained lines in not-xor
// mode invert every joint exactly once, and a dotted pen of three pixels on, three off whose
// gaps take the brush colour unless the brush is clear. Everything is clipped to the buffer.
class RasterCanvas : public Canvas {
  public:
    using Pixel = std::uint32_t;

    // A new buffer is white.
    explicit RasterCanvas(int width = 0, int height = 0);

    // A new, white buffer: pointers from bits() are no longer valid.
    void resize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    Pixel* bits() { return pixels_.data(); }
    const Pixel* bits() const { return pixels_.data(); }
    std::ptrdiff_t bytesPerLine() const {
        return static_cast<std::ptrdiff_t>(width_) * static_cast<std::ptrdiff_t>(sizeof(Pixel));
    }
    // (x, y) must lie inside the buffer.
    Pixel pixel(int x, int y) const { return pixels_[index(x, y)]; }

    // Without a renderer, text draws nothing and measures 0.
    void setTextRenderer(RasterTextRenderer* renderer) { text_ = renderer; }

    static Pixel toPixel(Color color) {
        return 0xFF000000u | ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
    }

    void fillRect(int x1, int y1, int x2, int y2) override;
    // The last point's pixel is left out, as for a line; a polyline whose points all lie on
    // one pixel sets that pixel, so that a segment drawn there and back is never invisible.
    void polyline(std::span<const PixelPoint> points) override;
    void textOut(int x, int y, std::string_view text) override;
    int textWidth(std::string_view text) const override;
    int textHeight(std::string_view text) const override;

  protected:
    void drawLine(PixelPoint from, PixelPoint to) override;

  private:
    // One pen colour and mode as a pixel operation: pixel = (pixel & keep) ^ flip.
    struct PixelOp {
        Pixel keep = 0;
        Pixel flip = 0;
    };
    PixelOp penOp(Color color) const;
    // Draws from..to without the pixel at `to`; the dot pattern starts `dashOffset` pixels in.
    // Returns the dash offset after the line, for the next segment of a polyline.
    long long strokeLine(PixelPoint from, PixelPoint to, long long dashOffset);
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<Pixel> pixels_;
    RasterTextRenderer* text_ = nullptr;
};

} // namespace korvex::simulation

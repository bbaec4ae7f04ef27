#pragma once

#include <cstdint>
#include <memory>

namespace korvex::datamatrix {

// The drawing surface TDatamatrix paints on. The app implements it on QImage, tests record it.
// Colours are 0x00BBGGRR, red in the low byte.
class SymbolCanvas {
  public:
    virtual ~SymbolCanvas() = default;

    virtual void fillRect(int x, int y, int width, int height, std::uint32_t colour) = 0;
    // A scratch picture of width x height pixels, of the same kind as this surface.
    virtual std::unique_ptr<SymbolCanvas> createPicture(int width, int height) = 0;
    // Copies a picture made by createPicture, scaled to fill the given rectangle exactly.
    virtual void drawPicture(const SymbolCanvas& picture, int x, int y, int width, int height) = 0;
};

} // namespace korvex::datamatrix

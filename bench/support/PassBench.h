// What the drawing-pass benchmarks share: the largest symbol's simulation lines and a canvas
// that only counts, the baseline the real canvases are measured against.
#pragma once

#include "datamatrix/TDatamatrix.h"
#include "ncgen/GenerateLayer.h"
#include "simulation/Canvas.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::bench {

// Counts primitives and draws nothing.
class CountingCanvas : public simulation::Canvas {
  public:
    long long primitives = 0;
    void fillRect(int, int, int, int) override { ++primitives; }
    void polyline(std::span<const simulation::PixelPoint>) override { ++primitives; }
    void textOut(int, int, std::string_view) override { ++primitives; }
    int textWidth(std::string_view text) const override {
        return 7 * static_cast<int>(text.size());
    }
    int textHeight(std::string_view) const override { return 15; }

  protected:
    void drawLine(simulation::PixelPoint, simulation::PixelPoint) override { ++primitives; }
};

// 144 x 144 with the default layer (dot spacing 0.5: a 72 mm symbol) and profile.
inline const std::vector<std::string>& LargestSymbolLines() {
    static const std::vector<std::string> lines = [] {
        datamatrix::TDatamatrix symbol;
        symbol.Code = std::string(1000, 'A') + "SN-2026-000123";
        symbol.PreferredFormat = datamatrix::C144X144;
        symbol.paintBarcode(nullptr);
        const datamatrix::TIArray matrix = symbol.Matrix();
        const ncgen::TLayer layer;
        const ncgen::TActiveProfile profile;
        ncgen::TGenerateOutput output;
        ncgen::GenerateLayer({layer,
                              matrix,
                              symbol.MatrixCols(),
                              symbol.MatrixRows(),
                              profile,
                              "2",
                              "-0.1",
                              true,
                              {}},
                             output);
        return output.SimulationLines;
    }();
    return lines;
}

} // namespace korvex::bench

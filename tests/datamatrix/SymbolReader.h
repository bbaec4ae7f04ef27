#pragma once

// Test helper: reads a module grid back with zxing-cpp, the independent decoder.

#include <ZXing/BarcodeFormat.h>
#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/ReadBarcode.h>
#include <ZXing/Result.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvex::testing {

// dark(x, y) for x < cols, y < rows. A quiet zone of two modules is added; each module
// becomes scale x scale pixels. Returns the decoded bytes, nullopt when nothing was read.
inline std::optional<std::string>
ReadDataMatrix(int cols, int rows, const std::function<bool(int, int)>& dark, int scale = 4) {
    const int quiet = 2;
    const int width = (cols + 2 * quiet) * scale;
    const int height = (rows + 2 * quiet) * scale;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height, 255);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x)
            if (dark(x, y))
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx)
                        pixels[static_cast<std::size_t>((y + quiet) * scale + dy) * width +
                               (x + quiet) * scale + dx] = 0;
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    hints.setIsPure(true);
    ZXing::Result result =
        ZXing::ReadBarcode({pixels.data(), width, height, ZXing::ImageFormat::Lum}, hints);
    if (!result.isValid()) {
        hints.setIsPure(false);
        result = ZXing::ReadBarcode({pixels.data(), width, height, ZXing::ImageFormat::Lum}, hints);
    }
    if (!result.isValid()) return std::nullopt;
    const auto& bytes = result.bytes();
    return std::string(bytes.begin(), bytes.end());
}

} // namespace korvex::testing

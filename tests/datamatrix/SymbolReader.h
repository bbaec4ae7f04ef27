#pragma once

// Test helpers: read a module grid back with zxing-cpp and with libdmtx, two independent
// decoders that disagree where an encoder strays from the common path.

#include <ZXing/BarcodeFormat.h>
#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/ReadBarcode.h>
#include <ZXing/Result.h>
#include <dmtx.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvex::testing {

// A grey image of the grid: a quiet zone of two modules, scale x scale pixels per module.
struct GridImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // 0 dark, 255 light, row by row from the top
};

inline GridImage RenderGrid(int cols, int rows, const std::function<bool(int, int)>& dark,
                            int scale) {
    const int quiet = 2;
    GridImage image;
    image.width = (cols + 2 * quiet) * scale;
    image.height = (rows + 2 * quiet) * scale;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 255);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x)
            if (dark(x, y))
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx)
                        image.pixels[static_cast<std::size_t>((y + quiet) * scale + dy) *
                                         image.width +
                                     (x + quiet) * scale + dx] = 0;
    return image;
}

// dark(x, y) for x < cols, y < rows. Returns the bytes zxing-cpp decodes, nullopt when it
// reads nothing.
inline std::optional<std::string>
ReadDataMatrix(int cols, int rows, const std::function<bool(int, int)>& dark, int scale = 4) {
    GridImage image = RenderGrid(cols, rows, dark, scale);
    const int width = image.width;
    const int height = image.height;
    std::vector<std::uint8_t>& pixels = image.pixels;
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

// The same with libdmtx. It reads 144 x 144 only in its own interleave of the blocks, which
// differs from ISO/IEC 16022's; below that size both decoders must agree.
inline std::optional<std::string>
ReadDataMatrixDmtx(int cols, int rows, const std::function<bool(int, int)>& dark, int scale = 4) {
    GridImage image = RenderGrid(cols, rows, dark, scale);
    DmtxImage* img = dmtxImageCreate(image.pixels.data(), image.width, image.height, DmtxPack8bppK);
    if (img == nullptr) return std::nullopt;
    dmtxImageSetProp(img, DmtxPropImageFlip, DmtxFlipNone);
    std::optional<std::string> read;
    if (DmtxDecode* dec = dmtxDecodeCreate(img, 1)) {
        if (DmtxRegion* reg = dmtxRegionFindNext(dec, nullptr)) {
            if (DmtxMessage* msg = dmtxDecodeMatrixRegion(dec, reg, DmtxUndefined)) {
                read = std::string(reinterpret_cast<const char*>(msg->output), msg->outputIdx);
                dmtxMessageDestroy(&msg);
            }
            dmtxRegionDestroy(&reg);
        }
        dmtxDecodeDestroy(&dec);
    }
    dmtxImageDestroy(&img);
    return read;
}

} // namespace korvex::testing

#include "readback/DotPicture.h"

#include <ZXing/BarcodeFormat.h>
#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/ReadBarcode.h>
#include <ZXing/Result.h>

#ifdef KORVEX_HAVE_DMTX
#include <dmtx.h>
#endif

#include <algorithm>
#include <cmath>
#include <random>

namespace korvex::readback {

TDotPicture RenderDots(const TModuleGrid& grid, float centreError, unsigned seed) {
    constexpr int s = DotPixelsPerCell;
    TDotPicture picture;
    picture.Width = (grid.Cols + 2 * DotQuietModules) * s;
    picture.Height = (grid.Rows + 2 * DotQuietModules) * s;
    picture.Pixels.assign(static_cast<std::size_t>(picture.Width) * picture.Height, 255);
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> offset(-centreError, centreError);
    for (int row = 0; row < grid.Rows; ++row)
        for (int col = 0; col < grid.Cols; ++col) {
            if (!grid.At(col, row)) continue;
            const float dx = centreError > 0 ? offset(random) : 0;
            const float dy = centreError > 0 ? offset(random) : 0;
            const float cx = (col + DotQuietModules + 0.5f + dx) * s;
            const float cy = (row + DotQuietModules + 0.5f + dy) * s;
            const float r = grid.FillAt(col, row) * s / 2;
            const int x0 = std::max(0, static_cast<int>(std::floor(cx - r - 1)));
            const int x1 = std::min(picture.Width - 1, static_cast<int>(std::ceil(cx + r + 1)));
            const int y0 = std::max(0, static_cast<int>(std::floor(cy - r - 1)));
            const int y1 = std::min(picture.Height - 1, static_cast<int>(std::ceil(cy + r + 1)));
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x) {
                    // A pixel is as dark as the share of it the disc covers, to about a pixel.
                    const float ex = x + 0.5f - cx;
                    const float ey = y + 0.5f - cy;
                    const float d = std::sqrt(ex * ex + ey * ey);
                    const float cover = std::clamp(r - d + 0.5f, 0.0f, 1.0f);
                    std::uint8_t& pixel =
                        picture.Pixels[static_cast<std::size_t>(y) * picture.Width + x];
                    pixel = std::min(pixel, static_cast<std::uint8_t>(255 - 255 * cover + 0.5f));
                }
        }
    return picture;
}

namespace {

// A square window's minimum (dark grows) or maximum (light grows) of side 2 radius + 1: along
// the rows, then across them row by row, so both passes run over memory in order.
template <bool Darken> void squareFilter(TDotPicture& p, int radius) {
    const auto pick = [](std::uint8_t a, std::uint8_t b) {
        return Darken ? std::min(a, b) : std::max(a, b);
    };
    const std::size_t w = static_cast<std::size_t>(p.Width);
    std::vector<std::uint8_t> source = p.Pixels;
    for (int y = 0; y < p.Height; ++y) {
        const std::uint8_t* in = source.data() + y * w;
        std::uint8_t* out = p.Pixels.data() + y * w;
        for (int k = 1; k <= radius && k < p.Width; ++k)
            for (std::size_t x = 0; x + k < w; ++x) {
                out[x] = pick(out[x], in[x + k]);
                out[x + k] = pick(out[x + k], in[x]);
            }
    }
    source = p.Pixels;
    for (int y = 0; y < p.Height; ++y) {
        std::uint8_t* out = p.Pixels.data() + y * w;
        for (int j = std::max(0, y - radius); j <= std::min(p.Height - 1, y + radius); ++j) {
            const std::uint8_t* in = source.data() + j * w;
            for (std::size_t x = 0; x < w; ++x)
                out[x] = pick(out[x], in[x]);
        }
    }
}

} // namespace

void CloseDots(TDotPicture& picture, int radius) {
    if (radius <= 0) return;
    squareFilter<true>(picture, radius);
    squareFilter<false>(picture, radius);
}

bool HasDecoder(TDotDecoder decoder) {
#ifdef KORVEX_HAVE_DMTX
    (void)decoder;
    return true;
#else
    return decoder == TDotDecoder::ZXing;
#endif
}

bool DecoderReadsSize(TDotDecoder decoder, int cols, int rows) {
    return HasDecoder(decoder) && (decoder == TDotDecoder::ZXing || cols != 144 || rows != 144);
}

namespace {

std::optional<TDotDecode> decodeZXing(const TDotPicture& picture) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    hints.setTryRotate(false);
    const ZXing::Result result = ZXing::ReadBarcode(
        {picture.Pixels.data(), picture.Width, picture.Height, ZXing::ImageFormat::Lum}, hints);
    if (!result.isValid()) return std::nullopt;
    const auto& bytes = result.bytes();
    return TDotDecode{std::string(bytes.begin(), bytes.end()), result.isMirrored()};
}

#ifdef KORVEX_HAVE_DMTX
std::optional<TDotDecode> decodeDmtx(const TDotPicture& picture) {
    std::vector<unsigned char> pixels(picture.Pixels.begin(), picture.Pixels.end());
    DmtxImage* image = dmtxImageCreate(pixels.data(), picture.Width, picture.Height, DmtxPack8bppK);
    if (!image) return std::nullopt;
    std::optional<TDotDecode> decoded;
    if (DmtxDecode* dec = dmtxDecodeCreate(image, 1)) {
        DmtxTime timeout = dmtxTimeAdd(dmtxTimeNow(), 1000);
        if (DmtxRegion* region = dmtxRegionFindNext(dec, &timeout)) {
            if (DmtxMessage* message = dmtxDecodeMatrixRegion(dec, region, DmtxUndefined)) {
                decoded = TDotDecode{
                    std::string(reinterpret_cast<const char*>(message->output), message->outputIdx),
                    false};
                dmtxMessageDestroy(&message);
            }
            dmtxRegionDestroy(&region);
        }
        dmtxDecodeDestroy(&dec);
    }
    dmtxImageDestroy(&image);
    return decoded;
}
#endif

} // namespace

std::optional<TDotDecode> DecodeDots(const TDotPicture& picture, TDotDecoder decoder) {
    if (decoder == TDotDecoder::ZXing) return decodeZXing(picture);
#ifdef KORVEX_HAVE_DMTX
    return decodeDmtx(picture);
#else
    return std::nullopt;
#endif
}

} // namespace korvex::readback

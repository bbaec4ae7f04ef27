#include "support/PhotoRender.h"

#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <fstream>

namespace korvex::phototest {
namespace {

// The rendered photos must carry their truth for a reader that knows nothing of Korvex:
// zxing-cpp after a plain closing of the dots reads the text, mirrored where it should be. Plain
// zxing-cpp does not read round dots turned by odd angles; the verification's tests turn them.
struct TRenderCase {
    const char* Name;
    TPhotoScene Scene;
};

void PrintTo(const TRenderCase& c, std::ostream* os) {
    *os << c.Name;
}

class RenderedPhotoReads : public testing::TestWithParam<TRenderCase> {};

TEST_P(RenderedPhotoReads, ByZXingAfterAClosing) {
    const TRenderedPhoto photo = RenderPhoto(GetParam().Scene);
    if (const char* dump = std::getenv("KORVEX_DUMP_PHOTOS"))
        std::ofstream(std::string(dump) + "/" + GetParam().Name + ".png", std::ios::binary)
            << EncodePhoto(photo, ".png");
    cv::Mat grey(photo.Height, photo.Width, CV_8U, const_cast<std::uint8_t*>(photo.Grey.data()));
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    hints.setTryHarder(true);
    // Lighting divided out, one threshold, then the dots grown until they join.
    cv::Mat ground, binary;
    cv::GaussianBlur(grey, ground, cv::Size(0, 0), 3 * GetParam().Scene.PixelsPerCell);
    cv::divide(grey, ground, binary, 128, CV_8U);
    cv::threshold(binary, binary, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    bool read = false, mirrored = false;
    for (int r = 0; r <= GetParam().Scene.PixelsPerCell / 2 && !read; ++r) {
        cv::Mat closed = binary.clone();
        if (r > 0)
            cv::erode(binary, closed,
                      cv::getStructuringElement(cv::MORPH_ELLIPSE, {2 * r + 1, 2 * r + 1}));
        const ZXing::Result result =
            ZXing::ReadBarcode({closed.data, closed.cols, closed.rows, ZXing::ImageFormat::Lum,
                                static_cast<int>(closed.step)},
                               hints);
        read = result.isValid() && result.text() == photo.Truth.Bytes;
        mirrored = result.isMirrored();
    }
    EXPECT_TRUE(read);
    EXPECT_EQ(mirrored, GetParam().Scene.Mirrored);
}

TPhotoScene scene(double fill, double angle, bool mirrored, double tilt) {
    TPhotoScene s;
    s.Fill = fill;
    s.AngleDegrees = angle;
    s.Mirrored = mirrored;
    s.TiltDegrees = tilt;
    return s;
}

INSTANTIATE_TEST_SUITE_P(Scenes, RenderedPhotoReads,
                         testing::Values(TRenderCase{"Fill80", scene(0.8, 0, false, 0)},
                                         TRenderCase{"Fill60", scene(0.6, 0, false, 0)},
                                         TRenderCase{"Fill100Mirrored", scene(1.0, 0, true, 0)},
                                         TRenderCase{"Fill80TurnedQuarter",
                                                     scene(0.8, 90, false, 0)},
                                         TRenderCase{"Fill80Tilted5", scene(0.8, 0, false, 5)}),
                         [](const auto& c) { return std::string(c.param.Name); });

} // namespace
} // namespace korvex::phototest

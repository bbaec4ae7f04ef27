#pragma once

#include "base/TextMessage.h"
#include "ncgen/Coupon.h"
#include "ncgen/ToolFit.h"

#include <opencv2/core.hpp>

#include <filesystem>
#include <vector>

namespace korvex::verify {

// A round spot of a photo, in pixels.
struct TPhotoSpot {
    double X = 0, Y = 0, Diameter = 0;
};

// The round spots darker than their surroundings (or, with `bright`, lighter), the lighting's
// fall-off taken out first; each diameter from the spot's summed darkness over its own, so it
// does not hang on a threshold or the blur.
std::vector<TPhotoSpot> FindSpots(const cv::Mat& grey, bool bright);

// Every coupon dot's diameter in mm, in the coupon's order, from a photo of the coupon: the row
// and its index dot are found in either polarity, at any angle, mirrored or not; the scale comes
// from the dots' spacing.
struct TCouponPhoto {
    std::vector<long double> Diameters;
    double PixelsPerMm = 0;
    std::vector<TPhotoSpot> Spots; // in the coupon's order, the index dot last
    base::TTextMessage Problem;    // empty when the photo shows this coupon
};

TCouponPhoto MeasureCouponPhoto(const cv::Mat& grey, const ncgen::TCoupon& coupon);

// A photo file of the coupon to the tool of `kind` that cut it; the window and korvex-cli alike.
struct TCouponCalibration {
    TCouponPhoto Photo;
    ncgen::TToolFit Fit;
    base::TTextMessage Problem; // the photo's, the coupon's or the fit's; empty when Fit holds
};

TCouponCalibration CalibrateFromPhoto(const std::filesystem::path& photo,
                                      const ncgen::TCoupon& coupon, ncgen::TToolKind kind,
                                      long double pitch);

} // namespace korvex::verify

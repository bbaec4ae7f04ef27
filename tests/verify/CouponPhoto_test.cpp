#include "base/TextNumbers.h"
#include "ncgen/Coupon.h"
#include "ncgen/ProfileSelection.h"
#include "ncgen/ToolFit.h"
#include "support/CouponPhotoRender.h"
#include "support/PhotoRender.h"
#include "verify/CouponPhoto.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korvex;

namespace {

ncgen::TActiveProfile plainProfile() {
    ncgen::TOutputProfile stored;
    stored.FirstPoint[0] = "G0 X[#XVAL] Y[#YVAL] Z[#RVAL]";
    stored.FirstPoint[1] = "G1 Z[#ZVAL] F[#FVAL]";
    stored.FollowingPoints = stored.FirstPoint;
    stored.End[0] = "M30";
    stored.Stellen = "4";
    stored.Nachkommastellen = "3";
    stored.Dezipunkt = true;
    return ncgen::ActivateProfile(stored);
}

cv::Mat view(const phototest::TRenderedPhoto& photo) {
    return cv::Mat(photo.Height, photo.Width, CV_8U, const_cast<std::uint8_t*>(photo.Grey.data()));
}

// What the real tool cut at the coupon's depths, worked out here from the tool's shape.
phototest::TCouponScene sceneFor(const ncgen::TCoupon& coupon, double (*cut)(double depth)) {
    phototest::TCouponScene scene;
    for (const long double depth : coupon.Depths)
        scene.Diameters.push_back(cut(static_cast<double>(depth)));
    scene.IndexDiameter = cut(static_cast<double>(coupon.IndexDepth));
    scene.Spacing = static_cast<double>(coupon.Spacing);
    return scene;
}

double cone90Tip003(double h) {
    return 0.03 + 2 * h;
}
double ball04(double h) {
    return 2 * std::sqrt(h * (0.8 - h));
}

// The coupon was made for the tool the profile names (a blunter cone, a larger ball); the photo
// shows what the real one cut, and the fit must find the real one, whichever way it lies.
TEST(CouponPhoto, FitsTheRealToolFromAPhotoAtAnyAngleAndPolarity) {
    const struct {
        const char* what;
        ncgen::TTool nominal;
        double (*cut)(double);
        double angle;
        bool mirrored, bright;
    } rows[] = {
        {"cone square on", {ncgen::TToolKind::Cone, 100, 0, 0}, cone90Tip003, 0, false, false},
        {"cone turned", {ncgen::TToolKind::Cone, 100, 0, 0}, cone90Tip003, 143, false, false},
        {"cone mirrored", {ncgen::TToolKind::Cone, 100, 0, 0}, cone90Tip003, 71, true, false},
        {"cone bright dots", {ncgen::TToolKind::Cone, 100, 0, 0}, cone90Tip003, 20, false, true},
        {"ball", {ncgen::TToolKind::Ball, 90, 0, 0.5}, ball04, 200, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const auto coupon = ncgen::MakeCoupon(plainProfile(), row.nominal, 0.5L);
        ASSERT_TRUE(coupon);
        phototest::TCouponScene scene = sceneFor(*coupon, row.cut);
        scene.AngleDegrees = row.angle;
        scene.Mirrored = row.mirrored;
        scene.BrightDots = row.bright;
        const phototest::TRenderedPhoto photo = phototest::RenderCouponPhoto(scene);
        const verify::TCouponPhoto seen = verify::MeasureCouponPhoto(view(photo), *coupon);
        ASSERT_TRUE(seen.Problem.Empty()) << seen.Problem.Text;
        ASSERT_EQ(seen.Diameters.size(), coupon->Depths.size());
        for (std::size_t i = 0; i < seen.Diameters.size(); ++i)
            EXPECT_NEAR(static_cast<double>(seen.Diameters[i]), scene.Diameters[i], 0.005) << i;

        const ncgen::TToolFit fit =
            ncgen::FitTool(row.nominal.Kind, coupon->Depths, seen.Diameters, 0.5L);
        ASSERT_TRUE(fit.Problem.Empty());
        EXPECT_LT(static_cast<double>(fit.Residual), 0.005);
        if (row.nominal.Kind == ncgen::TToolKind::Cone) {
            EXPECT_NEAR(static_cast<double>(fit.Tool.Angle), 90, 3);
            EXPECT_NEAR(static_cast<double>(fit.Tool.Tip), 0.03, 0.01);
            // 80 % of 0.5 mm from a 0.03 mm flat at 45 degrees a side: (0.4 - 0.03) / 2.
            ASSERT_TRUE(fit.IdealDepth);
            EXPECT_NEAR(static_cast<double>(*fit.IdealDepth), 0.185, 0.006);
        } else {
            EXPECT_NEAR(static_cast<double>(fit.Tool.Radius), 0.4, 0.02);
        }
    }
}

TEST(CouponPhoto, RefusesAPhotoThatShowsNoCoupon) {
    const auto coupon = ncgen::MakeCoupon(plainProfile(), {ncgen::TToolKind::Cone, 90, 0, 0}, 0.5L);
    ASSERT_TRUE(coupon);
    phototest::TCouponScene withoutIndex = sceneFor(*coupon, cone90Tip003);
    withoutIndex.IndexDiameter = 0;
    phototest::TCouponScene indexInTheMiddle = sceneFor(*coupon, cone90Tip003);
    indexInTheMiddle.IndexBeside = 3;
    phototest::TCouponScene bare = sceneFor(*coupon, cone90Tip003);
    bare.Diameters.clear();
    bare.IndexDiameter = 0;
    const struct {
        const char* what;
        phototest::TRenderedPhoto photo;
        int problem;
    } rows[] = {
        {"no index dot", phototest::RenderCouponPhoto(withoutIndex), text::CouponPhotoDotCount},
        {"index dot beside the 4th", phototest::RenderCouponPhoto(indexInTheMiddle),
         text::CouponPhotoLayout},
        {"bare metal", phototest::RenderCouponPhoto(bare), text::CouponPhotoDotCount},
        {"a symbol", phototest::RenderPhoto({}), text::CouponPhotoDotCount},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const verify::TCouponPhoto seen = verify::MeasureCouponPhoto(view(row.photo), *coupon);
        EXPECT_EQ(seen.Problem.Text, row.problem);
        EXPECT_TRUE(seen.Diameters.empty());
    }
    // The count says what was seen against what the coupon has.
    const verify::TCouponPhoto missing = verify::MeasureCouponPhoto(view(rows[0].photo), *coupon);
    ASSERT_EQ(missing.Problem.Values.size(), 2u);
    EXPECT_EQ(missing.Problem.Values[0], std::to_string(coupon->Depths.size()));
    EXPECT_EQ(missing.Problem.Values[1], std::to_string(coupon->Depths.size() + 1));
}

} // namespace

#include "simulation/JobView.h"
#include "simulation/ViewCommands.h"

#include <gtest/gtest.h>

#include <array>

namespace korvex::simulation {
namespace {

using Box = std::array<double, 6>; // x1, y1, z1, x2, y2, z2

Box asArray(const WorldBox& b) {
    return {static_cast<double>(b.x1), static_cast<double>(b.y1), static_cast<double>(b.z1),
            static_cast<double>(b.x2), static_cast<double>(b.y2), static_cast<double>(b.z2)};
}

const std::vector<std::string> DOTS = {"ZR;2.000;-0.100", "XY;1.000;2.000", "XY;11.000;-3.000"};

TEST(JobExtents, CoverTheDotsAtBothHeightsAndTheBlankWithATenthOfMargin) {
    const struct {
        const char* what;
        std::vector<std::string> lines;
        std::string blank;
        Box expected;
    } cases[] = {
        // Nothing to show: a box of 2 about the origin, still with its margin.
        {"empty job", {}, "", {-1.2, -1.2, -1.2, 1.2, 1.2, 1.2}},
        {"dots", DOTS, "", {0, -3.5, -0.31, 12, 2.5, 2.21}},
        // A line that does not read ends the pass there, but the extents go on.
        {"unreadable lines",
         {"SF;X;F;8.000;-10.000;10.000", "XY;1,0;2", "XY;4.000;4.000", "XY;6.000;6.000"},
         "",
         {3.8, 3.8, -1.2, 6.2, 6.2, 1.2}},
        {"box blank", {}, "ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10", {-10, -5, -11, 110, 55, 1}},
        {"cylinder along z", {}, "ROHDEF ZYL1 XC0 YC0 RA50 ZP0 ZM-10", {-60, -60, -11, 60, 60, 1}},
        {"cylinder along x", {}, "ROHDEF ZYL2 XM0 YC0 RA25 ZC0 XP50", {-5, -30, -30, 55, 30, 30}},
        {"cylinder along y",
         {},
         "ROHDEF ZYL3 XC0 YM-25 RA12.5 ZC0 YP25",
         {-15, -30, -15, 15, 30, 15}},
        {"dots on a blank",
         DOTS,
         "ROHDEF QUAD XM0 YP1 ZP0 XP10 YM-1 ZM-1",
         {-1.1, -3.5, -1.3, 12.1, 2.5, 2.3}},
    };
    for (const auto& c : cases) {
        const Box box = asArray(JobExtents(c.lines, c.blank));
        for (int i = 0; i < 6; ++i)
            EXPECT_NEAR(box[i], c.expected[i], 1e-9) << c.what << ", bound " << i;
    }
}

TEST(FitJob, EveryCornerOfTheJobLiesOnThePictureAndNoStepLess) {
    const struct {
        const char* what;
        ViewPreset preset;
        WorldBox job;
    } cases[] = {
        {"empty job, top view", ViewPreset::XY, JobExtents({}, "")},
        {"dots, slanted view", ViewPreset::XYZ, JobExtents(DOTS, "")},
        {"cylinder off the origin", ViewPreset::XZ,
         JobExtents({}, "ROHDEF ZYL2 XM200 YC-40 RA25 ZC0 XP350")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TMathImage image(400, 300);
        SetInitialView(image);
        ApplyViewPreset(image, c.preset);
        FitJob(image, c.job);
        const auto onPicture = [&image, &job = c.job] {
            for (int corner = 0; corner < 8; ++corner) {
                const PixelPoint p =
                    image.ProjectPoint(corner & 1 ? job.x2 : job.x1, corner & 2 ? job.y2 : job.y1,
                                       corner & 4 ? job.z2 : job.z1);
                if (p.x < 0 || p.y < 0 || p.x >= image.Width() || p.y >= image.Height())
                    return false;
            }
            return true;
        };
        EXPECT_TRUE(onPicture());
        const long double scale = (image.D3WorldX2() - image.D3WorldX1()) / (c.job.x2 - c.job.x1);
        EXPECT_NEAR(
            static_cast<double>((image.D3WorldY2() - image.D3WorldY1()) / (c.job.y2 - c.job.y1)),
            static_cast<double>(scale), 1e-9);
        EXPECT_NEAR(static_cast<double>(image.D3WorldX1() + image.D3WorldX2()),
                    static_cast<double>(c.job.x1 + c.job.x2), 1e-9);
        ASSERT_GT(scale, 1.1L); // the perspective never shows the whole box
        // One step less of widening leaves a corner off the picture.
        const long double cx = (c.job.x1 + c.job.x2) / 2, cy = (c.job.y1 + c.job.y2) / 2,
                          cz = (c.job.z1 + c.job.z2) / 2, less = scale / 1.2L;
        image.SetWorldBox(cx + (c.job.x1 - cx) * less, cy + (c.job.y1 - cy) * less,
                          cz + (c.job.z1 - cz) * less, cx + (c.job.x2 - cx) * less,
                          cy + (c.job.y2 - cy) * less, cz + (c.job.z2 - cz) * less);
        EXPECT_FALSE(onPicture());
    }
}

} // namespace
} // namespace korvex::simulation

#include "support/PhotoRender.h"
#include "verify/DotCriterion.h"
#include "verify/VerifyPhoto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace korvex;

namespace {

// What the window colours each dot by agrees with the photo's truth: the dots put a quarter
// cell off their place are the off-centre ones, dots of half the cell are too small, and good
// dots pass as the report's AS9132 figures do.
TEST(DotCriterion, ColoursTheDotsThePhotosTruthPutsOutside) {
    const struct {
        const char* what;
        double fill, moved;
        verify::TDotCriterion expected; // of the dots not moved
    } rows[] = {
        {"good dots, 5 % moved", 0.8, 0.05, verify::TDotCriterion::Good},
        {"half-cell dots", 0.5, 0, verify::TDotCriterion::Size},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        phototest::TPhotoScene scene;
        scene.Fill = row.fill;
        scene.MovedShare = row.moved;
        const phototest::TRenderedPhoto photo = phototest::RenderPhoto(scene);
        const verify::TVerifyReport report =
            verify::VerifyPhotoBytes(phototest::EncodePhoto(photo, ".png"));
        ASSERT_TRUE(report.Ok());
        const std::set<std::pair<int, int>> moved(photo.Truth.Moved.begin(),
                                                  photo.Truth.Moved.end());
        std::size_t others = 0, agreeing = 0, movedFound = 0;
        for (const verify::TVerifiedDot& dot : report.Dots) {
            const verify::TDotCriterion c = verify::DotCriterion(dot);
            if (moved.count({dot.Col, dot.Row})) {
                movedFound += c == verify::TDotCriterion::Offset ? 1 : 0;
                continue;
            }
            ++others;
            agreeing += c == row.expected ? 1 : 0;
        }
        EXPECT_EQ(movedFound, moved.size());
        // A dot at the symbol's edge may read a little off; nearly all agree.
        EXPECT_GE(double(agreeing), 0.95 * double(others)) << agreeing << " of " << others;
        if (row.expected == verify::TDotCriterion::Good) EXPECT_EQ(moved.empty(), false);
    }
}

} // namespace

#include "ncgen/MarkingStats.h"

#include <gtest/gtest.h>

using namespace korvex::ncgen;

namespace {

const std::vector<std::string> LINES = {
    "ZR;2.000;-0.500", "XY;3.000;0.000", "XY;0.000;4.000", "XY;0.000;0.000", "G0 X1", "XY;bad;1",
};

TEST(MarkingStats, TravelFromTheDotsAndLevels) {
    const TMarkingStats stats = MarkingStats(LINES, "50");
    EXPECT_EQ(stats.Points, 3u);
    // 5 + 4 between the dots, three retracts of 2.5
    EXPECT_NEAR(static_cast<double>(stats.RapidTravel), 16.5, 1e-9);
    EXPECT_NEAR(static_cast<double>(stats.PlungeTravel), 7.5, 1e-9);
    ASSERT_TRUE(stats.PlungeSeconds);
    EXPECT_NEAR(static_cast<double>(*stats.PlungeSeconds), 9.0, 1e-9); // 7.5 mm at 50 mm/min
    EXPECT_EQ(DescribeStats(stats, "50"),
              "3 points, rapid travel 16.5 mm, plunge travel 7.5 mm, plunge time 9.0 s at feed 50");
}

TEST(MarkingStats, NoPlungeTimeForAFeedThatIsNoPlainNumber) {
    for (const char* feed : {"F50 R F M", "", "0", "-20", "Q1"}) {
        const TMarkingStats stats = MarkingStats(LINES, feed);
        EXPECT_FALSE(stats.PlungeSeconds) << feed;
        EXPECT_NE(DescribeStats(stats, feed).find("is not a plain number"), std::string::npos);
    }
    const TMarkingStats none = MarkingStats({}, "50");
    EXPECT_EQ(none.Points, 0u);
    EXPECT_EQ(none.RapidTravel, 0);
}

} // namespace

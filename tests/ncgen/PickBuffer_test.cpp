#include "ncgen/PickBuffer.h"
#include "ncgen/GenerateLayer.h"
#include "ncgen/NumberReading.h"

#include "TestMatrix.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace korvex::ncgen;

namespace {

struct TPickFixture : ::testing::Test {
    TLayer layer;
    korvex::datamatrix::TIArray matrix = test::symbol123456();
    TActiveProfile profile;
    TPickState pick;
    std::vector<std::string> buffer;

    std::vector<std::string> regenerated(const char* x, const char* y) const {
        TLayer moved = layer;
        moved.XDis = x;
        moved.YDis = y;
        TGenerateOutput output;
        GenerateLayer({moved, matrix, 10, 10, profile, "2", "-0.1", true, {}}, output);
        return output.BufferLines;
    }
};

TEST_F(TPickFixture, ShiftFollowsTheMouseAndEqualsRegenerationAtThePickedOffset) {
    layer.Size = "0.7";
    layer.Angle = "33";
    layer.XMirror = true;
    // A lathe program writes X = -(x + offset): the symbol sits where the mouse is only when the
    // picked X becomes the negated offset.
    struct Row {
        bool lathe;
        const char* offsetAt1;
        const char* offsetAt6;
        const char* offsetAtMinus45;
    };
    for (const Row row :
         {Row{false, "1.000", "6.000", "-4.500"}, Row{true, "-1.000", "-6.000", "4.500"}}) {
        SCOPED_TRACE(row.lathe ? "lathe" : "mill");
        profile.Y = row.lathe ? "Z" : "Y";
        profile.J = row.lathe ? "K" : "J";
        const std::vector<std::string> start = regenerated(row.offsetAt1, "1.000");
        BeginPick(start, row.offsetAt1, "1.000", row.lathe, pick, buffer);
        EXPECT_EQ(buffer, start);
        EXPECT_EQ(pick.PickX, "1.000"); // where the symbol lies, in both modes
        EXPECT_EQ(pick.LetzterY, "1.000");
        pick.PickX = "6.000"; // the mouse moved by (+5, +2)
        pick.PickY = "3.000";
        ShiftToPick(buffer, pick);
        EXPECT_EQ(buffer.front(), start.front()); // the level line stays
        const TPickOffsets offsets = OffsetsForPick(pick, row.lathe);
        EXPECT_EQ(offsets.X, row.offsetAt6);
        EXPECT_EQ(offsets.Y, "3.000");
        EXPECT_EQ(buffer, regenerated(row.offsetAt6, "3"));
        const auto firstPoint = std::find_if(
            buffer.begin(), buffer.end(), [](const auto& line) { return line.starts_with("XY;"); });
        ASSERT_NE(firstPoint, buffer.end());
        const std::string& startPoint =
            start[static_cast<std::size_t>(firstPoint - buffer.begin())];
        const auto x = [](const std::string& line) {
            return ReadNumber(line.substr(3, line.find(';', 3) - 3)).value;
        };
        EXPECT_NEAR(static_cast<double>(x(*firstPoint) - x(startPoint)), 5, 0.001);
        EXPECT_EQ(pick.LetzterX, "6.000");
        // A second move shifts from the last applied position, not from the start.
        pick.PickX = "-4.500";
        ShiftToPick(buffer, pick);
        EXPECT_EQ(buffer, regenerated(row.offsetAtMinus45, "3"));
    }
}

TEST(PickOffset, LatheNegatesTheTextAndLeavesZeroAndNonNumbersAlone) {
    const std::pair<const char*, const char*> rows[] = {
        {"11.656", "-11.656"}, {"-3", "3"},      {"+2.5", "-2.5"}, {"0", "0"},
        {"-0.000", "-0.000"},  {"Q200", "Q200"}, {"", ""}};
    for (const auto& [pick, offset] : rows) {
        EXPECT_EQ(OffsetXForPick(pick, true), offset) << pick;
        EXPECT_EQ(OffsetXForPick(pick, false), pick) << pick;
    }
}

TEST_F(TPickFixture, EmptyOffsetFieldsPickFromTheOrigin) {
    BeginPick(regenerated("0", "0"), "", "", false, pick, buffer);
    pick.PickX = "2.000";
    pick.PickY = "1.000";
    ShiftToPick(buffer, pick);
    EXPECT_EQ(buffer, regenerated("2", "1"));
}

TEST_F(TPickFixture, MalformedPointLinesDoNotCrashTheShift) {
    pick = {"1", "1", "0", "0"};
    buffer = {"ZR;2.000;-0.100", "XY;", "XY", "XY;5", "junk"};
    ShiftToPick(buffer, pick);
    const std::vector<std::string> expected = {"ZR;2.000;-0.100", "XY;1.000;1.000",
                                               "XY;1.000;1.000", "XY;6.000;1.000", "junk"};
    EXPECT_EQ(buffer, expected);
}

} // namespace

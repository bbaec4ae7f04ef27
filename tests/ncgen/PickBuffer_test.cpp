#include "ncgen/PickBuffer.h"

#include "TestMatrix.h"

#include <gtest/gtest.h>

using namespace korvex::ncgen;

namespace {

struct TPickFixture : ::testing::Test {
    TLayer layer;
    korvex::datamatrix::TIArray matrix = test::symbol123456();
    TActiveProfile profile;
    TPickState pick;
    std::vector<std::string> buffer;

    TGenerateInput input() const {
        return {layer, matrix, 10, 10, profile, "2", "-0.1", false, {}};
    }

    std::vector<std::string> regenerated(const char* x, const char* y) const {
        TLayer moved = layer;
        moved.XDis = x;
        moved.YDis = y;
        TGenerateOutput output;
        GenerateLayer({moved, matrix, 10, 10, profile, "2", "-0.1", true, {}}, output);
        return output.BufferLines;
    }
};

TEST_F(TPickFixture, FillingWithoutPickUsesTheLayerOffsetsAndLeavesTheLayerAlone) {
    layer.XDis = "5";
    layer.YDis = "-2";
    layer.Angle = "30";
    ConvertBuffer(input(), pick, buffer);
    EXPECT_EQ(buffer, regenerated("5", "-2"));
    EXPECT_EQ(pick.PickX, "5");
    EXPECT_EQ(pick.LetzterY, "-2");
    EXPECT_EQ(layer.XDis, "5");
}

TEST_F(TPickFixture, ShiftEqualsRegenerationAtTheNewOffsetAndKeepsTheLevelLine) {
    layer.Size = "0.7";
    layer.Angle = "33";
    layer.XMirror = true;
    // In lathe mode X is negated after the offset is added, so the preview must move the
    // other way for it to show what the regeneration writes.
    for (const bool lathe : {false, true}) {
        SCOPED_TRACE(lathe ? "lathe" : "mill");
        profile.Y = lathe ? "Z" : "Y";
        profile.J = lathe ? "K" : "J";
        pick = {"1.000", "1.000", "", ""};
        ConvertBuffer(input(), pick, buffer);
        const std::string levelLine = buffer.front();
        pick.PickX = "6.000"; // the mouse moved by (+5, +2)
        pick.PickY = "3.000";
        ConvertGrafikBuffer(input(), pick, buffer);
        EXPECT_EQ(buffer.front(), levelLine);
        EXPECT_EQ(buffer, regenerated("6", "3"));
        EXPECT_EQ(pick.LetzterX, "6.000");
        // A second move shifts from the last applied position, not from the start.
        pick.PickX = "-4.500";
        ConvertGrafikBuffer(input(), pick, buffer);
        EXPECT_EQ(buffer, regenerated("-4.5", "3"));
    }
}

TEST_F(TPickFixture, ShiftWithoutPickFillsTheBufferInstead) {
    ConvertGrafikBuffer(input(), pick, buffer);
    EXPECT_EQ(buffer, regenerated("0", "0"));
    EXPECT_EQ(pick.LetzterX, "0");
}

TEST_F(TPickFixture, MalformedPointLinesDoNotCrashTheShift) {
    pick = {"1", "1", "0", "0"};
    buffer = {"ZR;2.000;-0.100", "XY;", "XY", "XY;5", "junk"};
    ConvertGrafikBuffer(input(), pick, buffer);
    const std::vector<std::string> expected = {"ZR;2.000;-0.100", "XY;1.000;1.000",
                                               "XY;1.000;1.000", "XY;6.000;1.000", "junk"};
    EXPECT_EQ(buffer, expected);
}

} // namespace

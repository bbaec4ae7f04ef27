#include "simulation/ViewCommands.h"

#include "simulation/JobView.h"

#include <gtest/gtest.h>

#include <array>

namespace korvex::simulation {
namespace {

double d(long double v) {
    return static_cast<double>(v);
}

TEST(ViewCommands, PresetsSetTheirAngles) {
    const struct {
        ViewPreset preset;
        long double y, z;
    } cases[] = {{ViewPreset::XY, 0, -90},
                 {ViewPreset::XZ, 90, -90},
                 {ViewPreset::YZ, 90, 180},
                 {ViewPreset::XYZ, 55, -105}};
    for (const auto& c : cases) {
        TMathImage image(400, 400);
        EXPECT_TRUE(ApplyViewPreset(image, c.preset));
        EXPECT_EQ(image.D3Yrotation(), c.y);
        EXPECT_EQ(image.D3Zrotation(), c.z);
    }
}

TEST(ViewCommands, TopViewAgainChangesNothing) {
    TMathImage image(400, 400);
    SetInitialView(image);
    EXPECT_FALSE(ApplyViewPreset(image, ViewPreset::XY));
    EXPECT_TRUE(ApplyViewPreset(image, ViewPreset::XZ));
    EXPECT_EQ(image.D3Yrotation(), 90);
    EXPECT_TRUE(ApplyViewPreset(image, ViewPreset::XZ)); // only the top view is skipped
}

TEST(ViewCommands, RotationButtonsStepFiveDegreesUnwrapped) {
    const struct {
        RotationButton button;
        long double y, z;
    } cases[] = {{RotationButton::YM_ROT, 5, -90},
                 {RotationButton::YP_ROT, -5, -90},
                 {RotationButton::ZM_ROT, 0, -95},
                 {RotationButton::ZP_ROT, 0, -85}};
    for (const auto& c : cases) {
        TMathImage image(400, 400);
        SetInitialView(image);
        RotateStep(image, c.button);
        EXPECT_EQ(image.D3Yrotation(), c.y);
        EXPECT_EQ(image.D3Zrotation(), c.z);
    }
    TMathImage image(400, 400);
    image.SetD3Zrotation(178);
    RotateStep(image, RotationButton::ZP_ROT);
    EXPECT_EQ(image.D3Zrotation(), 183);
}

TEST(ViewCommands, ZoomOutWidensEachAxisByATenth) {
    TMathImage image(400, 400);
    SetInitialView(image);
    ZoomOutStep(image, false);
    for (const long double bound : {image.D3WorldX1(), image.D3WorldY1(), image.D3WorldZ1()})
        EXPECT_EQ(bound, -96);
    for (const long double bound : {image.D3WorldX2(), image.D3WorldY2(), image.D3WorldZ2()})
        EXPECT_EQ(bound, 96);
}

TEST(ViewCommands, SmallExtentStaysOnButtonAndGrowsByOneOnTheWheel) {
    TMathImage image(400, 400);
    image.SetWorldBox(0, 0, 0, 9, 25, 5);
    ZoomOutStep(image, false);
    EXPECT_EQ(image.D3WorldX1(), 0);
    EXPECT_EQ(image.D3WorldX2(), 9);
    EXPECT_EQ(image.D3WorldY1(), -2);
    EXPECT_EQ(image.D3WorldY2(), 27);
    EXPECT_EQ(image.D3WorldZ2() - image.D3WorldZ1(), 5);
    ZoomOutStep(image, true);
    EXPECT_EQ(image.D3WorldZ1(), -1);
    EXPECT_EQ(image.D3WorldZ2(), 6); // extent 5 becomes 7
    EXPECT_EQ(image.D3WorldX2() - image.D3WorldX1(), 11);
}

TEST(ViewCommands, PageKeysMoveEveryBoundByATenthAndZByAtLeastOne) {
    using Box = std::array<long double, 6>; // x1, y1, z1, x2, y2, z2
    const struct {
        Box from;
        bool out;
        Box to;
    } cases[] = {{{-80, -80, -4, 80, 80, 4}, true, {-96, -96, -5, 96, 96, 5}},
                 {{-80, -80, -4, 80, 80, 4}, false, {-64, -64, -3, 64, 64, 3}},
                 {{0, 0, 0, 9, 25, 5}, true, {0, -2, -1, 9, 27, 6}},
                 {{0, 0, 0, 9, 25, 5}, false, {0, 2, 1, 9, 23, 4}}};
    for (const auto& c : cases) {
        TMathImage image(400, 400);
        image.SetWorldBox(c.from[0], c.from[1], c.from[2], c.from[3], c.from[4], c.from[5]);
        KeyZoomStep(image, c.out);
        const Box box = {image.D3WorldX1(), image.D3WorldY1(), image.D3WorldZ1(),
                         image.D3WorldX2(), image.D3WorldY2(), image.D3WorldZ2()};
        EXPECT_EQ(box, c.to) << (c.out ? "out from " : "in from ") << d(c.from[0]);
    }
}

TEST(ViewCommands, WheelZoomsInAboutThePointUnderTheMouse) {
    TMathImage image(400, 400);
    SetInitialView(image);
    WheelZoomIn(image, 253, 94); // over about (10, 20, 0)
    EXPECT_NEAR(d(image.D3WorldX1()), 10 - 72, 0.1);
    EXPECT_NEAR(d(image.D3WorldX2()), 10 + 72, 0.1);
    EXPECT_NEAR(d(image.D3WorldY1()), 20 - 72, 0.1);
    EXPECT_NEAR(d(image.D3WorldY2()), 20 + 72, 0.1);
    EXPECT_NEAR(d(image.D3WorldZ1()), -72, 1e-9);
    EXPECT_NEAR(d(image.D3WorldZ2()), 72, 1e-9);
    EXPECT_NEAR(d(image.D3WorldX2() - image.D3WorldX1()), 144, 1e-9);
}

TEST(ViewCommands, WheelNeverGrowsAnAxisWhereverTheMouseIs) {
    // The mouse may be anywhere over the main window, so the world point under it can lie
    // beyond an axis's range: the zoom moves that axis rather than widening it.
    const PixelPoint mice[] = {{253, 94}, {2000, 200}, {-1500, 200}, {200, 2000}, {200, -1500}};
    for (const PixelPoint mouse : mice) {
        TMathImage image(400, 400);
        SetInitialView(image);
        WheelZoomIn(image, mouse.x, mouse.y);
        const long double extents[] = {image.D3WorldX2() - image.D3WorldX1(),
                                       image.D3WorldY2() - image.D3WorldY1(),
                                       image.D3WorldZ2() - image.D3WorldZ1()};
        for (const long double extent : extents)
            EXPECT_NEAR(d(extent), 144, 1e-9) << "mouse " << mouse.x << ", " << mouse.y;
    }
}

TEST(ViewCommands, ZoomRectangleHalvesTheBoxAroundTheClick) {
    TMathImage image(400, 400);
    SetInitialView(image);
    ZoomToRectangle(image, 253, 94);
    EXPECT_NEAR(d(image.D3WorldX1()), -30, 0.1);
    EXPECT_NEAR(d(image.D3WorldX2()), 50, 0.1);
    EXPECT_NEAR(d(image.D3WorldY1()), -20, 0.1);
    EXPECT_NEAR(d(image.D3WorldY2()), 60, 0.1);
    EXPECT_EQ(image.D3WorldZ1(), 0);
    EXPECT_EQ(image.D3WorldZ2(), 1);
}

TEST(ViewCommands, DragTurnsOneDegreePerMovedAxis) {
    const struct {
        PixelPoint to;
        long double y, z;
        bool changed;
    } cases[] = {{{99, 49}, 1, 1, true},
                 {{130, 90}, -1, -1, true},
                 {{100, 40}, 1, 0, true},
                 {{90, 50}, 0, 1, true},
                 {{100, 50}, 0, 0, false}};
    for (const auto& c : cases) {
        TMathImage image(400, 400);
        image.SetD3Yrotation(0);
        image.SetD3Zrotation(0);
        EXPECT_EQ(DragRotationStep(image, {100, 50}, c.to), c.changed);
        EXPECT_EQ(image.D3Yrotation(), c.y);
        EXPECT_EQ(image.D3Zrotation(), c.z);
    }
}

TEST(ViewCommands, ReadOutHasThreeDecimals) {
    const struct {
        long double value;
        const char* text;
    } cases[] = {{10, "10.000"},
                 {-72.125L, "-72.125"},
                 {0, "0.000"},
                 {0.0005L, "0.001"},
                 {-0.0004L, "0.000"},
                 {-2.0005L, "-2.001"},
                 {999.9996L, "1000.000"},
                 {5, "5.000"},
                 {1e-20L, "0.000"},
                 {1234.56789L, "1234.568"},
                 {123456789012.3456L, "123456789012.346"}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatReadOut(c.value), c.text) << d(c.value);
}

} // namespace
} // namespace korvex::simulation

#include "CliProcess.h"
#include "support/CouponPhotoRender.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

// The delivered settings in English, made by a first run.
fs::path englishConfig(const TempFolder& dir) {
    const fs::path config = dir / "config";
    EXPECT_EQ(RunCli({"coupon", "--config", config.string(), "--tool", "cone:90"}).exitCode, 0);
    std::string main = readBytes(config / "main.ini");
    if (const auto at = main.find("lang=1"); at != std::string::npos) main.replace(at, 6, "lang=2");
    writeBytes(config / "main.ini", main);
    return config;
}

double valueAfter(const std::string& text, const std::string& key) {
    const auto at = text.find(key);
    if (at == std::string::npos) return NAN;
    double value = NAN;
    std::from_chars(text.data() + at + key.size(), text.data() + text.size(), value);
    return value;
}

// A coupon cut for a nominal 100 degree cone by a real 90 degree one with a 0.03 mm flat: the
// depths as korvex-cli lists them, the diameters worked out here.
TEST(CouponCommand, PhotoOfTheCouponFitsAndSavesTheRealTool) {
    TempFolder dir;
    const fs::path config = englishConfig(dir);
    const auto made =
        RunCli({"coupon", "--config", config.string(), "--tool", "cone:100", "--pitch", "0.5"});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    korvex::phototest::TCouponScene scene;
    for (int dot = 1;; ++dot) {
        const double depth = valueAfter(made.err, "dot " + std::to_string(dot) + ": depth ");
        if (std::isnan(depth)) break;
        scene.Diameters.push_back(0.03 + 2 * depth);
    }
    ASSERT_GE(scene.Diameters.size(), 7u) << made.err;
    scene.IndexDiameter = 0.03 + 2 * valueAfter(made.err, "index dot beside dot 1, at Y+2: depth ");
    scene.AngleDegrees = -62;
    const fs::path photo = dir / "coupon.jpg";
    writeBytes(photo, EncodePhoto(RenderCouponPhoto(scene), ".jpg"));

    const auto fitted = RunCli({"coupon", "--config", config.string(), "--tool", "cone:100",
                                "--pitch", "0.5", "--photo", photo.string(), "--save"});
    ASSERT_EQ(fitted.exitCode, 0) << fitted.err;
    // "(--tool cone:ANGLE:TIP)"
    const std::string option = fitted.out.substr(fitted.out.find("--tool cone:") + 12);
    EXPECT_NEAR(valueAfter(option, ""), 90, 3) << fitted.out;
    EXPECT_NEAR(valueAfter(option, ":"), 0.03, 0.01) << fitted.out;
    EXPECT_NEAR(valueAfter(fitted.out, "80 % of 0.5 mm at depth "), 0.185, 0.006) << fitted.out;
    const std::string profile = readBytes(config / "profil1.ini");
    EXPECT_NEAR(valueAfter(profile, "WzWinkel="), 90, 3) << profile;
    EXPECT_NEAR(valueAfter(profile, "WzSpitze="), 0.03, 0.01) << profile;
}

TEST(CouponCommand, PhotoThatShowsNoCouponIsRefusedAndSavesNothing) {
    TempFolder dir;
    const fs::path config = englishConfig(dir);
    const std::string before = readBytes(config / "profil1.ini");
    korvex::phototest::TCouponScene noIndex;
    noIndex.Diameters = {0.25, 0.3, 0.35, 0.4, 0.45, 0.5, 0.55};
    noIndex.IndexDiameter = 0;
    writeBytes(dir / "row.png", EncodePhoto(RenderCouponPhoto(noIndex), ".png"));
    writeBytes(dir / "text.png", "not a picture");
    const struct {
        std::string photo, message;
    } rows[] = {
        {"row.png", "the photo shows no coupon: 7 dots found, 8 expected"},
        {"text.png", "is no PNG, JPEG, TIFF or BMP picture"},
        {"missing.png", "not found"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.photo);
        const auto refused =
            RunCli({"coupon", "--config", config.string(), "--tool", "cone:90", "--pitch", "0.4",
                    "--photo", (dir / row.photo).string(), "--save"});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.err.find(row.message), std::string::npos) << refused.err;
        EXPECT_TRUE(refused.out.empty()) << refused.out;
    }
    EXPECT_EQ(readBytes(config / "profil1.ini"), before);
}

} // namespace

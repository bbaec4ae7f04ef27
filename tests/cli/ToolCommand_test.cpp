#include "CliProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

const fs::path DELIVERED = KORVEX_DATA_DIR;
const std::string EXAMPLE = (DELIVERED / "examples" / "typenschild.ncm").string();

// A configuration folder made from the delivered one, in English, with profile 1's depth
// changed.
fs::path configAtDepth(const TempFolder& dir, const std::string& depth) {
    const fs::path config = dir / "config";
    EXPECT_EQ(RunCli({"generate", "--config", config.string(), EXAMPLE}).exitCode, 0);
    std::string profile = readBytes(config / "profil1.ini");
    profile.replace(profile.find("ZEbene=-0.1\r"), 11, "ZEbene=" + depth);
    writeBytes(config / "profil1.ini", profile);
    // The checks read korvex-cli's English wording.
    std::string main = readBytes(config / "main.ini");
    if (const auto at = main.find("lang=1"); at != std::string::npos) main.replace(at, 6, "lang=2");
    writeBytes(config / "main.ini", main);
    return config;
}

// The delivered example with a 90 degree spot drill: 0.1 mm deep gives 50 % dots in its
// 0.4 mm cells; the suggested 0.16 mm reads.
TEST(ToolCommand, CheckFailsAtTheDeliveredDepthAndPassesAtTheSuggestedOne) {
    TempFolder dir;
    const fs::path config = configAtDepth(dir, "-0.1");
    const auto delivered =
        RunCli({"generate", "--config", config.string(), "--tool", "cone:90", "--check", EXAMPLE});
    EXPECT_EQ(delivered.exitCode, 3);
    EXPECT_NE(delivered.err.find("read-back: does not read: dots too small: 50 % of the dot"),
              std::string::npos)
        << delivered.err;
    EXPECT_NE(delivered.err.find("80 % at depth 0.160 mm"), std::string::npos) << delivered.err;

    const fs::path deeper = configAtDepth(dir, "-0.16");
    const auto suggested =
        RunCli({"generate", "--config", deeper.string(), "--tool", "cone:90", "--check", EXAMPLE});
    EXPECT_EQ(suggested.exitCode, 0) << suggested.err;
    EXPECT_NE(suggested.err.find("read-back: reads as the text; margin: reads from"),
              std::string::npos)
        << suggested.err;
    // Without a tool nothing about dots is said, as before.
    const auto plain = RunCli({"generate", "--config", config.string(), "--check", EXAMPLE});
    EXPECT_EQ(plain.err, "korvex-cli: read-back: reads as the text\n");
    EXPECT_EQ(
        RunCli({"generate", "--config", config.string(), "--tool", "cone:200", EXAMPLE}).exitCode,
        2);
}

TEST(ToolCommand, CouponListsItsDepthsAndAMeasuredDotCorrectsTheProfile) {
    TempFolder dir;
    const fs::path config = configAtDepth(dir, "-0.1");
    const auto coupon = RunCli({"coupon", "--config", config.string(), "--tool", "cone:90",
                                "--pitch", "0.4", "-o", (dir / "coupon.nc").string()});
    EXPECT_EQ(coupon.exitCode, 0) << coupon.err;
    EXPECT_NE(coupon.err.find("dot 4: depth 0.160 mm, expected diameter 0.320 mm"),
              std::string::npos)
        << coupon.err;
    EXPECT_NE(readBytes(dir / "coupon.nc").find("G1 Z-0.22 F50"), std::string::npos);

    const auto measured = RunCli({"coupon", "--config", config.string(), "--tool", "cone:90",
                                  "--measured", "0.16:0.30", "--save"});
    EXPECT_EQ(measured.exitCode, 0) << measured.err;
    EXPECT_EQ(measured.out, "cone 86.3048\xC2\xB0, tip 0 mm (--tool cone:86.3048:0)\n");
    EXPECT_NE(readBytes(config / "profil1.ini").find("WzTyp=1\r\nWzWinkel=86.3048"),
              std::string::npos);
    // The stored tool is used from then on: the check names the dots without --tool.
    const auto check = RunCli({"generate", "--config", config.string(), "--check", EXAMPLE});
    EXPECT_NE(check.err.find("dots too small"), std::string::npos) << check.err;
}

} // namespace

#include "CliProcess.h"
#include "support/PhotoRender.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using korvex::testing::RunCli;
namespace photo = korvex::phototest;

const std::string EXAMPLE = (fs::path(KORVEX_DATA_DIR) / "examples" / "typenschild.ncm").string();

// A configuration folder in English whose log holds the programs of the texts.
fs::path markedConfig(const TempFolder& dir, const std::vector<std::string>& texts) {
    const fs::path config = dir / "config";
    for (const std::string& text : texts) {
        const auto made = RunCli({"generate", "--config", config.string(), "--text", text, "-o",
                                  (dir / (text + ".nc")).string(), EXAMPLE});
        EXPECT_EQ(made.exitCode, 0) << made.err;
    }
    std::string main = readBytes(config / "main.ini");
    if (const auto at = main.find("lang=1"); at != std::string::npos) main.replace(at, 6, "lang=2");
    writeBytes(config / "main.ini", main);
    return config;
}

fs::path photoOf(const TempFolder& dir, const std::string& text) {
    photo::TPhotoScene scene;
    scene.Text = text;
    scene.AngleDegrees = 23;
    const fs::path file = dir / (text + ".png");
    writeBytes(file, photo::EncodePhoto(photo::RenderPhoto(scene), ".png"));
    return file;
}

// The photo of a marked part names its record; --record keeps it there, the listing shows it
// and --unverified no longer lists the part.
TEST(VerifyRecord, APhotoOfAMarkedPartIsKeptWithItsRecord) {
    if (std::getenv("KORVEX_CLI_COMMAND")) GTEST_SKIP() << "the Windows build has no verification";
    TempFolder dir;
    const fs::path config = markedConfig(dir, {"KORVEX 4711", "KORVEX 4712"});
    const fs::path part = photoOf(dir, "KORVEX 4711");
    const auto looked = RunCli({"verify", "--config", config.string(), part.string()});
    EXPECT_EQ(looked.exitCode, 0) << looked.err;
    EXPECT_NE(looked.out.find("marking log: record 1, serial -,"), std::string::npos) << looked.out;
    const auto before = RunCli({"log", "--config", config.string(), "--unverified"});
    EXPECT_NE(before.out.find("KORVEX 4711"), std::string::npos) << before.out;

    const auto recorded =
        RunCli({"verify", "--config", config.string(), "--record", part.string()});
    EXPECT_EQ(recorded.exitCode, 0) << recorded.err;
    EXPECT_NE(recorded.out.find("verification recorded with record 1 of the marking log"),
              std::string::npos)
        << recorded.out;
    const auto listed = RunCli({"log", "--config", config.string()});
    EXPECT_NE(listed.out.find("verified from photos:\n  1 KORVEX 4711: "), std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find(part.string()), std::string::npos) << listed.out;
    const auto after = RunCli({"log", "--config", config.string(), "--unverified"});
    EXPECT_EQ(after.out.find("KORVEX 4711"), std::string::npos) << after.out;
    EXPECT_NE(after.out.find("KORVEX 4712"), std::string::npos) << after.out;
}

TEST(VerifyRecord, AContentNeverMarkedIsSaidAndNotRecorded) {
    if (std::getenv("KORVEX_CLI_COMMAND")) GTEST_SKIP() << "the Windows build has no verification";
    TempFolder dir;
    const fs::path config = markedConfig(dir, {"KORVEX 4712"});
    const fs::path stranger = photoOf(dir, "KORVEX 4711");
    const auto looked = RunCli({"verify", "--config", config.string(), stranger.string()});
    EXPECT_EQ(looked.exitCode, 0) << looked.err;
    EXPECT_NE(looked.out.find("not in the marking log"), std::string::npos) << looked.out;
    const auto refused =
        RunCli({"verify", "--config", config.string(), "--record", stranger.string()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("--record: nothing recorded"), std::string::npos) << refused.err;
    const auto listed = RunCli({"log", "--config", config.string()});
    EXPECT_EQ(listed.out.find("verified from photos"), std::string::npos) << listed.out;
}

} // namespace

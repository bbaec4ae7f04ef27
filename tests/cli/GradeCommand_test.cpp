#include "CliProcess.h"
#include "support/TempFolder.h"

#include "log/GradeRecord.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <regex>
#include <set>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

const fs::path DELIVERED = KORVEX_DATA_DIR;
const std::string EXAMPLE = (DELIVERED / "examples" / "typenschild.ncm").string();

// The delivered configuration in English with profile 1 at `depth` and its extra lines.
fs::path configAt(const TempFolder& dir, const std::string& name, const std::string& depth,
                  const std::string& extra = {}) {
    const fs::path config = dir / name;
    EXPECT_EQ(RunCli({"generate", "--config", config.string(), EXAMPLE}).exitCode, 0);
    std::string profile = readBytes(config / "profil1.ini");
    profile.replace(profile.find("ZEbene=-0.1\r"), 11, "ZEbene=" + depth + extra);
    writeBytes(config / "profil1.ini", profile);
    std::string main = readBytes(config / "main.ini");
    if (const auto at = main.find("lang=1"); at != std::string::npos) main.replace(at, 6, "lang=2");
    writeBytes(config / "main.ini", main);
    return config;
}

std::set<std::string> keysOf(const std::string& json) {
    std::set<std::string> keys;
    const std::regex key("\"([a-z_0-9]+)\":");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), key);
         it != std::sregex_iterator(); ++it)
        keys.insert((*it)[1]);
    return keys;
}

} // namespace

// The delivered example's 0.4 mm cells with a 90 degree cone: 0.16 mm deep is 80 %, 0.1 mm
// is 50 %, which readers still read but AS9132 does not accept.
TEST(GradeCommand, ReportsTheGradeAndRequireRefusesWhatFallsShort) {
    TempFolder dir;
    struct Row {
        const char* depth;
        bool pass;
        int requireExit;
    };
    const Row rows[] = {{"-0.16", true, 0}, {"-0.1", false, 3}};
    for (const Row& row : rows) {
        const fs::path config = configAt(dir, std::string("c") + row.depth, row.depth);
        const auto json = RunCli({"grade", "--config", config.string(), "--tool", "cone:90",
                                  "--format", "json", EXAMPLE});
        EXPECT_EQ(json.exitCode, 0) << row.depth << json.err;
        EXPECT_EQ(
            keysOf(json.out),
            (std::set<std::string>{"verdict", "as9132", "dot_size_percent", "min", "mean", "max",
                                   "dots_outside_window_percent", "centre_offset_percent_max",
                                   "ovality_percent_max", "angle_of_distortion_degrees",
                                   "quiet_zone_modules", "pass", "iso15415", "axial_nonuniformity",
                                   "grid_nonuniformity", "unused_error_correction",
                                   "fixed_pattern_damage", "overall", "not_predicted"}))
            << json.out;
        const std::string pass = std::string("\"pass\":") + (row.pass ? "true" : "false");
        EXPECT_NE(json.out.find(pass), std::string::npos) << row.depth << json.out;
        // A failing AS9132 is said, not an error.
        EXPECT_EQ(json.err.find("AS9132 fail") != std::string::npos, !row.pass) << json.err;
        const fs::path out = dir / (std::string("p") + row.depth + ".nc");
        const auto required =
            RunCli({"generate", "--config", config.string(), "--tool", "cone:90", "--require",
                    "as9132", "-o", out.string(), "--no-log", EXAMPLE});
        EXPECT_EQ(required.exitCode, row.requireExit) << row.depth << required.err;
        EXPECT_EQ(fs::exists(out), row.requireExit == 0) << row.depth;
    }
}

TEST(GradeCommand, TextGivesTheProfilesDepthToleranceAndNamesWhatIsNotPredicted) {
    TempFolder dir;
    const fs::path config = configAt(dir, "c", "-0.16", "\r\nTiefeToleranz=0.04");
    const auto text = RunCli({"grade", "--config", config.string(), "--tool", "cone:90", EXAMPLE});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    // 0.04 mm of a 90 degree cone is 0.08 mm of diameter: 60 % and 100 % of the cell.
    EXPECT_NE(text.out.find("At 0.040 mm shallower:\n  AS9132 dot size 60.0 / 60.0 / 60.0 %"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("At 0.040 mm deeper:\n  AS9132 dot size 100.0 / 100.0 / 100.0 %"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("Not predicted (measured on the part): symbol and cell contrast"),
              std::string::npos);
    EXPECT_EQ(RunCli({"grade", "--config", config.string(), "--format", "xml", EXAMPLE}).exitCode,
              2);
    EXPECT_EQ(RunCli({"generate", "--config", config.string(), "--require", "E", EXAMPLE}).exitCode,
              2);
    // Without a tool there is nothing to grade.
    EXPECT_EQ(RunCli({"grade", "--config", config.string(), EXAMPLE}).exitCode, 1);
}

// The marking log keeps the grade beside the read-back of every program korvex-cli writes.
TEST(GradeCommand, TheMarkingLogRecordsThePredictedGrade) {
    TempFolder dir;
    const fs::path config = configAt(dir, "c", "-0.1");
    const fs::path out = dir / "p.nc";
    ASSERT_EQ(RunCli({"generate", "--config", config.string(), "--tool", "cone:90", "-o",
                      out.string(), EXAMPLE})
                  .exitCode,
              0);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((config / "korvex.sqlite").c_str(), &db), SQLITE_OK);
    EXPECT_EQ(korvex::log::StoredGrade(db, 1), "A, AS9132 fails, reads narrowly, dots 50 %");
    sqlite3_close(db);
}

// 0.24 mm of a 90 degree cone is a 120 % dot: over AS9132's window, which is said, but both
// readers read it, so neither a single program nor a run stops on it as unreadable; 50 % dots
// still fail the check.
TEST(GradeCommand, DotsThatMergeButReadAreNoFailedCheck) {
    TempFolder dir;
    const struct {
        const char* depth;
        int exit;
        const char* said;
    } rows[] = {
        {"-0.24", 0, "read-back: reads as the text: dots merge: 120 % of the dot spacing"},
        {"-0.1", 3, "read-back: does not read: dots too small: 50 % of the dot spacing"},
    };
    for (const auto& row : rows) {
        const fs::path config = configAt(dir, std::string("c") + row.depth, row.depth);
        const auto single = RunCli(
            {"generate", "--config", config.string(), "--tool", "cone:90", "--check", EXAMPLE});
        EXPECT_EQ(single.exitCode, row.exit) << row.depth << single.err;
        EXPECT_NE(single.err.find(row.said), std::string::npos) << single.err;
        EXPECT_NE(single.err.find("warning: dots "), std::string::npos) << single.err;
        const fs::path out = dir / (std::string("run") + row.depth);
        const auto run = RunCli({"generate", "--config", config.string(), "--tool", "cone:90",
                                 "--check", "--no-log", "--serial", "1:2", "--text", "X{n}", "-o",
                                 (out / "{n}.nc").string(), EXAMPLE});
        EXPECT_EQ(run.exitCode, row.exit) << row.depth << run.err;
        EXPECT_EQ(fs::exists(out / "2.nc"), row.exit == 0) << row.depth << run.err;
    }
}

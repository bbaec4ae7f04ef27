// Date codes in a serial run's text and file name, taken from the clock as the run plans.

#include "cli/CliProcess.h"
#include "ncgen/DateCodes.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

TEST(SerialDateCodes, TextAndFileNameCarryTheSameDateOfTheRun) {
    TempFolder temp;
    const std::string job = (fs::path(KORVEX_TEST_DATA_DIR) / "cli" / "serial.ncm").string();
    const std::string before =
        korvex::ncgen::ExpandDateCodes("{date:YYMMDD}", korvex::ncgen::LocalNow(), {});
    const auto r = RunCli({"generate", "--config", korvex::testing::EnglishConfig(), "--no-log",
                           "--serial", "7:2", "--text", "D{date:YYMMDD}-{n:03}", "-o",
                           (temp / "{line}{date:YYYY}.nc").string(), job});
    const std::string after =
        korvex::ncgen::ExpandDateCodes("{date:YYMMDD}", korvex::ncgen::LocalNow(), {});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Across midnight either day is right, never a placeholder.
    const bool today = r.err.find("] D" + before + "-007 -> ") != std::string::npos ||
                       r.err.find("] D" + after + "-007 -> ") != std::string::npos;
    EXPECT_TRUE(today) << r.err;
    EXPECT_EQ(r.err.find("{date"), std::string::npos) << r.err;
    // The file name takes the text's date and the year of the same moment.
    const auto named = [&temp](const std::string& day) {
        return fs::exists(temp / ("D" + day + "-008" + "20" + day.substr(0, 2) + ".nc"));
    };
    EXPECT_TRUE(named(before) || named(after)) << r.err;
}

} // namespace

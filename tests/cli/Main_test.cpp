#include "CliProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using korvex::testing::RunCli;

TEST(CliMain, UnknownOrMissingCommandPrintsUsageAndExitsTwo) {
    const std::vector<std::vector<std::string>> rows = {{}, {"frobnicate"}, {"ENCODE", "x"}};
    for (const auto& args : rows) {
        const auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("usage: korvex-cli"), std::string::npos);
    }
}

TEST(CliMain, HelpGoesToStandardOutput) {
    const auto r = RunCli({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("korvex-cli generate"), std::string::npos);
    EXPECT_TRUE(r.err.empty());
}

TEST(CliMain, VersionAndEveryCommandsHelpGoToStandardOutput) {
    const auto version = RunCli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "korvex-cli " KORVEX_VERSION "\n");
    for (const char* command : {"encode", "generate", "view", "coupon"}) {
        const auto r = RunCli({command, "--help"});
        EXPECT_EQ(r.exitCode, 0) << command << r.err;
        EXPECT_EQ(r.out.rfind(std::string("usage: korvex-cli ") + command, 0), 0u) << r.out;
        EXPECT_NE(r.out.find("Exit status"), std::string::npos) << command;
        EXPECT_TRUE(r.err.empty()) << command;
    }
}

// The manual must not fall behind the options the program takes.
TEST(CliMain, ManualPageNamesEveryOption) {
    std::ifstream in(std::string(KORVEX_SOURCE_DIR) + "/man/korvex-cli.1");
    const std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(page.empty());
    for (const auto& command : {"encode", "generate", "view", "coupon", "log"}) {
        const std::string help = RunCli({command, "--help"}).out;
        for (auto at = help.find("--"); at != std::string::npos; at = help.find("--", at + 2)) {
            const auto end = help.find_first_of(" ]|,\n", at);
            const std::string option = help.substr(at + 2, end - at - 2);
            if (option == "help") continue;
            EXPECT_NE(page.find("\\-\\-" + option), std::string::npos)
                << command << " --" << option;
        }
    }
}

#include "CliProcess.h"

#include <gtest/gtest.h>

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

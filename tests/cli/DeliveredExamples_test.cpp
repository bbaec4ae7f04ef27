#include "CliProcess.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

// The example jobs users get beside the program must work with every delivered profile.
TEST(DeliveredExamples, GenerateWithEveryProfileAndDrawWithoutComplaint) {
    const fs::path data = KORVEX_DATA_DIR;
    int jobs = 0;
    for (const auto& entry : fs::directory_iterator(data / "examples")) {
        if (entry.path().extension() != ".ncm") continue;
        ++jobs;
        const std::string job = entry.path().string();
        for (const char* profile : {"1", "2", "3", "4"}) {
            const auto r =
                RunCli({"generate", "--config", data.string(), "--profile", profile, job});
            EXPECT_EQ(r.exitCode, 0) << job << " profile " << profile << ": " << r.err;
            EXPECT_TRUE(r.err.empty()) << job << " profile " << profile << ": " << r.err;
            EXPECT_GT(r.out.size(), 100u) << job << " profile " << profile;
        }
        const auto view = RunCli({"view", "--config", data.string(), job});
        EXPECT_EQ(view.exitCode, 0) << job << ": " << view.err;
        EXPECT_NE(view.out.find("</svg>"), std::string::npos) << job;
    }
    EXPECT_GE(jobs, 1);
}

} // namespace

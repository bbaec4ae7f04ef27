#include "CliProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

// The example jobs for flat marking must work with every delivered profile.
TEST(DeliveredExamples, GenerateWithEveryProfileAndDrawWithoutComplaint) {
    const fs::path data = KORVEX_DATA_DIR;
    const std::string english = korvex::testing::EnglishConfig(); // the warning's wording
    int jobs = 0;
    for (const auto& entry : fs::directory_iterator(data / "examples")) {
        if (entry.path().extension() != ".ncm") continue;
        // A job for a turned part goes with its rotary profile; the delivered-profiles test
        // runs it against every profile.
        if (readBytes(entry.path()).find("SURFACE ROTARY") != std::string::npos) continue;
        ++jobs;
        const std::string job = entry.path().string();
        for (const char* profile : {"1", "2", "3", "4"}) {
            const auto r = RunCli({"generate", "--config", english, "--profile", profile, job});
            EXPECT_EQ(r.exitCode, 0) << job << " profile " << profile << ": " << r.err;
            // The lathe example marks a flat on a shaft: a milling profile rightly warns that
            // its blank is curved, the lathe profile itself must not.
            const bool latheJobOnMill =
                entry.path().filename() == "welle.ncm" && std::string_view(profile) != "3";
            if (latheJobOnMill)
                EXPECT_EQ(
                    r.err.rfind("korvex-cli: warning: the symbol lies on a curved surface", 0), 0u)
                    << job << " profile " << profile << ": " << r.err;
            else
                EXPECT_TRUE(r.err.empty()) << job << " profile " << profile << ": " << r.err;
            // The same bytes on every system the program is built for.
            const fs::path golden = fs::path(KORVEX_TEST_DATA_DIR) / "cli" / "examples" /
                                    (entry.path().stem().string() + "_profil" + profile + ".nc");
            EXPECT_EQ(r.out, readBytes(golden)) << job << " profile " << profile;
            EXPECT_GT(r.out.size(), 100u) << job << " profile " << profile;
        }
        const auto view = RunCli({"view", "--config", data.string(), job});
        EXPECT_EQ(view.exitCode, 0) << job << ": " << view.err;
        EXPECT_NE(view.out.find("</svg>"), std::string::npos) << job;
    }
    EXPECT_GE(jobs, 1);
}

} // namespace

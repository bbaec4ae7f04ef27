#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A delivered job is a template like those the program writes: every line ends with CR LF,
// the last one included, so a job saved again from it differs only where the user changed it.
TEST(DeliveredTemplates, EveryLineEndsWithCrLf) {
    int jobs = 0;
    for (const auto& entry :
         fs::directory_iterator(fs::path(KORVEX_SOURCE_DIR) / "data" / "examples")) {
        if (entry.path().extension() != ".ncm") continue;
        ++jobs;
        const std::string bytes = readBytes(entry.path());
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(bytes.ends_with("\r\n")) << name;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const bool lonelyCr =
                bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n');
            const bool lonelyLf = bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r');
            EXPECT_FALSE(lonelyCr || lonelyLf) << name << " at byte " << i;
            if (lonelyCr || lonelyLf) break;
        }
    }
    EXPECT_GE(jobs, 1);
}

} // namespace

// The symbol advice for shafts as korvex-cli prints it: on request from encode, and after the
// too-wide note of a generated shaft job.

#include "cli/CliProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

const std::string Serial = "KX-2026-SN-000012345";

TEST(EncodeAdvise, PrintsTheAdviceInsteadOfTheSymbolAndRefusesBadNumbers) {
    struct Row {
        const char* diameter;
        const char* spacing;
        int exitCode;
        const char* out;
    };
    const Row rows[] = {
        {"12", "0.3", 0,
         "Dot spacing 0.240 mm with C8X48: 1.920 mm across, within 16 % of the diameter 12.000 mm "
         "(no less than 0.190 mm)\n"},
        {"40", "0.2", 0,
         "Symbol C18X18: 3.600 mm across the axis, within 16 % of the diameter "
         "40.000 mm\n"},
        {"12", "0,3", 2, ""},
        {"-12", "0.3", 2, ""},
    };
    for (const Row& row : rows) {
        const auto r =
            RunCli({"encode", "--advise", row.diameter, "--spacing", row.spacing, Serial});
        EXPECT_EQ(r.exitCode, row.exitCode) << row.diameter << " " << row.spacing << r.err;
        EXPECT_EQ(r.out, row.out) << row.diameter << " " << row.spacing;
    }
}

TEST(EncodeAdvise, ShaftJobNamesWhatFitsAfterTheTooWideNote) {
    const fs::path folder = fs::path(::testing::TempDir()) / "korvex-encode-advise";
    fs::create_directories(folder);
    const fs::path job = folder / "welle20.ncm";
    std::ofstream(job, std::ios::binary)
        << "LAYER Ebene 1\r\nSHOW\r\nSIZE 0.3\r\nDMFORM 0\r\nDMENC 0\r\nANGLE 0\r\nXDIS 0\r\n"
           "YDIS -2\r\nDATA\r\n/"
        << Serial << "\r\nBLANK ROHDEF ZYL2 XM-5 YC0 RA10 ZC-10 XP20\r\n";
    const auto r = RunCli({"generate", "--config", KORVEX_DATA_DIR, "--no-log", "-o",
                           (folder / "welle20.nc").string(), job.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto wide = r.err.find("20.000 mm: ");
    const auto advice = r.err.find("C8X48");
    ASSERT_NE(wide, std::string::npos) << r.err;
    ASSERT_NE(advice, std::string::npos) << r.err;
    EXPECT_LT(wide, advice) << r.err;
    EXPECT_NE(r.err.find("2.400 mm"), std::string::npos) << r.err;
}

} // namespace

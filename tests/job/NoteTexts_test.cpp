#include "cli/CliProcess.h"

#include "job/NoteTexts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;
using namespace korvex;

namespace {

const fs::path DELIVERED = KORVEX_DATA_DIR;

config::TLanguageTexts english() {
    config::TLanguageTexts texts;
    texts.Load(DELIVERED / "english.txt");
    return texts;
}

// Two dots at 0.1 mm (50 % of 0.4 mm) and one at 0.16 mm from a 90 degree cone; 19.3 s of
// cycle at the default rapid rate.
TEST(NoteTexts, DotFiguresAndCycleTimeAreWordedFromTheLanguageFile) {
    const ncgen::TTool cone{ncgen::TToolKind::Cone, 90, 0, 0};
    const auto dots = ncgen::DotFigures({"ZR;2.000;-0.100", "XY;0.000;0.000", "XY;0.400;0.000",
                                         "ZR;2.000;-0.160", "XY;0.800;0.000"},
                                        cone, 0.4L);
    ASSERT_TRUE(dots);
    const config::TLanguageTexts texts = english();
    EXPECT_EQ(job::DotFiguresWords(*dots, texts),
              "dot 0.200 mm = 50 % of the dot spacing, 80 % at depth 0.160 mm (-0.040/+0.050 mm)");
    EXPECT_EQ(job::DotWarningWords(*dots, texts),
              "dots under 60 % of the dot spacing: 2 - dots too small");
    ncgen::TMarkingStats stats;
    stats.Points = 10;
    stats.RapidTravel = 500;
    stats.PlungeSeconds = 12.5;
    const auto cycle = ncgen::CycleTime(stats, ncgen::RapidRateOf("no rate"), 40);
    ASSERT_TRUE(cycle);
    EXPECT_EQ(job::CycleTimeWords(*cycle, texts),
              "cycle time about 19.3 s (rapid 5000 mm/min, 0.02 s per block, no acceleration)");
}

// korvex-cli once printed the cycle time, the dots and the read-back margin in English
// whatever the settings' language.
TEST(NoteTexts, CliPrintsTheDotNotesInTheSettingsLanguage) {
    struct Row {
        std::string config;
        std::vector<std::string> lines; // each a whole line of standard error
    };
    const Row rows[] = {
        {DELIVERED.string(),
         {"korvex-cli: Zykluszeit ca. 363.6 s (Eilgang 5000 mm/min, 0.02 s je Satz, ohne "
          "Beschleunigung)",
          "korvex-cli: Punkt 0.200 mm = 50 % des Punktabstands, 80 % bei Tiefe 0.160 mm "
          "(-0.040/+0.050 mm)",
          "korvex-cli: Warnung: Punkte unter 60 % des Punktabstands: 139 \u2013 Punkte zu klein",
          "korvex-cli: R\u00fccklesen: liest sich nicht: Punkte zu klein: 50 % des "
          "Punktabstands, ein Leseger\u00e4t braucht 60\u2013105 %; Reserve: lesbar ab 45 % des "
          "Punktabstands, mit 10 % Mittenversatz nicht lesbar, libdmtx: lesbar"}},
        {korvex::testing::EnglishConfig(),
         {"korvex-cli: cycle time about 363.6 s (rapid 5000 mm/min, 0.02 s per block, no "
          "acceleration)",
          "korvex-cli: dot 0.200 mm = 50 % of the dot spacing, 80 % at depth 0.160 mm "
          "(-0.040/+0.050 mm)",
          "korvex-cli: warning: dots under 60 % of the dot spacing: 139 - dots too small",
          "korvex-cli: read-back: does not read: dots too small: 50 % of the dot spacing, a "
          "reader needs 60-105 %; margin: reads from 45 % of the dot spacing, does not read "
          "with 10 % centre error, libdmtx: reads"}},
    };
    const std::string example = (DELIVERED / "examples" / "typenschild.ncm").string();
    for (const Row& row : rows) {
        const auto run = korvex::testing::RunCli({"generate", "--config", row.config, "--tool",
                                                  "cone:90", "--stats", "--check", example});
        EXPECT_EQ(run.exitCode, 3) << run.err;
        std::vector<std::string> printed;
        std::istringstream err(run.err);
        for (std::string line; std::getline(err, line);)
            printed.push_back(line);
        // After the points and travels, in this order.
        ASSERT_EQ(printed.size(), row.lines.size() + 1) << run.err;
        for (std::size_t i = 0; i < row.lines.size(); ++i)
            EXPECT_EQ(printed[i + 1], row.lines[i]);
    }
}

} // namespace

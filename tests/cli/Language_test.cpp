#include "CliProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

const fs::path JOBS = fs::path(KORVEX_TEST_DATA_DIR) / "cli";
const fs::path DELIVERED = KORVEX_DATA_DIR;

// korvex-cli once printed German from the language file beside English of its own.
TEST(CliLanguage, EveryMessageFollowsTheSettingsLanguage) {
    TempFolder temp;
    writeBytes(temp / "klein.ncm",
               "LAYER L\r\nDMFORM 1\r\nDATA\r\n/" + std::string(20, '7') + "ABC\r\n");
    writeBytes(temp / "bad.ncm", "LAYER L\r\nSIZE x\r\nDATA\r\n/A\r\n");
    struct Row {
        std::string config;
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    };
    const std::string serial = (JOBS / "serial.ncm").string();
    const std::string out = (temp / "{n}.nc").string();
    const std::string english = korvex::testing::EnglishConfig();
    const std::string german = DELIVERED.string();
    const Row rows[] = {
        {german,
         {(temp / "klein.ncm").string()},
         0,
         "korvex-cli: Warnung: der Text passt nicht in C10X10; das Symbol ist C18X18\n"},
        {english,
         {(temp / "klein.ncm").string()},
         0,
         "korvex-cli: warning: the text does not fit C10X10; the symbol is C18X18\n"},
        {german, {(temp / "bad.ncm").string()}, 1, "Ung\u00fcltige Eingabe: Punktabstand\n"},
        {english, {(temp / "bad.ncm").string()}, 1, "Invalid input: Dot spacing\n"},
        {german,
         {"--profile", "Fr\u00e4se", serial},
         2,
         "korvex-cli generate: kein Profil hei\u00dft Fr\u00e4se\n"},
        {english,
         {"--profile", "Fr\u00e4se", serial},
         2,
         "korvex-cli generate: no profile is named Fr\u00e4se\n"},
        {german,
         {"--no-log", "--tool", "cone:200", serial},
         2,
         "korvex-cli: der Kegelwinkel muss 1 bis 179 Grad betragen\n"},
        {english,
         {"--no-log", "--tool", "ball:0", serial},
         2,
         "korvex-cli: the ball radius must be more than 0 mm\n"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args = {"generate", "--config", row.config};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.err;
        EXPECT_EQ(r.err, row.err);
    }
    const auto run = RunCli({"generate", "--config", german, "--no-log", "--serial", "1:2",
                             "--text", "A{n}", "-o", out, serial});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.err.ends_with("korvex-cli: 2 Programme geschrieben\n")) << run.err;
}

// Messages of the content kinds and of korvex-cli's own checks, in the settings' language.
TEST(CliLanguage, RefusalsOfContentAndOutputFollowTheSettingsLanguage) {
    TempFolder temp;
    std::string tooLong = "(01)09506000134352";
    for (int k = 0; k < 25; ++k)
        tooLong += "(91)" + std::string(90, 'B');
    writeBytes(temp / "gs2.ncm", "LAYER L\r\nCONTENT GS2\r\nDATA\r\n/(01)09506000134352\r\n");
    const std::string serial = (JOBS / "serial.ncm").string();
    const std::string gs2 = (temp / "gs2.ncm").string();
    struct Row {
        std::string config;
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    };
    const std::string english = korvex::testing::EnglishConfig();
    const std::string german = DELIVERED.string();
    const Row rows[] = {
        {english,
         {"--content", "gs1", "--text", tooLong, serial},
         1,
         "The content is too long for the largest symbol, 144 \u00d7 144\n"},
        {german,
         {"--content", "gs1", "--text", tooLong, serial},
         1,
         "Der Inhalt ist zu lang f\u00fcr das gr\u00f6\u00dfte Symbol, 144 \u00d7 144\n"},
        {english,
         {gs2},
         1,
         "Line 2 names an unknown content kind: CONTENT GS2 (known: GS1, ISO15434-05, "
         "ISO15434-06, ISO15434-12): " +
             gs2 + "\n"},
        {english,
         {"--text", "A\u2009B", serial},
         2,
         "korvex-cli: --text: the character 'U+2009' has no Windows-1252 code\n"},
        {english, {"-o", "/dev/null", serial}, 0, ""},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args = {"generate", "--config", row.config, "--no-log"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.err;
        EXPECT_EQ(r.err, row.err);
    }
}

} // namespace

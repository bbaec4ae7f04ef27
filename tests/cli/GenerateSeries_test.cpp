#include "CliProcess.h"
#include "support/TempFolder.h"

#include "base/TextLines.h"
#include "job/Job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

const fs::path DELIVERED = KORVEX_DATA_DIR;
const fs::path JOBS = fs::path(KORVEX_TEST_DATA_DIR) / "cli";
// The summaries these tests read are worded in the settings' language.
const fs::path ENGLISH = korvex::testing::EnglishConfig();
const std::string SERIAL_JOB = (JOBS / "serial.ncm").string();

// The shared folders' programs stay out of a marking log.
std::vector<std::string> generate(std::vector<std::string> args, const fs::path& config = ENGLISH) {
    args.insert(args.begin(), {"generate", "--config", config.string()});
    if (config == DELIVERED || config == ENGLISH) args.insert(args.begin() + 3, "--no-log");
    return args;
}

// The program a single korvex-cli generate writes for the text.
std::string single(const std::string& text, const std::string& job = SERIAL_JOB) {
    const auto r = RunCli(generate({"--text", text, job}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
}

std::vector<std::string> names(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(GenerateSeries, SerialRunWritesWhatSingleRunsWrite) {
    TempFolder temp;
    const auto r = RunCli(generate({"--serial", "998:3:2", "--text", "SN-{n:06}", "-o",
                                    (temp / "out" / "SN-{n}.nc").string(), SERIAL_JOB}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(names(temp / "out"),
              (std::vector<std::string>{"SN-1000.nc", "SN-1002.nc", "SN-998.nc"}));
    for (const char* n : {"998", "1000", "1002"}) {
        const std::string text =
            std::string("SN-") + (std::string(n).size() == 3 ? "000" : "00") + n;
        EXPECT_EQ(readBytes(temp / "out" / (std::string("SN-") + n + ".nc")), single(text)) << n;
        EXPECT_NE(r.err.find("] " + text + " -> "), std::string::npos) << r.err;
    }
    EXPECT_NE(r.err.find("[3/3] SN-001002"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("korvex-cli: 3 programs written\n"), std::string::npos) << r.err;
}

// A shift's worth of plates in one run: every file complete and the program of its own number.
TEST(GenerateSeries, AHundredProgramsAreEachWrittenWhole) {
    TempFolder temp;
    const auto r = RunCli(generate({"--serial", "1:100", "--text", "SN-{n:04}", "-o",
                                    (temp / "SN-{n:04}.nc").string(), SERIAL_JOB}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(names(temp.path()).size(), 100U);
    for (int n = 1; n <= 100; ++n) {
        const std::string text = "SN-" + std::to_string(10000 + n).substr(1);
        // The reference is this build's pipeline in this process, whatever program ran above.
        korvex::job::TJobOptions options;
        options.Text = text;
        korvex::job::TOpenJob opened;
        ASSERT_TRUE(korvex::job::OpenJob(korvex::job::OpenSession(DELIVERED, DELIVERED), SERIAL_JOB,
                                         options, opened)
                        .Ok());
        korvex::job::TProgram expected;
        ASSERT_TRUE(korvex::job::Generate(opened, options, expected).Ok());
        EXPECT_EQ(readBytes(temp / (text + ".nc")),
                  korvex::base::JoinLines(expected.Generated.NCLines))
            << text;
    }
    EXPECT_NE(r.err.find("korvex-cli: 100 programs written\n"), std::string::npos) << r.err;
}

TEST(GenerateSeries, ListFilesInEitherCodePageGiveTheSamePrograms) {
    TempFolder temp;
    writeBytes(temp / "utf8.txt", "\xEF\xBB\xBFLos 7\r\n\r\nPr\xC3\xBC"
                                  "fung\r\n");
    writeBytes(temp / "ansi.txt", "Los 7\n\nPr\xFC"
                                  "fung\n");
    for (const char* list : {"utf8.txt", "ansi.txt"}) {
        const fs::path out = temp / (std::string(list) + ".out");
        const auto r = RunCli(generate({"--texts", (temp / list).string(), "-o",
                                        (out / "{i:02}-{line}.nc").string(), SERIAL_JOB}));
        ASSERT_EQ(r.exitCode, 0) << list << r.err;
        EXPECT_EQ(names(out), (std::vector<std::string>{"01-Los 7.nc", "03-Pr\xC3\xBC"
                                                                       "fung.nc"}));
        EXPECT_EQ(readBytes(out / "01-Los 7.nc"), single("Los 7")) << list;
        EXPECT_EQ(readBytes(out / "03-Pr\xC3\xBC"
                                  "fung.nc"),
                  single("Pr\xC3\xBC"
                         "fung"))
            << list;
    }
}

TEST(GenerateSeries, AFolderInTheWayStopsTheRunAndLeavesEarlierFilesWhole) {
    TempFolder temp;
    // Tests run as root, who writes through read-only files; a folder stops everybody.
    fs::create_directories(temp / "SN-3.nc");
    const auto r = RunCli(generate(
        {"--serial", "1:5", "--text", "SN-{n}", "-o", (temp / "SN-{n}.nc").string(), SERIAL_JOB}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("stopped at program 3 of 5; 2 programs written"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("kann nicht erstellt werden"), std::string::npos) << r.err;
    EXPECT_EQ(names(temp.path()), (std::vector<std::string>{"SN-1.nc", "SN-2.nc", "SN-3.nc"}));
    EXPECT_EQ(readBytes(temp / "SN-1.nc"), single("SN-1"));
    EXPECT_EQ(readBytes(temp / "SN-2.nc"), single("SN-2"));
}

TEST(GenerateSeries, RunsThatCannotWorkAreRefusedBeforeWriting) {
    TempFolder temp;
    const std::string out = (temp / "SN-{n}.nc").string();
    const std::vector<std::vector<std::string>> rows = {
        {"--serial", "1:5", "-o", out, SERIAL_JOB},
        {"--serial", "1:5", "--text", "SN-{n}", SERIAL_JOB},
        {"--serial", "1:0", "--text", "SN-{n}", "-o", out, SERIAL_JOB},
        {"--serial", "1:5", "--texts", "x.txt", "--text", "A", "-o", out, SERIAL_JOB},
        {"--texts", "x.txt", "--text", "A", "-o", out, SERIAL_JOB},
        // Every program would go to one file.
        {"--serial", "1:5", "--text", "SN-{n}", "-o", (temp / "SN.nc").string(), SERIAL_JOB},
        {"--serial", "1:2", "--text", "SN-{n}", "-o", SERIAL_JOB, SERIAL_JOB},
    };
    for (const auto& row : rows) {
        const auto r = RunCli(generate(row));
        EXPECT_EQ(r.exitCode, 2) << row[1] << ": " << r.err;
        EXPECT_TRUE(names(temp.path()).empty()) << r.err;
    }
}

TEST(GenerateSeries, CheckAndStatsReportEveryProgram) {
    TempFolder temp;
    const auto r = RunCli(generate({"--serial", "1:2", "--text", "A{n}", "-o",
                                    (temp / "{n}.nc").string(), "--check", "--stats", SERIAL_JOB}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(count(r.err, "; reads as the text\n"), 2u) << r.err;
    EXPECT_EQ(count(r.err, " points, rapid travel "), 2u) << r.err;
}

TEST(GenerateSeries, EveryContentKindRunsAndReadsBackAsItsKind) {
    TempFolder temp;
    struct Row {
        const char* kind;
        const char* pattern;
    };
    const Row rows[] = {
        {"gs1", "(01)09506000134352(21){n:06}"},
        {"iso15434-06", "17V0CVA5\n1P1234-5\nS{n:06}"},
    };
    for (const Row& row : rows) {
        const auto r =
            RunCli(generate({"--serial", "7:2", "--content", row.kind, "--text", row.pattern, "-o",
                             (temp / row.kind / "{n}.nc").string(), "--check", SERIAL_JOB}));
        EXPECT_EQ(r.exitCode, 0) << row.kind << ": " << r.err;
        EXPECT_EQ(count(r.err, "; reads as the text\n"), 2u) << r.err;
    }
    // A pattern whose programs the kind refuses stops before the first file, in the settings'
    // language (German as delivered).
    const auto bad = RunCli(
        generate({"--serial", "1:2", "--content", "gs1", "--text", "(01)09506000134353(21){n}",
                  "-o", (temp / "bad" / "{n}.nc").string(), SERIAL_JOB},
                 DELIVERED));
    EXPECT_EQ(bad.exitCode, 1) << bad.err;
    EXPECT_NE(bad.err.find("Falsche Pr\xC3\xBC"
                           "fziffer im GS1-Element: (01)09506000134353"),
              std::string::npos)
        << bad.err;
    EXPECT_FALSE(fs::exists(temp / "bad" / "1.nc"));
}

// A copy of the delivered settings whose first profile's first-point template lacks the
// point itself (only the set-up lines and the plunge).
fs::path configDroppingFirstPoint(const TempFolder& temp) {
    const fs::path config = temp / "config";
    fs::create_directories(config);
    for (const auto& entry : fs::directory_iterator(ENGLISH))
        if (entry.path().extension() == ".ini")
            fs::copy_file(entry.path(), config / entry.path().filename());
    std::string profile = readBytes(config / "profil1.ini");
    const std::string line = "SynS9=G0 X[#XVAL] Y[#YVAL]";
    const auto at = profile.find(line);
    EXPECT_NE(at, std::string::npos);
    profile.replace(at, line.size(), "SynS9=");
    writeBytes(config / "profil1.ini", profile);
    return config;
}

TEST(GenerateCheck, SaysHowTheProgramReadsAndFailsWithThreeWhenItDoesNot) {
    TempFolder temp;
    writeBytes(temp / "mirrored.ncm",
               "LAYER Ebene 1\r\nSHOW\r\nSIZE 0.5\r\nDMFORM 0\r\nDMENC 0\r\nANGLE 33\r\n"
               "XDIS 10\r\nYDIS 5\r\nXMIRROR\r\nDATA\r\n/12345678\r\n");
    struct Row {
        std::vector<std::string> args;
        fs::path config;
        int exitCode;
        const char* said;
    };
    const Row rows[] = {
        {{SERIAL_JOB}, ENGLISH, 0, "read-back: reads as the text\n"},
        {{"--profile", "3", SERIAL_JOB}, ENGLISH, 0, "read-back: reads as the text\n"},
        {{(temp / "mirrored.ncm").string()},
         ENGLISH,
         0,
         "read-back: reads as the text only mirrored (as one mirror asks)\n"},
        {{SERIAL_JOB},
         configDroppingFirstPoint(temp),
         3,
         "read-back: does not read: the first point is not marked"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args = row.args;
        args.insert(args.begin(), {"--check", "-o", (temp / "out.nc").string()});
        const auto r = RunCli(generate(args, row.config));
        EXPECT_EQ(r.exitCode, row.exitCode) << r.err;
        EXPECT_NE(r.err.find(row.said), std::string::npos) << r.err;
        EXPECT_GT(readBytes(temp / "out.nc").size(), 100u); // written either way
        fs::remove(temp / "out.nc");
    }
}

TEST(GenerateCheck, ASerialRunStopsAfterTheFirstUnreadableProgram) {
    TempFolder temp;
    const auto r = RunCli(generate({"--serial", "1:3", "--text", "SN-{n}", "-o",
                                    (temp / "out" / "{n}.nc").string(), "--check", SERIAL_JOB},
                                   configDroppingFirstPoint(temp)));
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_NE(r.err.find("stopped at program 1 of 3"), std::string::npos) << r.err;
    EXPECT_EQ(names(temp / "out"), std::vector<std::string>{"1.nc"});
}

TEST(GenerateCheck, BlankThatTheSymbolDoesNotFitIsAWarningOnly) {
    TempFolder temp;
    // The 12 x 12 symbol of serial.ncm covers (9.25, 4.25) to (16.25, 11.25) with its quiet zone.
    std::string job = readBytes(SERIAL_JOB);
    const auto at = job.find("BLANK ");
    ASSERT_NE(at, std::string::npos);
    const std::string outside = "BLANK ROHDEF QUAD XM0 YP10.5 ZP0 XP30 YM0 ZM-5";
    job.replace(at, job.find('\n', at) - at, outside);
    writeBytes(temp / "small.ncm", job);
    const auto generated = RunCli(generate({(temp / "small.ncm").string()}));
    EXPECT_EQ(generated.exitCode, 0);
    EXPECT_EQ(generated.out, single("12345678"));
    const std::string warning =
        "korvex-cli: warning: the symbol with its quiet zone reaches 0.750 mm past the blank's "
        "top face\n";
    EXPECT_EQ(generated.err, warning);
    const auto view = RunCli({"view", "--config", ENGLISH.string(), (temp / "small.ncm").string()});
    EXPECT_EQ(view.exitCode, 0);
    EXPECT_EQ(view.err, warning);
}

// serial.ncm's symbol lies at x 10 to 15.5, y 5 to 10.5; the profiles rapid at 2 and mark at -0.1.
TEST(GenerateCheck, BlankAboveTheMarkingIsRefusedBelowItAWarningWithTheNumbers) {
    struct Row {
        const char* blank;
        const char* profile;
        const char* warning;
        int exitCode = 0;
    };
    const Row rows[] = {
        // The tool would wait inside the blank and plunge 10.1 mm into it: nothing is written.
        {"ROHDEF QUAD XM0 YP50 ZP10 XP100 YM0 ZM-5", "1",
         "Line 10: the safe plane lies inside the blank", 1},
        // A lathe writes X negated: the symbol lies at x -15.5 to -10 in its X/Z plane.
        {"ROHDEF QUAD XM-20 YP50 ZP-3 XP0 YM0 ZM-10", "3",
         "the marking depth -0.100 mm lies 2.900 mm above the blank's surface there, -3.000 mm: "
         "marking in the air"},
    };
    for (const Row& row : rows) {
        TempFolder temp;
        std::string job = readBytes(SERIAL_JOB);
        const auto at = job.find("BLANK ");
        ASSERT_NE(at, std::string::npos);
        job.replace(at, job.find('\n', at) - at, std::string("BLANK ") + row.blank + "\r");
        writeBytes(temp / "high.ncm", job);
        const std::string expected =
            (row.exitCode == 0 ? std::string("korvex-cli: warning: ") : std::string()) +
            row.warning + "\n";
        const auto generated =
            RunCli(generate({"--profile", row.profile, (temp / "high.ncm").string()}));
        EXPECT_EQ(generated.exitCode, row.exitCode) << row.blank;
        EXPECT_EQ(generated.err, expected);
        const auto view = RunCli({"view", "--config", ENGLISH.string(), "--profile", row.profile,
                                  (temp / "high.ncm").string()});
        EXPECT_EQ(view.exitCode, row.exitCode) << row.blank;
        EXPECT_EQ(view.err, expected);
    }
}

// A text that ends with Enter (an empty last line) encodes a CR LF nobody sees; the symbol
// stays as it is, the user is told.
TEST(GenerateCheck, TextEndingWithALineBreakIsAWarning) {
    TempFolder temp;
    std::string job = readBytes(SERIAL_JOB);
    const auto at = job.find("/12345678\r\n");
    ASSERT_NE(at, std::string::npos);
    job.insert(at + 11, "/\r\n");
    writeBytes(temp / "enter.ncm", job);
    const auto r = RunCli(generate({(temp / "enter.ncm").string()}));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "korvex-cli: warning: the text ends with a line break, which the symbol "
                     "encodes as CR LF\n");
    EXPECT_TRUE(r.out != single("12345678")) << "the CR LF is still encoded";
    EXPECT_EQ(RunCli(generate({SERIAL_JOB})).err, "");
}

TEST(GenerateCheck, SymbolSizeThatNamesNoSizeSaysWhatBecameOfIt) {
    TempFolder temp;
    std::string job = readBytes(SERIAL_JOB);
    const auto at = job.find("DMFORM 0");
    ASSERT_NE(at, std::string::npos);
    job.replace(at, 8, "DMFORM 49");
    writeBytes(temp / "form49.ncm", job);
    const auto r = RunCli(generate({(temp / "form49.ncm").string()}));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("1 DMFORM or DMENC values named no symbol size (0-48) or encodation "
                         "(0-5) and became 0 (automatic size, ASCII)"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.out, single("12345678"));
}

TEST(GenerateCheck, HelpNamesEveryOption) {
    const auto r = RunCli({"generate", "--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* option : {"--config", "--profile", "--text", "-o", "--check", "--stats",
                               "--serial", "--texts", "{n:06}", "{line}", "Exit status"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

} // namespace

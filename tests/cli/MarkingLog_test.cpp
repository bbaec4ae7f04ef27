#include "CliProcess.h"
#include "support/TempFolder.h"

#include "log/LogExport.h"
#include "log/Sha256.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <map>
#include <random>
#include <set>
#include <thread>

namespace fs = std::filesystem;
using korvex::testing::RunCli;
using korvex::testing::StartCli;
using korvex::testing::WaitCli;

namespace {

const std::string JOB = (fs::path(KORVEX_TEST_DATA_DIR) / "cli" / "serial.ncm").string();

// A configuration folder of its own, so each test starts with an empty log.
struct TConfig {
    TempFolder temp;
    fs::path folder = temp / "config";
    TConfig() {
        fs::create_directory(folder);
        for (const char* name :
             {"main.ini", "profil1.ini", "profil2.ini", "profil3.ini", "profil4.ini"})
            fs::copy_file(fs::path(KORVEX_DATA_DIR) / name, folder / name);
    }
    std::vector<std::string> generate(std::vector<std::string> args) const {
        args.insert(args.begin(), {"generate", "--config", folder.string()});
        args.push_back(JOB);
        return args;
    }
    std::vector<std::string> log(std::vector<std::string> args) const {
        args.insert(args.begin(), {"log", "--config", folder.string()});
        return args;
    }
    // The records as `log --format csv` gives them, header first.
    std::vector<std::vector<std::string>> rows() const {
        const auto r = RunCli(log({"--format", "csv"}));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return korvex::log::ReadCsv(r.out);
    }
};

constexpr std::size_t TEXT = 5, KIND = 6, HUMAN = 7, OUTPUT = 12, SHA = 13, SERIAL = 16;

TEST(MarkingLogCli, LoggedContentIsRefusedUnlessAllowed) {
    TConfig c;
    const std::string a = (c.temp / "a.nc").string(), b = (c.temp / "b.nc").string();
    ASSERT_EQ(RunCli(c.generate({"--text", "SN-7", "-o", a})).exitCode, 0);
    const auto again = RunCli(c.generate({"--text", "SN-7", "-o", b}));
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("SN-7 wurde am "), std::string::npos) << again.err;
    EXPECT_NE(again.err.find("bereits markiert (Datei " + a + ")"), std::string::npos) << again.err;
    EXPECT_FALSE(fs::exists(b));
    EXPECT_EQ(RunCli(c.generate({"--text", "SN-7", "-o", b, "--allow-duplicate"})).exitCode, 0);
    const std::string d = (c.temp / "d.nc").string();
    EXPECT_EQ(RunCli(c.generate({"--text", "SN-7", "-o", d, "--no-log"})).exitCode, 0);
    const auto rows = c.rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][OUTPUT], a);
    EXPECT_EQ(rows[2][OUTPUT], b);
    EXPECT_EQ(rows[1][SHA], korvex::log::Sha256Hex(readBytes(a)));

    // A run checks its whole range before it writes anything.
    const auto run = RunCli(c.generate(
        {"--serial", "5:5", "--text", "SN-{n}", "-o", (c.temp / "run" / "{n}.nc").string()}));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Programm 3 der Serie: SN-7 wurde am"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(c.temp / "run"));
}

TEST(MarkingLogCli, RecordsTheContentKindAndItsHumanReadableLine) {
    TConfig c;
    const std::string gs1 = "(01)09506000134352(21)7";
    ASSERT_EQ(
        RunCli(c.generate({"--content", "gs1", "--text", gs1, "-o", (c.temp / "g.nc").string()}))
            .exitCode,
        0);
    ASSERT_EQ(RunCli(c.generate({"--content", "gs1", "--serial", "8:2", "--text",
                                 "(01)09506000134352(21){n}", "-o", (c.temp / "{n}.nc").string()}))
                  .exitCode,
              0);
    const auto rows = c.rows();
    ASSERT_EQ(rows.size(), 4u);
    for (std::size_t r = 1; r < rows.size(); ++r)
        EXPECT_EQ(rows[r][KIND], "GS1") << r;
    EXPECT_EQ(rows[1][HUMAN], gs1);
    EXPECT_EQ(rows[3][HUMAN], "(01)09506000134352(21)9");
}

TEST(MarkingLogCli, SettingsSwitchTheLogOff) {
    TConfig c;
    writeBytes(c.folder / "main.ini",
               readBytes(c.folder / "main.ini") + "[log]\r\nMarkierprotokoll=0\r\n");
    for (const char* name : {"a.nc", "b.nc"})
        EXPECT_EQ(RunCli(c.generate({"--text", "SN-7", "-o", (c.temp / name).string()})).exitCode,
                  0);
    EXPECT_FALSE(fs::exists(c.folder / "korvex.sqlite"));
    EXPECT_EQ(RunCli(c.generate({"--serial", "next:2", "--text", "{n}", "-o",
                                 (c.temp / "{n}.nc").string()}))
                  .exitCode,
              2);
}

// A counter once ran backwards (serial 3 to three parts) and overflowed into negative serials.
TEST(MarkingLogCli, CounterNeverMovesBackNorPastTheLargestNumber) {
    TConfig c;
    const std::string out = (c.temp / "{n}.nc").string();
    const auto run = [&](const std::string& range) {
        return RunCli(c.generate({"--serial", range, "--text", "D-{n}", "-o", out}));
    };
    const auto first = run("next:2");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_NE(first.err.find("korvex-cli: Nummern 1 bis 2 vom Z\u00e4hler "), std::string::npos)
        << first.err;
    struct Row {
        std::string range;
        int exitCode;
        std::string says;
    } const rows[] = {
        {"next:2:-1", 2, "Ein Z\u00e4hler z\u00e4hlt nie zur\u00fcck"},
        {"next:1:9223372036854775807", 1,
         "Der Z\u00e4hler k\u00e4me \u00fcber 9223372036854775807"},
        {"next:2:4611686018427387904", 2, "Der Z\u00e4hler k\u00e4me \u00fcber"},
    };
    for (const Row& row : rows) {
        const auto refused = run(row.range);
        EXPECT_EQ(refused.exitCode, row.exitCode) << row.range << ": " << refused.err;
        EXPECT_NE(refused.err.find(row.says), std::string::npos) << refused.err;
    }
    // Nothing was taken: the next run goes on at 3.
    const auto next = run("next:1");
    ASSERT_EQ(next.exitCode, 0) << next.err;
    EXPECT_TRUE(fs::exists(c.temp / "3.nc"));
    EXPECT_EQ(c.rows().size(), 4u);
}

TEST(MarkingLogCli, UnusableLogStopsTheProgram) {
    TConfig c;
    writeBytes(c.folder / "korvex.sqlite", "garbage, not a database\n");
    const std::string out = (c.temp / "a.nc").string();
    const auto r = RunCli(c.generate({"--text", "SN-1", "-o", out}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Die Datei ist kein Markierprotokoll; es wurde nichts geschrieben"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(out));
}

TEST(MarkingLogCli, ListFiltersAndVerifyTellsWhatTheLogHolds) {
    TConfig c;
    ASSERT_EQ(RunCli(c.generate({"--serial", "next:3", "--text", "SN-{n:03}", "-o",
                                 (c.temp / "SN-{n}.nc").string()}))
                  .exitCode,
              0);
    ASSERT_EQ(RunCli(c.generate({"--text", "Welle, \"groß\"", "-o", (c.temp / "w.nc").string()}))
                  .exitCode,
              0);
    const auto rows = c.rows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0][0], "id");
    EXPECT_EQ(rows[4][TEXT], "Welle, \"groß\"");
    EXPECT_EQ(rows[3][SERIAL], "3");

    struct TFilter {
        std::vector<std::string> Args;
        std::size_t Records;
    };
    const TFilter filters[] = {
        {{"--text", "SN-00"}, 3},       {{"--text", "SN-00?"}, 3},      {{"--text", "groß"}, 1},
        {{"--since", "2000-01-01"}, 4}, {{"--until", "2000-01-01"}, 0},
    };
    for (const auto& f : filters) {
        auto args = f.Args;
        args.insert(args.end(), {"--format", "csv"});
        const auto r = RunCli(c.log(args));
        EXPECT_EQ(korvex::log::ReadCsv(r.out).size(), f.Records + 1) << f.Args[1];
    }
    const auto json = RunCli(c.log({"--format", "json", "--text", "SN-002"}));
    EXPECT_NE(json.out.find("\"text\": \"SN-002\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"serial\": 2}"), std::string::npos) << json.out;
    EXPECT_EQ(RunCli(c.log({"--since", "9.12.2026"})).exitCode, 2);

    writeBytes(c.temp / "SN-2.nc", readBytes(c.temp / "SN-2.nc") + "M30\r\n");
    writeBytes(c.temp / "other.nc", "G0 X0\r\n");
    struct TVerify {
        const char* File;
        int Exit;
        const char* Says;
    };
    const TVerify verifies[] = {
        {"SN-1.nc", 0, ": as logged in record 1"},
        {"SN-2.nc", 1, ": changed since record 2"},
        {"other.nc", 1, ": not in the marking log"},
    };
    for (const auto& v : verifies) {
        const auto r = RunCli(c.log({"--verify", (c.temp / v.File).string()}));
        EXPECT_EQ(r.exitCode, v.Exit) << v.File;
        EXPECT_NE(r.out.find(v.Says), std::string::npos) << r.out;
    }
}

// Two writers at once, as two windows or a script beside an operator: every program logged,
// no number twice, nobody told the log is locked.
TEST(MarkingLogCli, TwoProcessesAtOnceShareTheCounter) {
    TConfig c;
    std::vector<korvex::testing::TStartedCli> started;
    for (const char* name : {"a", "b"})
        started.push_back(StartCli(c.generate({"--serial", "next:1000", "--text", "SN-{n:06}", "-o",
                                               (c.temp / name / "SN-{n}.nc").string()})));
    for (const auto& s : started) {
        const auto r = WaitCli(s);
        EXPECT_EQ(r.exitCode, 0) << r.err.substr(r.err.size() > 2000 ? r.err.size() - 2000 : 0);
        EXPECT_EQ(r.err.find("locked"), std::string::npos);
    }
    const auto rows = c.rows();
    ASSERT_EQ(rows.size(), 2001u);
    std::set<std::string> serials;
    for (std::size_t i = 1; i < rows.size(); ++i)
        serials.insert(rows[i][SERIAL]);
    EXPECT_EQ(serials.size(), 2000u);
}

// kill -9 at seeded moments of long runs: afterwards every logged file is there with the
// logged bytes, every program file is logged, no temporary file is left, and the next start
// says that a run was cut short.
TEST(MarkingLogCli, KilledRunsLeaveOnlyLoggedCompleteFiles) {
    TConfig c;
    const fs::path out = c.temp / "out";
    std::mt19937 moments(22);
    // Counted from the first program written, so each kill lands among the writes.
    std::uniform_int_distribution<int> milliseconds(0, 150);
    std::size_t warned = 0;
    for (int kill = 0; kill < 20; ++kill) {
        const auto s = StartCli(c.generate(
            {"--serial", "next:10000", "--text", "SN-{n:06}", "-o", (out / "SN-{n}.nc").string()}));
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (readBytes(s.errName).find(" -> ") == std::string::npos &&
               std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds(moments)));
        ::kill(s.pid, SIGKILL);
        const auto r = WaitCli(s);
        EXPECT_EQ(r.exitCode, 128 + SIGKILL) << r.err;
        if (kill > 0 && r.err.find("Eine Serie wurde unterbrochen") != std::string::npos) ++warned;
    }
    EXPECT_GT(warned, 0u);
    std::map<std::string, std::string> logged; // file -> sha256
    std::set<std::string> serials;
    const auto rows = c.rows();
    for (std::size_t i = 1; i < rows.size(); ++i) {
        logged[rows[i][OUTPUT]] = rows[i][SHA];
        EXPECT_TRUE(serials.insert(rows[i][SERIAL]).second) << rows[i][SERIAL];
    }
    EXPECT_GT(logged.size(), 20u);
    for (const auto& [file, sha] : logged)
        EXPECT_EQ(korvex::log::Sha256Hex(readBytes(file)), sha) << file;
    for (const auto& entry : fs::directory_iterator(out))
        EXPECT_TRUE(logged.contains(entry.path().string())) << entry.path();
}

} // namespace

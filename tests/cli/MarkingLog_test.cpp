#include "CliProcess.h"
#include "support/TempFolder.h"

#include "log/LogExport.h"
#include "log/Sha256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
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
    // SQLite's English reason comes with our own words and the way to go on without the log.
    struct TCase {
        const char* Name;
        std::function<void(const fs::path&)> Spoil;
        std::vector<std::string> Reasons; // one of them, as SQLite names the failure
    };
    const TCase cases[] = {
        {"garbage",
         [](const fs::path& f) { writeBytes(f, "garbage, not a database\n"); },
         {": die Datei ist beschädigt ("}},
        {"folder",
         [](const fs::path& f) { fs::create_directory(f); },
         {": Lese- oder Schreibfehler des Datenträgers (",
          ": die Datei lässt sich nicht öffnen oder anlegen ("}},
    };
    for (const auto& k : cases) {
        TConfig d;
        k.Spoil(d.folder / "korvex.sqlite");
        for (const auto& args :
             {d.generate({"--text", "SN-1", "-o", (d.temp / "a.nc").string()}), d.log({})}) {
            const auto e = RunCli(args);
            EXPECT_EQ(e.exitCode, 1) << k.Name;
            EXPECT_TRUE(
                std::any_of(k.Reasons.begin(), k.Reasons.end(),
                            [&](const auto& r) { return e.err.find(r) != std::string::npos; }))
                << k.Name << e.err;
            EXPECT_NE(e.err.find("). Ohne Protokoll schreiben: in den Einstellungen "
                                 "„Markierprotokoll führen“ ausschalten (Markierprotokoll=0 in "
                                 "main.ini) oder korvex-cli mit --no-log\n"),
                      std::string::npos)
                << k.Name << e.err;
        }
    }
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
    struct TDate {
        const char* Date;
        int Exit;
    };
    const TDate dates[] = {{"9.12.2026", 2},        {"2026-13-45", 2}, {"2026-02-29", 2},
                           {"2026-04-31", 2},       {"2026-00-10", 2}, {"2026-12-10T24", 2},
                           {"2026-12-10T23:60", 2}, {"2024-02-29", 0}, {"2026-12-31T23:59:59", 0},
                           {"2000-02-29 12:00", 0}};
    for (const auto& d : dates)
        EXPECT_EQ(RunCli(c.log({"--since", d.Date})).exitCode, d.Exit) << d.Date;

    // The user's language, not the words the log keeps them in.
    EXPECT_EQ(rows[4][KIND], "Text");
    const auto table = RunCli(c.log({}));
    EXPECT_EQ(table.out.find("TEXT"), std::string::npos) << table.out;

    writeBytes(c.temp / "SN-3.nc", readBytes(c.temp / "SN-1.nc"));
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
        // Another part's logged program in this part's place is no longer what was logged here.
        {"SN-3.nc", 1, ": changed since record 3"},
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

// The log on, as main.ini delivers it: the program is byte for byte the golden one on every
// system (the Windows build runs this under Wine), and the log lists and verifies it.
TEST(MarkingLogCli, ProgramWrittenWithTheLogIsTheGoldenOneAndListed) {
    TConfig c;
    const fs::path out = c.temp / "out.nc";
    const auto r = RunCli(c.generate({"-o", out.string()}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string bytes = readBytes(out);
    EXPECT_EQ(bytes, readBytes(fs::path(KORVEX_TEST_DATA_DIR) / "cli" / "serial_profil1.nc"));
    const auto rows = c.rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[1][OUTPUT].ends_with("out.nc")) << rows[1][OUTPUT];
    EXPECT_EQ(rows[1][SHA], korvex::log::Sha256Hex(bytes));
    const auto table = RunCli(c.log({}));
    EXPECT_EQ(table.exitCode, 0) << table.err;
    EXPECT_NE(table.out.find("out.nc"), std::string::npos) << table.out;
    const auto verified = RunCli(c.log({"--verify", out.string()}));
    EXPECT_EQ(verified.exitCode, 0) << verified.out << verified.err;
    EXPECT_NE(verified.out.find(": as logged in record 1"), std::string::npos) << verified.out;
}

// Whoever settles a run cut short says so, and the runs can be listed with what they left.
TEST(MarkingLogCli, ListingSettlesAKilledRunAloudAndRunsShowTheUnusedNumbers) {
    TConfig c;
    const fs::path out = c.temp / "out";
    const auto s = StartCli(c.generate(
        {"--serial", "next:10000", "--text", "SN-{n:06}", "-o", (out / "SN-{n}.nc").string()}));
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (readBytes(s.errName).find(" -> ") == std::string::npos &&
           std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ::kill(s.pid, SIGKILL);
    WaitCli(s);
    const auto listed = RunCli(c.log({}));
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_NE(listed.err.find("warning: Eine Serie wurde unterbrochen"), std::string::npos)
        << listed.err;
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(out))
        ++files;
    const auto runs = RunCli(c.log({"--runs"}));
    EXPECT_EQ(runs.exitCode, 0) << runs.err;
    const std::string firstUnused = std::to_string(files + 1);
    EXPECT_NE(runs.out.find("  unterbrochen  "), std::string::npos) << runs.out;
    EXPECT_NE(runs.out.find("  1-10000  " + std::to_string(files) + "  " + firstUnused +
                            "-10000  (abgeschlossen von "),
              std::string::npos)
        << runs.out;
    // Settled once: the next look is silent.
    EXPECT_EQ(RunCli(c.log({})).err, "");
}

// The run listing speaks the settings' language, its heads as wide as their columns.
TEST(MarkingLogCli, RunListingFollowsTheSettingsLanguage) {
    struct TCase {
        const char* Lang;
        std::string Head;
        std::string Row;
    };
    const TCase cases[] = {
        {"lang=1",
         "Lauf  begonnen              Zustand       Z\u00e4hler  Nummern  geschrieben  ungenutzt\n",
         "  fertig  serial  1-5 Schritt 2  3  -\n"},
        {"lang=2", "run  started               state        counter  numbers  written  unused\n",
         "  done  serial  1-5 step 2  3  -\n"},
    };
    for (const TCase& row : cases) {
        TConfig c;
        std::string main = readBytes(c.folder / "main.ini");
        main.replace(main.find("lang=1"), 6, row.Lang);
        writeBytes(c.folder / "main.ini", main);
        const auto made =
            RunCli(c.generate({"--serial", "next:3:2", "--counter", "serial", "--text", "R{n}",
                               "-o", (c.temp / "R{n}.nc").string()}));
        ASSERT_EQ(made.exitCode, 0) << made.err;
        const auto runs = RunCli(c.log({"--runs"}));
        EXPECT_EQ(runs.exitCode, 0) << runs.err;
        EXPECT_TRUE(runs.out.starts_with(row.Head)) << runs.out;
        EXPECT_TRUE(runs.out.ends_with(row.Row)) << runs.out;
    }
}

// A log on a share or folder this user may only read still lists and verifies.
TEST(MarkingLogCli, ListingWorksOnAReadOnlyFolder) {
    TConfig c;
    const std::string a = (c.temp / "a.nc").string();
    ASSERT_EQ(RunCli(c.generate({"--text", "SN-7", "-o", a})).exitCode, 0);
    fs::permissions(c.temp.path(), fs::perms::all);
    fs::permissions(c.folder, fs::perms::owner_all | fs::perms::others_read |
                                  fs::perms::others_exec | fs::perms::group_read |
                                  fs::perms::group_exec);
    const std::string before = readBytes(c.folder / "korvex.sqlite");
    // Another user, as the superuser could write anywhere.
    ::setenv("KORVEX_CLI_COMMAND",
             (std::string("setpriv --reuid=65534 --regid=65534 --clear-groups ") + KORVEX_CLI_PATH)
                 .c_str(),
             1);
    const auto listed = RunCli(c.log({"--format", "csv"}));
    const auto verified = RunCli(c.log({"--verify", a}));
    ::unsetenv("KORVEX_CLI_COMMAND");
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(korvex::log::ReadCsv(listed.out).size(), 2u) << listed.out;
    EXPECT_EQ(verified.exitCode, 0) << verified.err;
    EXPECT_EQ(readBytes(c.folder / "korvex.sqlite"), before);
}

} // namespace

// Counters that start again, as several korvex-cli processes share one log across midnight.

#include "CliProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

namespace fs = std::filesystem;
using korvex::testing::RunCli;
using korvex::testing::StartCli;
using korvex::testing::WaitCli;

namespace {

const std::string JOB = (fs::path(KORVEX_TEST_DATA_DIR) / "cli" / "serial.ncm").string();

struct TConfig {
    TempFolder temp;
    fs::path folder = temp / "config";
    explicit TConfig(const std::string& shifts = {}) {
        fs::create_directory(folder);
        for (const char* name :
             {"main.ini", "profil1.ini", "profil2.ini", "profil3.ini", "profil4.ini"})
            fs::copy_file(fs::path(KORVEX_DATA_DIR) / name, folder / name);
        if (!shifts.empty()) std::ofstream(folder / "main.ini", std::ios::app) << shifts;
    }
    std::vector<std::string> generate(std::vector<std::string> args) const {
        args.insert(args.begin(), {"generate", "--config", folder.string()});
        args.push_back(JOB);
        return args;
    }
    // (period, serial) of every record written.
    std::vector<std::pair<std::string, std::int64_t>> taken() const {
        sqlite3* db = nullptr;
        std::vector<std::pair<std::string, std::int64_t>> rows;
        EXPECT_EQ(sqlite3_open((folder / "korvex.sqlite").string().c_str(), &db), SQLITE_OK);
        sqlite3_stmt* s = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db,
                                     "SELECT r.period, m.serial FROM marks m JOIN runs r ON "
                                     "r.id = m.run WHERE m.pending = 0",
                                     -1, &s, nullptr),
                  SQLITE_OK);
        while (sqlite3_step(s) == SQLITE_ROW)
            rows.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)),
                              sqlite3_column_int64(s, 1));
        sqlite3_finalize(s);
        sqlite3_close(db);
        return rows;
    }
};

// Starts korvex-cli with its clock at `now`.
korvex::testing::TStartedCli startAt(const char* now, const std::vector<std::string>& args) {
    ::setenv("KORVEX_TEST_NOW", now, 1);
    auto started = StartCli(args);
    ::unsetenv("KORVEX_TEST_NOW");
    return started;
}

// Stations whose clocks stand either side of midnight take from one daily counter at once.
// Whichever order the log serves them in, each period's numbers are 1, 2, 3 ... once each; a
// station whose clock is behind the counter's day is told so and writes nothing.
TEST(CounterAcrossReset, ProcessesAcrossMidnightNeverHandOutANumberTwice) {
    TConfig c;
    const std::string behind = "die Uhr dieses Rechners steht fr\xC3\xBCher (2026-12-10)";
    const auto args = [&](const std::string& out) {
        return c.generate({"--serial", "next:3", "--counter", "Schild", "--reset", "day", "--text",
                           "D{date:YYMMDD}-{n:03}", "-o", (c.temp / out / "{line}.nc").string()});
    };
    const char* clocks[] = {"2026-12-10T23:59:59", "2026-12-11T00:00:00", "2026-12-10T23:59:59",
                            "2026-12-11T00:00:01", "2026-12-10T23:59:58", "2026-12-11T00:00:00"};
    std::vector<korvex::testing::TStartedCli> started;
    for (std::size_t k = 0; k < std::size(clocks); ++k)
        started.push_back(startAt(clocks[k], args("p" + std::to_string(k))));
    std::size_t written = 0;
    for (std::size_t k = 0; k < started.size(); ++k) {
        const auto r = WaitCli(started[k]);
        const bool newDay = clocks[k][9] == '1';
        EXPECT_TRUE(r.exitCode == 0 || (!newDay && r.err.find(behind) != std::string::npos))
            << clocks[k] << ": " << r.err;
        written += r.exitCode == 0 ? 3 : 0;
    }
    // Then, one after the other, a station of the new day and one whose clock is still behind.
    EXPECT_EQ(WaitCli(startAt("2026-12-11T00:00:02", args("late11"))).exitCode, 0);
    const auto late = WaitCli(startAt("2026-12-10T23:59:59", args("late10")));
    EXPECT_EQ(late.exitCode, 1);
    EXPECT_NE(late.err.find(behind), std::string::npos) << late.err;

    std::map<std::string, std::set<std::int64_t>> periods;
    const auto rows = c.taken();
    for (const auto& [period, serial] : rows)
        EXPECT_TRUE(periods[period].insert(serial).second) << period << " " << serial;
    EXPECT_EQ(rows.size(), written + 3);
    EXPECT_EQ(periods["2026-12-11"].size(), 12u) << "every station of the new day wrote";
    for (const auto& [period, serials] : periods) {
        EXPECT_EQ(*serials.begin(), 1) << period;
        EXPECT_EQ(*serials.rbegin(), static_cast<std::int64_t>(serials.size())) << period;
    }
}

// The clock runs on from the given moment: one run before the shift change, one after it.
TEST(CounterAcrossReset, ShiftCounterStartsAgainAtTheShiftChange) {
    TConfig c("\r\n[Schichten]\r\nSchicht1=Fr\xFCh 06:00\r\nSchicht2=Sp\xE4t 14:00\r\n");
    const auto run = [&](const char* now, const std::string& name) {
        const auto r = WaitCli(startAt(
            now, c.generate({"--serial", "next:2", "--counter", "S", "--reset", "shift", "--text",
                             "{shift}{date:DD}-{n}", "-o", (c.temp / name / "{n}.nc").string()})));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.err;
    };
    EXPECT_NE(run("2026-12-10T13:59:00", "a").find("Fr\xC3\xBCh10-2"), std::string::npos);
    EXPECT_NE(run("2026-12-10T14:00:00", "b").find("Sp\xC3\xA4t10-1"), std::string::npos);
    EXPECT_NE(run("2026-12-11T02:00:00", "c").find("Sp\xC3\xA4t11-3"), std::string::npos)
        << "the late shift goes on past midnight";
}

TEST(CounterAcrossReset, ClearRefusals) {
    TConfig c;
    struct Row {
        std::vector<std::string> args;
        const char* says;
    };
    const Row rows[] = {
        {{"--serial", "next:1", "--counter", "X", "--reset", "day", "--text", "A{n}"}, ""},
        {{"--serial", "next:1", "--counter", "X", "--reset", "week", "--text", "B{n}"},
         "mit --reset day neu, nicht mit --reset week"},
        {{"--serial", "next:1", "--counter", "X", "--reset", "week", "--reset-change", "--text",
          "C{n}"},
         ""},
        {{"--serial", "1:1", "--text", "{shift}{n}"}, "{shift} braucht eine Schichttabelle"},
        {{"--serial", "next:1", "--counter", "Y", "--reset", "shift", "--text", "D{n}"},
         "mit jeder Schicht neu, doch es gibt keine Schichttabelle"},
        {{"--serial", "next:1", "--reset", "daily", "--text", "E{n}"}, "--reset must be day, week"},
    };
    for (std::size_t k = 0; k < std::size(rows); ++k) {
        std::vector<std::string> args = rows[k].args;
        args.insert(args.end(), {"-o", (c.temp / std::to_string(k) / "{n}.nc").string()});
        const auto r = RunCli(c.generate(args));
        EXPECT_EQ(r.exitCode == 0, *rows[k].says == '\0') << r.err;
        EXPECT_NE(r.err.find(rows[k].says), std::string::npos) << r.err;
    }
}

} // namespace

#include "CliProcess.h"
#include "support/TempFolder.h"
#ifdef KORVEX_LOG_POSTGRESQL
#include "support/PgServer.h"
#endif

#include "log/LogExport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

const std::string JOB = (fs::path(KORVEX_TEST_DATA_DIR) / "cli" / "serial.ncm").string();

// A configuration folder with an empty log of its own.
struct TLogFolder {
    TempFolder temp;
    fs::path folder = temp / "config";
    TLogFolder() {
        fs::create_directory(folder);
        for (const char* name :
             {"main.ini", "profil1.ini", "profil2.ini", "profil3.ini", "profil4.ini"})
            fs::copy_file(fs::path(KORVEX_DATA_DIR) / name, folder / name);
    }
    std::vector<std::string> log(std::vector<std::string> args) const {
        args.insert(args.begin(), {"log", "--config", folder.string()});
        return args;
    }
    std::vector<std::string> generate(std::vector<std::string> args) const {
        args.insert(args.begin(), {"generate", "--config", folder.string()});
        args.push_back(JOB);
        return args;
    }
    // The contents the log holds, as `log --format csv` lists them.
    std::vector<std::string> texts(std::vector<std::string> args) const {
        args.insert(args.end(), {"--format", "csv"});
        const auto r = RunCli(log(args));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::vector<std::string> found;
        const auto rows = korvex::log::ReadCsv(r.out);
        for (std::size_t i = 1; i < rows.size(); ++i)
            found.push_back(rows[i][5]);
        return found;
    }
};

// Where --log may point: a SQLite file, or the test's own server when there is one.
std::vector<std::string> logLocations(const TempFolder& temp) {
    std::vector<std::string> places{(temp / "hall7.sqlite").string()};
#ifdef KORVEX_LOG_POSTGRESQL
    if (auto* server = korvex::test::TestPgServer()) {
        server->Fresh();
        places.push_back(server->Url());
    } else if (korvex::test::PgServerRequired()) {
        ADD_FAILURE() << korvex::test::WhyNoPgServer();
    }
#endif
    return places;
}

TEST(LogCommand, LogOptionChoosesTheLogOfThisRunOnly) {
    const TLogFolder f;
    for (const std::string& place : logLocations(f.temp)) {
        const std::string out = (f.temp / "plate.nc").string();
        const auto written = RunCli(f.generate({"--log", place, "--text", "P-1", "-o", out}));
        ASSERT_EQ(written.exitCode, 0) << place << '\n' << written.err;
        EXPECT_EQ(f.texts({"--log", place}), std::vector<std::string>{"P-1"}) << place;
        EXPECT_TRUE(f.texts({}).empty()) << "the settings' log got the record of " << place;
        // The log given decides what is a duplicate, and a serial run's counter.
        const auto again = RunCli(f.generate({"--log", place, "--text", "P-1", "-o", out}));
        EXPECT_EQ(again.exitCode, 1) << place;
        const auto run = RunCli(f.generate({"--log", place, "--serial", "next:2", "--text", "S-{n}",
                                            "-o", (f.temp / "s{n}.nc").string()}));
        EXPECT_EQ(run.exitCode, 0) << place << '\n' << run.err;
        EXPECT_EQ(f.texts({"--log", place}), (std::vector<std::string>{"P-1", "S-1", "S-2"}))
            << place;
    }
    const auto both = RunCli(f.generate({"--log", "x.sqlite", "--no-log", "-o", "p.nc"}));
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_EQ(both.err.substr(0, both.err.find('\n')),
              "korvex-cli generate: --log and --no-log cannot be combined");
}

TEST(LogCommand, ArgumentsAreReadAsTheOtherCommandsReadThem) {
    struct TCase {
        std::vector<std::string> Args;
        int Exit;
        std::string Out; // the start of standard output
        std::string Err; // the first line of standard error
    };
    const TCase cases[] = {
        {{"--format=csv"}, 0, "id,time_utc,", ""},
        {{"--since=2026-12-09", "--format", "csv"}, 0, "id,time_utc,", ""},
        {{"--help", "--bogus"}, 0, "usage: korvex-cli log", ""},
        {{"--bogus", "--help"}, 2, "", "korvex-cli log: unknown argument '--bogus'"},
        {{"-"}, 2, "", "korvex-cli log: unknown argument '-'"},
        {{"--since"}, 2, "", "korvex-cli log: option --since needs a value"},
        {{"--text", ""}, 2, "", "korvex-cli log: option --text needs a value"},
        {{"--text", "a", "--text", "b"}, 2, "", "korvex-cli log: option --text given twice"},
        {{"--format", "xml"}, 2, "", "korvex-cli log: --format is table, csv or json"},
        {{"--runs", "--text", "a"},
         2,
         "",
         "korvex-cli log: --runs takes no other option but --config and --log"},
        {{"--since", "2026-02-30"},
         2,
         "",
         "korvex-cli log: '2026-02-30' is no date: YYYY-MM-DD, "
         "optionally with Thh[:mm[:ss]]"},
    };
    const TLogFolder f;
    for (const TCase& c : cases) {
        const auto r = RunCli(f.log(c.Args));
        const std::string what = c.Args.front() + (c.Args.size() > 1 ? " " + c.Args[1] : "");
        EXPECT_EQ(r.exitCode, c.Exit) << what << '\n' << r.err;
        EXPECT_EQ(r.out.substr(0, c.Out.size()), c.Out) << what;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.Err) << what;
    }
}

} // namespace

namespace {

TEST(LogCommand, StationLogMovesToTheServerAndBackOnce) {
    const TLogFolder station;
    ASSERT_EQ(RunCli(station.generate({"--serial", "next:3", "--counter", "SN", "--text", "SN-{n}",
                                       "-o", (station.temp / "{n}.nc").string()}))
                  .exitCode,
              0);
    const std::string file = (station.temp / "hall3.sqlite").string();
    const auto exported = RunCli(station.log({"--export", file}));
    EXPECT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.out, file + ": 3 Einträge übernommen, 0 schon vorhanden\n"
                                   "Zähler SN steht jetzt bei 4\n");
    for (const std::string& place : logLocations(station.temp)) {
        if (place == file) continue;
        const auto first = RunCli(station.log({"--log", place, "--import", file}));
        EXPECT_EQ(first.exitCode, 0) << place << '\n' << first.err;
        const auto again = RunCli(station.log({"--log", place, "--import", file}));
        EXPECT_EQ(again.out.substr(again.out.find(": ")),
                  ": 0 Einträge übernommen, 3 schon vorhanden\n")
            << place;
        EXPECT_EQ(station.texts({"--log", place}),
                  (std::vector<std::string>{"SN-1", "SN-2", "SN-3"}))
            << place;
        // The next number on the server follows the station's.
        const auto next = RunCli(
            station.generate({"--log", place, "--serial", "next:1", "--counter", "SN", "--text",
                              "SN-{n}", "-o", (station.temp / "n{n}.nc").string()}));
        EXPECT_EQ(next.exitCode, 0) << next.err;
        EXPECT_EQ(station.texts({"--log", place}).back(), "SN-4") << place;
    }
    const auto missing = RunCli(station.log({"--import", (station.temp / "none.sqlite").string()}));
    EXPECT_EQ(missing.exitCode, 1);
    const auto mixed = RunCli(station.log({"--import", file, "--runs"}));
    EXPECT_EQ(mixed.exitCode, 2);
    EXPECT_EQ(mixed.err, "korvex-cli log: --import takes no other option but --config and --log\n");
}

} // namespace

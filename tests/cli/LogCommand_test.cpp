#include "CliProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using korvex::testing::RunCli;

namespace {

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
};

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
         "korvex-cli log: --runs takes no other option but --config"},
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

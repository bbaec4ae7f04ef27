#pragma once

// Runs the built korvex-cli as a separate process, the way a script or ERP job would,
// and captures what it prints. POSIX only: the process tests run on the Linux CI. With
// KORVEX_CLI_COMMAND set they run that command instead, split at blanks, e.g.
// "env WINEPREFIX=/tmp/w wine64 build-windows/bin/korvex-cli.exe" for the Windows build.

#include <string>
#include <vector>

namespace korvex::testing {

struct TProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs korvex-cli with the given arguments (no shell: arguments arrive unchanged).
TProcessResult RunCli(const std::vector<std::string>& args);

// A configuration folder with the delivered settings in English (lang=2), made once per test
// process, for the tests that check korvex-cli's English wording.
std::string EnglishConfig();

// The same in two steps, for processes that run at once or are killed on the way.
struct TStartedCli {
    int pid = -1;
    std::string outName;
    std::string errName;
};
TStartedCli StartCli(const std::vector<std::string>& args);
TProcessResult WaitCli(const TStartedCli& started); // the exit code is 128 + signal when killed

} // namespace korvex::testing

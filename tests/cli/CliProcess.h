#pragma once

// Runs the built korvex-cli as a separate process, the way a script or ERP job would,
// and captures what it prints. POSIX only: the process tests run on the Linux CI.

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

} // namespace korvex::testing

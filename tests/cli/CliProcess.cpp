#include "CliProcess.h"

#include "support/TestLocale.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace korvex::testing {

namespace {

// The in-process commands meet the language too, as they would inside the window.
[[maybe_unused]] const bool testLanguage = UseTestLanguage(true);

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TStartedCli StartCli(const std::vector<std::string>& args) {
    // Files, not pipes: a large symbol on stdout must not block the child on a full pipe.
    TStartedCli started;
    char outName[] = "/tmp/korvex-cli-outXXXXXX";
    char errName[] = "/tmp/korvex-cli-errXXXXXX";
    const int outFd = mkstemp(outName);
    const int errFd = mkstemp(errName);
    if (outFd < 0 || errFd < 0) throw std::runtime_error("cannot create capture files");
    started.outName = outName;
    started.errName = errName;

    std::vector<std::string> argv = {KORVEX_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (auto& a : argv)
        raw.push_back(a.data());
    raw.push_back(nullptr);

    started.pid = fork();
    if (started.pid == 0) {
        const int nullIn = open("/dev/null", O_RDONLY);
        dup2(nullIn, 0);
        dup2(outFd, 1);
        dup2(errFd, 2);
        execv(raw[0], raw.data());
        _exit(127);
    }
    close(outFd);
    close(errFd);
    return started;
}

TProcessResult WaitCli(const TStartedCli& started) {
    int status = 0;
    waitpid(started.pid, &status, 0);
    TProcessResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = slurp(started.outName);
    result.err = slurp(started.errName);
    std::remove(started.outName.c_str());
    std::remove(started.errName.c_str());
    return result;
}

TProcessResult RunCli(const std::vector<std::string>& args) {
    return WaitCli(StartCli(args));
}

} // namespace korvex::testing

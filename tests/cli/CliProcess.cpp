#include "CliProcess.h"
#include "support/TempFolder.h"

#include <filesystem>

#include "support/TestLocale.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

// The program and the words before its arguments: KORVEX_CLI_COMMAND split at blanks, else
// the korvex-cli of this build.
std::vector<std::string> cliCommand() {
    const char* command = std::getenv("KORVEX_CLI_COMMAND");
    if (!command || !*command) return {KORVEX_CLI_PATH};
    std::vector<std::string> words;
    std::istringstream in(command);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

} // namespace

std::string EnglishConfig() {
    static const TempFolder folder;
    static const std::string made = [] {
        const std::filesystem::path delivered = KORVEX_DATA_DIR;
        for (const char* name :
             {"main.ini", "profil1.ini", "profil2.ini", "profil3.ini", "profil4.ini"})
            std::filesystem::copy_file(delivered / name, folder / name);
        std::string main = readBytes(folder / "main.ini");
        main.replace(main.find("lang=1"), 6, "lang=2");
        writeBytes(folder / "main.ini", main);
        return folder.path().string();
    }();
    return made;
}

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

    std::vector<std::string> argv = cliCommand();
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
        execvp(raw[0], raw.data());
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

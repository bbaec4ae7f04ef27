#include "base/Process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <pwd.h>
#include <unistd.h>

namespace korvex::base {

namespace {

std::string bootId() {
    std::ifstream in("/proc/sys/kernel/random/boot_id");
    std::string id;
    std::getline(in, id);
    return id;
}

// Field 22 of /proc/PID/stat, the start in clock ticks since boot; the name in field 2 may
// hold blanks and parentheses, so counting starts after its last ')'.
std::string startTicks(std::int64_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(in, stat);
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return {};
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int k = 3; k <= 22; ++k)
        if (!(fields >> field)) return {};
    return field;
}

} // namespace

TProcessIdentity CurrentProcess() {
    const std::int64_t pid = ::getpid();
    return {pid, bootId(), startTicks(pid)};
}

bool ProcessRunning(const TProcessIdentity& process) {
    if (!process.Boot.empty() && process.Boot != bootId()) return false;
    if (process.Pid == ::getpid())
        return process.Start.empty() || process.Start == startTicks(process.Pid);
    if (::kill(static_cast<pid_t>(process.Pid), 0) != 0 && errno != EPERM) return false;
    return process.Start.empty() || process.Start == startTicks(process.Pid);
}

std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return "?";
    return name;
}

std::string UserName() {
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name)
        return entry->pw_name;
    if (const char* user = std::getenv("USER")) return user;
    return std::to_string(::geteuid());
}

// strftime's numeric fields are plain digits in every locale.
std::string TimeText(std::time_t time, bool local) {
    std::tm parts{};
    if (local)
        ::localtime_r(&time, &parts);
    else
        ::gmtime_r(&time, &parts);
    char text[64] = {};
    std::strftime(text, sizeof text, local ? "%Y-%m-%d %H:%M:%S %z" : "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

} // namespace korvex::base

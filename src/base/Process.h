#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Who is writing, told apart across reboots and reused process ids; one definition per system
// (ProcessPosix.cpp, ProcessWindows.cpp) like the rest of the platform layer.
namespace korvex::base {

struct TProcessIdentity {
    std::int64_t Pid = 0;
    std::string Boot;  // the system's boot, where it names one (Linux's boot_id); else empty
    std::string Start; // when the process started, in the system's own ticks; empty if unknown
};

TProcessIdentity CurrentProcess();

// Whether that process still runs. An empty Boot or Start (a record of an older Korvex) is not
// compared, so only the pid then speaks.
bool ProcessRunning(const TProcessIdentity& process);

std::string HostName();
std::string UserName();

// "2026-12-09T18:24:55Z", or the local "2026-12-09 19:24:55 +0100"; plain digits whatever
// the locale.
std::string TimeText(std::time_t time, bool local);

} // namespace korvex::base

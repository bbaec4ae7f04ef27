#include "base/Process.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "base/Windows1252.h"

namespace korvex::base {

namespace {

// The creation time tells a reused process id apart, across reboots as well.
std::string startTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return {};
    const auto ticks =
        (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    return std::to_string(ticks);
}

std::string wideToCodePage(const wchar_t* text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string utf8(static_cast<std::size_t>(n - 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), n, nullptr, nullptr);
    const auto converted = Utf8ToWindows1252(utf8);
    return converted.ok ? converted.text : utf8;
}

} // namespace

TProcessIdentity CurrentProcess() {
    return {
        static_cast<std::int64_t>(::GetCurrentProcessId()), {}, startTime(::GetCurrentProcess())};
}

bool ProcessRunning(const TProcessIdentity& process) {
    if (process.Pid == static_cast<std::int64_t>(::GetCurrentProcessId()))
        return process.Start.empty() || process.Start == startTime(::GetCurrentProcess());
    HANDLE handle =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process.Pid));
    if (!handle) return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = ::GetExitCodeProcess(handle, &code) && code == STILL_ACTIVE &&
                         (process.Start.empty() || process.Start == startTime(handle));
    ::CloseHandle(handle);
    return running;
}

std::string HostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(name, &size)) return "?";
    return wideToCodePage(name);
}

std::string UserName() {
    wchar_t name[257] = {};
    DWORD size = 257;
    if (!::GetUserNameW(name, &size)) return "?";
    return wideToCodePage(name);
}

// strftime's %z names the zone on Windows, so the offset is written here.
std::string TimeText(std::time_t time, bool local) {
    std::tm parts{};
    if (local)
        ::localtime_s(&parts, &time);
    else
        ::gmtime_s(&parts, &time);
    char text[64] = {};
    std::strftime(text, sizeof text, local ? "%Y-%m-%d %H:%M:%S" : "%Y-%m-%dT%H:%M:%SZ", &parts);
    std::string result = text;
    if (local) {
        std::tm asUtc = parts;
        const long long offset = static_cast<long long>(::_mkgmtime(&asUtc)) - time;
        const long long minutes = (offset < 0 ? -offset : offset) / 60;
        const char digits[] = {static_cast<char>('0' + minutes / 600),
                               static_cast<char>('0' + minutes / 60 % 10),
                               static_cast<char>('0' + minutes % 60 / 10),
                               static_cast<char>('0' + minutes % 10), '\0'};
        result += std::string(offset < 0 ? " -" : " +") + digits;
    }
    return result;
}

} // namespace korvex::base

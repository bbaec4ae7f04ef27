#include "base/Windows1252.h"
#include "config/IniFile.h"
#include "config/Settings.h"
#include "log/MarkingLog.h"

namespace korvex::log {

namespace fs = std::filesystem;

std::optional<fs::path> LogFileFor(const fs::path& configFolder) {
    const config::TIniFile ini(configFolder / "main.ini", config::LogSection);
    if (ini.ReadString(config::LogSwitchKey) == "0") return std::nullopt;
    if (const std::string server = ini.ReadString(config::LogDatabaseKey); !server.empty())
        return fs::path(base::Windows1252ToUtf8(server));
    const std::string file = ini.ReadString(config::LogFileKey);
    if (file.empty()) return configFolder / LogFileName;
    const std::string name = base::Windows1252ToUtf8(file);
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
}

} // namespace korvex::log

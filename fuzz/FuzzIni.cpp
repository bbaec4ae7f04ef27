// INI files as users and editors leave them: the settings and profile readers take any bytes.
#include "config/IniFile.h"
#include "config/SettingsFile.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace korvex;

namespace {

const fs::path& folder() {
    static const fs::path path = [] {
        fs::path p = fs::temp_directory_path() / ("korvex-fuzz-ini-" + std::to_string(getpid()));
        fs::create_directories(p);
        return p;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Every value opens its file anew, so one profile of the four keeps a run short; the
    // others read as missing.
    for (const char* name : {"main.ini", "profil1.ini"}) {
        std::ofstream out(folder() / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    config::TSettings settings;
    ncgen::TProfileTable profiles;
    config::LoadSettings(folder(), settings, profiles);
    const config::TIniFile ini(folder() / "main.ini", "set");
    (void)ini.ReadString("Profil");
    (void)ini.ReadInteger("HG");
    (void)ini.ReadBool("G0");
    (void)ini.ReadProblem();
    return 0;
}

// A korvex.sqlite as a damaged disk, another program or an attacker may leave it: opening,
// listing and verifying give a log error or an answer, never a crash.
#include "log/MarkingLog.h"

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
        fs::path p = fs::temp_directory_path() / ("korvex-fuzz-log-" + std::to_string(getpid()));
        fs::create_directories(p);
        return p;
    }();
    return path;
}

void look(log::TMarkingLog& markingLog) {
    (void)markingLog.Query({});
    (void)markingLog.Query({"2026-12-01", "2026-12-31", "SN-*"});
    (void)markingLog.Runs();
    (void)markingLog.FindHash("0000000000000000000000000000000000000000000000000000000000000000");
    (void)markingLog.FindFirstLogged({"SN-1", "(01)09506000134352(21)1"}, "GS1");
    (void)markingLog.NextSerial("counter");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path file = folder() / log::LogFileName;
    for (const log::TMarkingLog::TAccess access :
         {log::TMarkingLog::TAccess::Read, log::TMarkingLog::TAccess::Write}) {
        std::error_code ec;
        for (const char* extra : {"", "-wal", "-shm"})
            fs::remove(file.string() + extra, ec);
        {
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        }
        try {
            log::TMarkingLog markingLog(file, access);
            look(markingLog);
        } catch (const log::ELogError&) {
            // A log that cannot be used says so; that is all it may do.
        }
    }
    return 0;
}

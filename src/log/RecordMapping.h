#pragma once

#include "base/Process.h"
#include "log/MarkingLog.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace korvex::log {

// A row as a back end reads it; texts as the database keeps them (UTF-8), "" for NULL.
class TRow {
  public:
    virtual ~TRow() = default;
    virtual std::int64_t Int(int column) const = 0;
    virtual bool IsNull(int column) const = 0;
    virtual std::string Text(int column) const = 0;
};

// A value to store: NULL, a number or a UTF-8 text.
using TValue = std::variant<std::monostate, std::int64_t, std::string>;

// Who writes, and when: stamped on each record and each run.
struct TWriter {
    std::string TimeUtc;
    std::string TimeLocal;
    std::string User;
    std::string Host;
    base::TProcessIdentity Process;
};
TWriter WriterNow();

// The columns a record is read from, in the order ReadRecord takes them.
inline constexpr const char* RecordColumns =
    "id, time_utc, time_local, \"user\", host, content, content_kind, human_readable, "
    "symbol_size, encodation, profile, job, output, sha256, read_back, counter, serial, pending";
TMarkRecord ReadRecord(const TRow& row);

struct TStoredRun;

// The process that wrote a row: its id at column `pid`, its boot and start in the two after.
base::TProcessIdentity ReadWriter(const TRow& row, int pid);
// An open run of `host` from the columns id, pid, boot, started_process, started, counter,
// first, count, step.
TStoredRun ReadOpenRun(const TRow& row, const std::string& host);

// The columns a new record is stored in, in the order of InsertValues.
inline constexpr const char* InsertColumns =
    "time_utc, time_local, \"user\", host, pid, content, content_kind, human_readable, "
    "symbol_size, encodation, profile, job, output, sha256, read_back, counter, serial, pending, "
    "temporary, run, boot, started, content_key";
inline constexpr int InsertColumnCount = 23;
// Stamps the record with the writer, unless it carries its time already (moved from another
// log), as about to be written, and gives its values.
std::vector<TValue> InsertValues(TMarkRecord& record, const TWriter& writer, std::int64_t run);

// The temporary a record's file is written through, named after the record so the next
// opening knows what a killed writer left.
std::filesystem::path TemporaryFor(const std::filesystem::path& output, std::int64_t id);

// The log keeps UTF-8; the core speaks Windows-1252.
std::string Utf8(const std::string& windows1252);
std::string CodePage(const std::string& utf8);
std::string PathUtf8(const std::filesystem::path& path);
std::filesystem::path PathFromUtf8(const std::string& text);

} // namespace korvex::log

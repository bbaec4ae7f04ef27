#include "log/RecordMapping.h"

#include "base/AtomicFile.h"
#include "base/Windows1252.h"
#include "log/ContentKey.h"
#include "log/LogBackend.h"

#include <ctime>

namespace korvex::log {

namespace fs = std::filesystem;

TWriter WriterNow() {
    const std::time_t now = std::time(nullptr);
    return {base::TimeText(now, false), base::TimeText(now, true), base::UserName(),
            base::HostName(), base::CurrentProcess()};
}

TMarkRecord ReadRecord(const TRow& row) {
    TMarkRecord r;
    r.Id = row.Int(0);
    r.TimeUtc = CodePage(row.Text(1));
    r.TimeLocal = CodePage(row.Text(2));
    r.User = CodePage(row.Text(3));
    r.Host = CodePage(row.Text(4));
    r.Text = CodePage(row.Text(5));
    r.ContentKind = CodePage(row.Text(6));
    r.HumanReadable = CodePage(row.Text(7));
    r.SymbolSize = CodePage(row.Text(8));
    r.Encodation = CodePage(row.Text(9));
    r.Profile = CodePage(row.Text(10));
    r.JobTemplate = PathFromUtf8(row.Text(11));
    r.Output = PathFromUtf8(row.Text(12));
    r.Sha256 = CodePage(row.Text(13));
    r.ReadBack = CodePage(row.Text(14));
    r.Counter = CodePage(row.Text(15));
    if (!row.IsNull(16)) r.Serial = row.Int(16);
    r.Pending = row.Int(17) != 0;
    return r;
}

base::TProcessIdentity ReadWriter(const TRow& row, int pid) {
    return {row.Int(pid), CodePage(row.Text(pid + 1)), CodePage(row.Text(pid + 2))};
}

TStoredRun ReadOpenRun(const TRow& row, const std::string& host) {
    TStoredRun stored;
    stored.Run.Id = row.Int(0);
    stored.Run.Started = CodePage(row.Text(4));
    stored.Run.Counter = CodePage(row.Text(5));
    stored.Run.First = row.Int(6);
    stored.Run.Count = row.Int(7);
    stored.Run.Step = row.Int(8);
    stored.Host = host;
    stored.Writer = ReadWriter(row, 1);
    return stored;
}

std::vector<TValue> InsertValues(TMarkRecord& record, const TWriter& writer, std::int64_t run) {
    // A record that comes stamped is moved from another log and keeps its writer.
    const bool moved = !record.TimeUtc.empty();
    if (!moved) {
        record.TimeUtc = writer.TimeUtc;
        record.TimeLocal = writer.TimeLocal;
        record.User = writer.User;
        record.Host = writer.Host;
    }
    const auto stamp = [moved](const std::string& kept, const std::string& own) {
        return moved ? Utf8(kept) : own;
    };
    record.Pending = true;
    // The file is found again by this name whatever folder a later look runs in.
    std::error_code ec;
    if (const fs::path absolute = fs::absolute(record.Output, ec); !ec)
        record.Output = absolute.lexically_normal();
    std::vector<TValue> values{stamp(record.TimeUtc, writer.TimeUtc),
                               stamp(record.TimeLocal, writer.TimeLocal),
                               stamp(record.User, writer.User),
                               stamp(record.Host, writer.Host),
                               writer.Process.Pid,
                               Utf8(record.Text),
                               Utf8(record.ContentKind),
                               Utf8(record.HumanReadable),
                               Utf8(record.SymbolSize),
                               Utf8(record.Encodation),
                               Utf8(record.Profile),
                               PathUtf8(record.JobTemplate),
                               PathUtf8(record.Output),
                               record.Sha256,
                               Utf8(record.ReadBack),
                               Utf8(record.Counter),
                               std::monostate{},
                               std::int64_t{1},
                               std::string(),
                               run,
                               writer.Process.Boot,
                               writer.Process.Start,
                               Utf8(ContentKey(record.ContentKind, record.Text))};
    if (record.Serial) values[16] = *record.Serial;
    return values;
}

fs::path TemporaryFor(const fs::path& output, std::int64_t id) {
    fs::path target = base::WriteTarget(output);
    if (target.empty()) target = output;
    target += ".korvex-" + std::to_string(id) + ".tmp";
    return target;
}

std::string Utf8(const std::string& windows1252) {
    return base::Windows1252ToUtf8(windows1252);
}

std::string CodePage(const std::string& utf8) {
    const auto converted = base::Utf8ToWindows1252(utf8);
    return converted.ok ? converted.text : utf8;
}

std::string PathUtf8(const fs::path& path) {
    const auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

fs::path PathFromUtf8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

} // namespace korvex::log

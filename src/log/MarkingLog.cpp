#include "log/MarkingLog.h"

#include "base/AtomicFile.h"
#include "base/PathText.h"
#include "base/Process.h"
#include "base/TextNumbers.h"
#include "base/Windows1252.h"
#include "config/IniFile.h"
#include "log/ContentKey.h"
#include "log/GradeRecord.h"
#include "log/Sha256.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <fstream>
#include <thread>

namespace korvex::log {

namespace fs = std::filesystem;

namespace {

// Each entry takes the schema one version further; a log of version n runs entries n.. .
constexpr const char* MIGRATIONS[] = {
    R"(CREATE TABLE marks(
         id INTEGER PRIMARY KEY,
         time_utc TEXT NOT NULL, time_local TEXT NOT NULL,
         user TEXT NOT NULL, host TEXT NOT NULL, pid INTEGER NOT NULL,
         content TEXT NOT NULL, content_kind TEXT NOT NULL, human_readable TEXT NOT NULL,
         symbol_size TEXT NOT NULL, encodation TEXT NOT NULL, profile TEXT NOT NULL,
         job TEXT NOT NULL, output TEXT NOT NULL, sha256 TEXT NOT NULL,
         read_back TEXT NOT NULL, counter TEXT NOT NULL, serial INTEGER,
         pending INTEGER NOT NULL, temporary TEXT NOT NULL, run INTEGER NOT NULL);
       CREATE INDEX marks_content ON marks(content, content_kind);
       CREATE INDEX marks_sha ON marks(sha256);
       CREATE INDEX marks_time ON marks(time_utc);
       CREATE TABLE counters(name TEXT PRIMARY KEY, next INTEGER NOT NULL);
       CREATE TABLE runs(id INTEGER PRIMARY KEY, started TEXT NOT NULL, host TEXT NOT NULL,
         pid INTEGER NOT NULL, counter TEXT NOT NULL, first INTEGER NOT NULL,
         count INTEGER NOT NULL, step INTEGER NOT NULL, state TEXT NOT NULL);)",
    // The writer's boot and start time beside its pid, so a pid reused after a reboot does
    // not keep a dead writer's records pending; the key a duplicate is found by (its content
    // as a reader gets it), filled in for older records by fillContentKeys; who settled a run.
    R"(ALTER TABLE marks ADD COLUMN boot TEXT NOT NULL DEFAULT '';
       ALTER TABLE marks ADD COLUMN started TEXT NOT NULL DEFAULT '';
       ALTER TABLE marks ADD COLUMN content_key TEXT NOT NULL DEFAULT '';
       CREATE INDEX marks_key ON marks(content_key);
       ALTER TABLE runs ADD COLUMN boot TEXT NOT NULL DEFAULT '';
       ALTER TABLE runs ADD COLUMN started_process TEXT NOT NULL DEFAULT '';
       ALTER TABLE runs ADD COLUMN settled_by TEXT NOT NULL DEFAULT '';)",
    GradeMigration,
};
static_assert(std::size(MIGRATIONS) == SchemaVersion);

constexpr const char* COLUMNS =
    "id, time_utc, time_local, user, host, content, content_kind, human_readable, symbol_size, "
    "encodation, profile, job, output, sha256, read_back, counter, serial, pending";

std::string utf8(const std::string& windows1252) {
    return base::Windows1252ToUtf8(windows1252);
}
std::string codePage(const unsigned char* text) {
    const std::string raw = text ? reinterpret_cast<const char*>(text) : "";
    const auto converted = base::Utf8ToWindows1252(raw);
    return converted.ok ? converted.text : raw;
}
std::string pathText(const fs::path& path) {
    const auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}
fs::path textPath(const unsigned char* text) {
    const std::string raw = text ? reinterpret_cast<const char*>(text) : "";
    return fs::path(std::u8string(raw.begin(), raw.end()));
}

std::string hostName() {
    return base::HostName();
}
std::string userName() {
    return base::UserName();
}
std::string timeText(std::time_t now, bool local) {
    return base::TimeText(now, local);
}

bool fileHashes(const fs::path& file, const std::string& sha256) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    TSha256 hash;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        hash.Add(std::string_view(buffer, static_cast<std::size_t>(in.gcount())));
    return !in.bad() && hash.HexDigest() == sha256;
}

// A prepared statement, finalized on every path out.
class TStatement {
  public:
    TStatement(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK)
            statement_ = nullptr;
    }
    ~TStatement() { sqlite3_finalize(statement_); }
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;
    bool Ok() const { return statement_ != nullptr; }
    TStatement& Bind(int i, const std::string& text) {
        sqlite3_bind_text(statement_, i, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    TStatement& Bind(int i, std::int64_t value) {
        sqlite3_bind_int64(statement_, i, value);
        return *this;
    }
    TStatement& BindNull(int i) {
        sqlite3_bind_null(statement_, i);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step() { return statement_ ? sqlite3_step(statement_) : SQLITE_ERROR; }
    void Reset() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    std::int64_t Int(int column) const { return sqlite3_column_int64(statement_, column); }
    bool IsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    const unsigned char* Text(int column) const { return sqlite3_column_text(statement_, column); }

  private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

TMarkRecord readRecord(const TStatement& row) {
    TMarkRecord r;
    r.Id = row.Int(0);
    r.TimeUtc = codePage(row.Text(1));
    r.TimeLocal = codePage(row.Text(2));
    r.User = codePage(row.Text(3));
    r.Host = codePage(row.Text(4));
    r.Text = codePage(row.Text(5));
    r.ContentKind = codePage(row.Text(6));
    r.HumanReadable = codePage(row.Text(7));
    r.SymbolSize = codePage(row.Text(8));
    r.Encodation = codePage(row.Text(9));
    r.Profile = codePage(row.Text(10));
    r.JobTemplate = textPath(row.Text(11));
    r.Output = textPath(row.Text(12));
    r.Sha256 = codePage(row.Text(13));
    r.ReadBack = codePage(row.Text(14));
    r.Counter = codePage(row.Text(15));
    if (!row.IsNull(16)) r.Serial = row.Int(16);
    r.Pending = row.Int(17) != 0;
    return r;
}

// A write transaction taken at once, so two writers queue on the busy timeout instead of one
// failing when both upgrade a read; rolled back unless committed.
class TTransaction {
  public:
    explicit TTransaction(sqlite3* db) : db_(db) {
        ok_ = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~TTransaction() {
        if (open()) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    bool Ok() const { return ok_; }
    bool Commit() {
        if (!ok_) return false;
        committed_ = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
        return committed_;
    }

  private:
    bool open() const { return ok_ && !committed_ && !sqlite3_get_autocommit(db_); }
    sqlite3* db_;
    bool ok_ = false;
    bool committed_ = false;
};

// Two processes creating the log at once both want the lock that turns on WAL; SQLite refuses
// one at once rather than wait (it would deadlock), so the refused one waits here instead.
bool switchToWal(sqlite3* db) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
        const int stepped = TStatement(db, "PRAGMA journal_mode=WAL").Step();
        if (stepped == SQLITE_ROW) return true;
        if ((stepped & 0xFF) != SQLITE_BUSY || std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Our own words for what SQLite says in English.
int reasonText(int code) {
    switch (code & 0xFF) {
    case SQLITE_READONLY:
        return text::LogReasonReadOnly;
    case SQLITE_FULL:
        return text::LogReasonFull;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return text::LogReasonLocked;
    case SQLITE_CANTOPEN:
        return text::LogReasonCannotOpen;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return text::LogReasonDamaged;
    case SQLITE_IOERR:
        return text::LogReasonDisk;
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return text::LogReasonPermission;
    default:
        return 0;
    }
}

base::TProcessIdentity writer(const TStatement& row, int pid) {
    return {row.Int(pid), codePage(row.Text(pid + 1)), codePage(row.Text(pid + 2))};
}

bool readable(sqlite3* db) {
    return TStatement(db, "PRAGMA user_version").Step() == SQLITE_ROW;
}

std::string immutableUri(const fs::path& file) {
    std::string path = pathText(file);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.size() > 1 && path[1] == ':') path.insert(0, "/"); // a Windows drive
    std::string uri = "file:";
    static constexpr char hex[] = "0123456789ABCDEF";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || std::string_view("/-._~:").find(c) != std::string_view::npos) {
            uri += c;
        } else {
            uri += '%';
            uri += hex[byte >> 4];
            uri += hex[byte & 0xF];
        }
    }
    return uri + "?immutable=1";
}

} // namespace

void TMarkingLog::fail(int text) const {
    std::string detail = base::PathText(file_);
    int reason = 0;
    if (db_) {
        detail += ": " + std::string(sqlite3_errmsg(db_));
        reason = reasonText(sqlite3_extended_errcode(db_));
    }
    throw ELogError({text, 0, detail}, reason);
}

void TMarkingLog::exec(const char* sql, int failureText) const {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail(failureText);
}

TMarkingLog::TMarkingLog(const fs::path& file, TAccess access, std::function<void()> waiting)
    : file_(file), readOnly_(access == TAccess::Read),
      wait_(std::make_unique<TWait>(TWait{std::move(waiting), false})) {
    const int flags = readOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    int opened = sqlite3_open_v2(pathText(file).c_str(), &db_, flags, nullptr);
    if (opened == SQLITE_OK && readOnly_ && !readable(db_)) {
        // A log in WAL mode wants its shared-memory file beside it even to read; where the
        // folder is read-only, it is read as a file nobody changes meanwhile.
        sqlite3_close(db_);
        db_ = nullptr;
        opened =
            sqlite3_open_v2(immutableUri(file).c_str(), &db_, flags | SQLITE_OPEN_URI, nullptr);
    }
    if (opened != SQLITE_OK) {
        const std::string reason = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(opened);
        const int code = db_ ? sqlite3_extended_errcode(db_) : opened;
        sqlite3_close(db_);
        db_ = nullptr;
        throw ELogError({text::LogCannotOpen, 0, base::PathText(file) + ": " + reason},
                        reasonText(code));
    }
    try {
        // Writers queue behind each other for as long as a large run may hold the log; the
        // one that waits says so at once, not after a minute of silence.
        sqlite3_busy_handler(
            db_,
            [](void* data, int tries) -> int {
                auto* wait = static_cast<TWait*>(data);
                if (tries == 0 && !wait->Said && wait->Told) {
                    wait->Said = true;
                    wait->Told();
                }
                constexpr int stepMs = 10;
                if (tries * stepMs >= 60000) return 0;
                std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
                return 1;
            },
            wait_.get());
        sqlite3_extended_result_codes(db_, 1);
        {
            TStatement version(db_, "PRAGMA user_version");
            const int stepped = version.Step();
            if ((sqlite3_errcode(db_) & 0xFF) == SQLITE_NOTADB) fail(text::LogNotALog);
            if (stepped != SQLITE_ROW) fail(text::LogCannotOpen);
            schema_ = version.Int(0);
            if (schema_ > SchemaVersion) fail(text::LogNewerSchema);
        }
        checkOwner(schema_);
        if (readOnly_) return;
        if (!switchToWal(db_)) fail(text::LogCannotOpen);
        // A record must reach the disk before its file is renamed into place.
        exec("PRAGMA synchronous=FULL", text::LogCannotOpen);
        migrate();
        recover();
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

TMarkingLog::~TMarkingLog() {
    sqlite3_close(db_);
}

// A database of another program is never taken over: ours carry the application id, or are
// empty, or are a log of a Korvex from before the id (its tables and a schema version).
void TMarkingLog::checkOwner(std::int64_t version) {
    TStatement id(db_, "PRAGMA application_id");
    if (id.Step() != SQLITE_ROW) fail(text::LogCannotOpen);
    const std::int64_t found = id.Int(0);
    if (found == ApplicationId) return;
    if (found != 0) fail(text::LogForeignDatabase);
    TStatement tables(db_, "SELECT count(*), count(CASE WHEN name IN ('marks', 'counters', "
                           "'runs') THEN 1 END) FROM sqlite_master WHERE type = 'table'");
    if (tables.Step() != SQLITE_ROW) fail(text::LogCannotOpen);
    const std::int64_t all = tables.Int(0);
    const std::int64_t ours = tables.Int(1);
    if (all == 0 && version == 0) return;
    if (version >= 1 && ours == 3 && all == 3) return;
    fail(text::LogForeignDatabase);
}

void TMarkingLog::migrate() {
    TTransaction transaction(db_);
    if (!transaction.Ok()) fail(text::LogCannotOpen);
    TStatement version(db_, "PRAGMA user_version");
    if (version.Step() != SQLITE_ROW) fail(text::LogCannotOpen);
    const std::int64_t found = version.Int(0);
    // Another process may have migrated between the first look and this transaction.
    if (found > SchemaVersion) fail(text::LogNewerSchema);
    TStatement id(db_, "PRAGMA application_id");
    if (id.Step() != SQLITE_ROW) fail(text::LogCannotOpen);
    if (found == SchemaVersion && id.Int(0) == ApplicationId) return;
    for (std::int64_t v = found; v < SchemaVersion; ++v)
        exec(MIGRATIONS[v], text::LogCannotWrite);
    if (found < 2) fillContentKeys();
    exec(("PRAGMA user_version=" + std::to_string(SchemaVersion)).c_str(), text::LogCannotWrite);
    exec(("PRAGMA application_id=" + std::to_string(ApplicationId)).c_str(), text::LogCannotWrite);
    if (!transaction.Commit()) fail(text::LogCannotWrite);
    schema_ = SchemaVersion;
}

// Records of a log from before the key compare as a reader would, like new ones.
void TMarkingLog::fillContentKeys() {
    TStatement select(db_, "SELECT id, content, content_kind FROM marks");
    TStatement set(db_, "UPDATE marks SET content_key = ?2 WHERE id = ?1");
    std::vector<std::pair<std::int64_t, std::string>> keys;
    while (select.Step() == SQLITE_ROW)
        keys.emplace_back(select.Int(0),
                          ContentKey(codePage(select.Text(2)), codePage(select.Text(1))));
    for (const auto& [id, key] : keys) {
        set.Bind(1, id).Bind(2, utf8(key));
        if (set.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
        set.Reset();
    }
}

void TMarkingLog::recover() {
    const std::string host = hostName();
    TStatement pending(db_, "SELECT id, pid, boot, started, output, sha256, temporary FROM marks "
                            "WHERE pending = 1 AND host = ?1");
    pending.Bind(1, host);
    struct TLeft {
        std::int64_t Id;
        fs::path Output;
        std::string Sha;
        fs::path Temporary;
    };
    std::vector<TLeft> left;
    while (pending.Step() == SQLITE_ROW)
        if (!base::ProcessRunning(writer(pending, 1)))
            left.push_back({pending.Int(0), textPath(pending.Text(4)), codePage(pending.Text(5)),
                            textPath(pending.Text(6))});
    TStatement runs(db_, "SELECT id, pid, boot, started_process, started, counter, first, "
                         "count, step FROM runs WHERE state = 'open' AND host = ?1");
    runs.Bind(1, host);
    std::vector<TInterruptedRun> interrupted;
    while (runs.Step() == SQLITE_ROW)
        if (!base::ProcessRunning(writer(runs, 1)))
            interrupted.push_back({runs.Int(0), codePage(runs.Text(4)), codePage(runs.Text(5)),
                                   runs.Int(6), runs.Int(7), runs.Int(8), 0});
    if (left.empty() && interrupted.empty()) return;

    TTransaction transaction(db_);
    if (!transaction.Ok()) fail(text::LogCannotWrite);
    TStatement done(db_, "UPDATE marks SET pending = 0, temporary = '' WHERE id = ?1");
    TStatement drop(db_, "DELETE FROM marks WHERE id = ?1");
    for (const TLeft& write : left) {
        std::error_code ec;
        // Only the temporary this log would have named: a damaged or hostile log must not
        // remove any other file.
        fs::path target = base::WriteTarget(write.Output);
        if (target.empty()) target = write.Output;
        fs::path expected = target;
        expected += ".korvex-" + std::to_string(write.Id) + ".tmp";
        if (write.Temporary == expected) fs::remove(write.Temporary, ec);
        const bool inPlace =
            fs::is_regular_file(write.Output, ec) && fileHashes(write.Output, write.Sha);
        TStatement& change = inPlace ? done : drop;
        change.Bind(1, write.Id);
        if (change.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
        change.Reset();
        ++(inPlace ? recovery_.Completed : recovery_.Abandoned);
    }
    const std::string settler = userName() + "@" + host + " " +
                                timeText(std::time(nullptr), false) + " pid " +
                                std::to_string(base::CurrentProcess().Pid);
    TStatement close(db_, "UPDATE runs SET state = 'interrupted', settled_by = ?2 WHERE id = ?1");
    TStatement written(db_, "SELECT count(*) FROM marks WHERE run = ?1");
    for (TInterruptedRun& run : interrupted) {
        close.Bind(1, run.Id).Bind(2, utf8(settler));
        if (close.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
        close.Reset();
        written.Bind(1, run.Id);
        if (written.Step() == SQLITE_ROW) run.Written = written.Int(0);
        written.Reset();
    }
    if (!transaction.Commit()) fail(text::LogCannotWrite);
    recovery_.Runs = std::move(interrupted);
}

std::optional<TMarkRecord> TMarkingLog::FindContent(std::string_view text,
                                                    std::string_view contentKind) const {
    const auto found = FindFirstLogged({std::string(text)}, contentKind);
    if (!found) return std::nullopt;
    return found->second;
}

std::optional<std::pair<std::size_t, TMarkRecord>>
TMarkingLog::FindFirstLogged(const std::vector<std::string>& texts,
                             std::string_view contentKind) const {
    // Compared as a reader gets it, so the same content typed another way is found too.
    TStatement find(db_, (std::string("SELECT ") + COLUMNS +
                          " FROM marks WHERE content_key = ?1 ORDER BY id LIMIT 1")
                             .c_str());
    if (!find.Ok()) fail(text::LogCannotOpen);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        find.Bind(1, utf8(ContentKey(contentKind, texts[i])));
        const int stepped = find.Step();
        if (stepped == SQLITE_ROW) return std::pair{i, readRecord(find)};
        if (stepped != SQLITE_DONE) fail(text::LogCannotOpen);
        find.Reset();
    }
    return std::nullopt;
}

std::vector<TMarkRecord> TMarkingLog::Query(const TLogQuery& query) const {
    if (schema_ == 0) return {}; // an empty file looked at read-only
    std::string sql = std::string("SELECT ") + COLUMNS + " FROM marks WHERE pending = 0";
    if (!query.Since.empty()) sql += " AND substr(time_utc, 1, length(?1)) >= ?1";
    if (!query.Until.empty()) sql += " AND substr(time_utc, 1, length(?2)) <= ?2";
    if (!query.Text.empty()) sql += " AND content GLOB ?3";
    sql += " ORDER BY id";
    TStatement select(db_, sql.c_str());
    if (!select.Ok()) fail(text::LogCannotOpen);
    if (!query.Since.empty()) select.Bind(1, query.Since);
    if (!query.Until.empty()) select.Bind(2, query.Until);
    if (!query.Text.empty()) {
        const bool pattern = query.Text.find_first_of("*?[") != std::string::npos;
        select.Bind(3, pattern ? utf8(query.Text) : "*" + utf8(query.Text) + "*");
    }
    std::vector<TMarkRecord> records;
    int stepped = 0;
    while ((stepped = select.Step()) == SQLITE_ROW)
        records.push_back(readRecord(select));
    if (stepped != SQLITE_DONE) fail(text::LogCannotOpen);
    return records;
}

std::vector<TMarkRecord> TMarkingLog::FindHash(std::string_view sha256) const {
    if (schema_ == 0) return {};
    TStatement select(db_, (std::string("SELECT ") + COLUMNS +
                            " FROM marks WHERE sha256 = ?1 AND pending = 0 "
                            "ORDER BY id DESC")
                               .c_str());
    select.Bind(1, std::string(sha256));
    std::vector<TMarkRecord> records;
    while (select.Step() == SQLITE_ROW)
        records.push_back(readRecord(select));
    return records;
}

std::int64_t TMarkingLog::NextSerial(std::string_view counter) const {
    TStatement select(db_, "SELECT next FROM counters WHERE name = ?1");
    select.Bind(1, utf8(std::string(counter)));
    return select.Step() == SQLITE_ROW ? select.Int(0) : 1;
}

std::optional<TMarkingLog::TTakenRun>
TMarkingLog::TakeSerials(std::string_view counter, std::int64_t count, std::int64_t step,
                         const std::function<bool(std::int64_t)>& accept) {
    TTransaction transaction(db_);
    if (!transaction.Ok()) fail(text::LogCannotWrite);
    const std::int64_t first = NextSerial(counter);
    if (accept && !accept(first)) return std::nullopt;
    // A counter never moves back and never passes INT64_MAX, whoever asks.
    std::int64_t next = 0;
    if (step < 1) throw ELogError({text::CounterStepNotPositive, 0, {}});
    if (count < 1 || __builtin_mul_overflow(count, step, &next) ||
        __builtin_add_overflow(first, next, &next))
        throw ELogError({text::CounterWouldOverflow,
                         0,
                         {},
                         {std::to_string(first), std::to_string(count), std::to_string(step)}});
    const std::string name = utf8(std::string(counter));
    TStatement advance(db_, "INSERT INTO counters(name, next) VALUES(?1, ?2) "
                            "ON CONFLICT(name) DO UPDATE SET next = excluded.next");
    advance.Bind(1, name).Bind(2, next);
    if (advance.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
    const base::TProcessIdentity self = base::CurrentProcess();
    TStatement open(db_, "INSERT INTO runs(started, host, pid, counter, first, count, step, "
                         "state, boot, started_process) "
                         "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, 'open', ?8, ?9)");
    open.Bind(1, timeText(std::time(nullptr), false))
        .Bind(2, hostName())
        .Bind(3, self.Pid)
        .Bind(8, self.Boot)
        .Bind(9, self.Start)
        .Bind(4, name)
        .Bind(5, first)
        .Bind(6, count)
        .Bind(7, step);
    if (open.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
    const std::int64_t run = sqlite3_last_insert_rowid(db_);
    if (!transaction.Commit()) fail(text::LogCannotWrite);
    return TTakenRun{run, first};
}

std::vector<TRunRecord> TMarkingLog::Runs() const {
    if (schema_ == 0) return {};
    const bool settledKept = schema_ >= 2;
    TStatement select(db_, settledKept
                               ? "SELECT id, started, counter, first, count, step, state, pid, "
                                 "boot, started_process, settled_by, host FROM runs ORDER BY id"
                               : "SELECT id, started, counter, first, count, step, state, pid, "
                                 "'', '', '', host FROM runs ORDER BY id");
    TStatement serials(db_, "SELECT serial FROM marks WHERE run = ?1 AND pending = 0");
    if (!select.Ok() || !serials.Ok()) fail(text::LogCannotOpen);
    const std::string host = hostName();
    std::vector<TRunRecord> runs;
    int stepped = 0;
    while ((stepped = select.Step()) == SQLITE_ROW) {
        TRunRecord run;
        run.Id = select.Int(0);
        run.Started = codePage(select.Text(1));
        run.Counter = codePage(select.Text(2));
        run.First = select.Int(3);
        run.Count = select.Int(4);
        run.Step = select.Int(5);
        run.State = codePage(select.Text(6));
        run.SettledBy = codePage(select.Text(10));
        // Not yet settled by a writer, but its process is gone all the same.
        if (run.State == "open" && codePage(select.Text(11)) == host &&
            !base::ProcessRunning(writer(select, 7)))
            run.State = "interrupted";
        std::vector<std::int64_t> used;
        serials.Bind(1, run.Id);
        while (serials.Step() == SQLITE_ROW)
            used.push_back(serials.Int(0));
        serials.Reset();
        run.Written = static_cast<std::int64_t>(used.size());
        std::sort(used.begin(), used.end());
        if (run.State != "open")
            for (std::int64_t k = 0; k < run.Count; ++k) {
                const std::int64_t n = run.First + k * run.Step;
                if (!std::binary_search(used.begin(), used.end(), n)) run.Unused.push_back(n);
            }
        runs.push_back(std::move(run));
    }
    if (stepped != SQLITE_DONE) fail(text::LogCannotOpen);
    return runs;
}

void TMarkingLog::FinishRun(std::int64_t run) {
    TStatement close(db_, "UPDATE runs SET state = 'done' WHERE id = ?1");
    close.Bind(1, run);
    if (close.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
}

TMarkingLog::TBegun TMarkingLog::BeginWrites(std::vector<TMarkRecord>& records,
                                             bool refuseDuplicates, std::int64_t run) {
    TBegun begun;
    TTransaction transaction(db_);
    if (!transaction.Ok()) fail(text::LogCannotWrite);
    if (refuseDuplicates)
        for (const TMarkRecord& record : records)
            if (auto earlier = FindContent(record.Text, record.ContentKind)) {
                begun.Duplicate = std::move(earlier);
                return begun;
            }
    const std::time_t now = std::time(nullptr);
    const std::string utc = timeText(now, false);
    const std::string local = timeText(now, true);
    const std::string user = userName();
    const std::string host = hostName();
    const base::TProcessIdentity self = base::CurrentProcess();
    TStatement insert(
        db_, "INSERT INTO marks(time_utc, time_local, user, host, pid, content, content_kind, "
             "human_readable, symbol_size, encodation, profile, job, output, sha256, read_back, "
             "counter, serial, pending, temporary, run, boot, started, content_key) "
             "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, "
             "1, ?18, ?19, ?20, ?21, ?22)");
    TStatement temporary(db_, "UPDATE marks SET temporary = ?2 WHERE id = ?1");
    if (!insert.Ok() || !temporary.Ok()) fail(text::LogCannotWrite);
    for (TMarkRecord& record : records) {
        record.TimeUtc = utc;
        record.TimeLocal = local;
        record.User = user;
        record.Host = host;
        record.Pending = true;
        // The file is found again by this name whatever folder a later look runs in.
        std::error_code ec;
        if (const fs::path absolute = fs::absolute(record.Output, ec); !ec)
            record.Output = absolute.lexically_normal();
        insert.Bind(1, utc).Bind(2, local).Bind(3, user).Bind(4, host);
        insert.Bind(5, self.Pid).Bind(20, self.Boot).Bind(21, self.Start);
        insert.Bind(22, utf8(ContentKey(record.ContentKind, record.Text)));
        insert.Bind(6, utf8(record.Text)).Bind(7, utf8(record.ContentKind));
        insert.Bind(8, utf8(record.HumanReadable)).Bind(9, utf8(record.SymbolSize));
        insert.Bind(10, utf8(record.Encodation)).Bind(11, utf8(record.Profile));
        insert.Bind(12, pathText(record.JobTemplate)).Bind(13, pathText(record.Output));
        insert.Bind(14, record.Sha256).Bind(15, utf8(record.ReadBack));
        insert.Bind(16, utf8(record.Counter));
        if (record.Serial)
            insert.Bind(17, *record.Serial);
        else
            insert.BindNull(17);
        insert.Bind(18, std::string()).Bind(19, run);
        if (insert.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
        insert.Reset();
        record.Id = sqlite3_last_insert_rowid(db_);
        if (!StoreGrade(db_, record.Id, record.Grade)) fail(text::LogCannotWrite);
        // Named after the record, so the next opening knows what a killed writer left.
        fs::path target = base::WriteTarget(record.Output);
        if (target.empty()) target = record.Output;
        fs::path through = target;
        through += ".korvex-" + std::to_string(record.Id) + ".tmp";
        temporary.Bind(1, record.Id).Bind(2, pathText(through));
        if (temporary.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
        temporary.Reset();
        begun.Temporaries.push_back(through);
    }
    if (!transaction.Commit()) fail(text::LogCannotWrite);
    return begun;
}

void TMarkingLog::FinishWrites(const std::vector<std::int64_t>& ids) {
    if (ids.empty()) return;
    // Marking done needs no flush of its own: should it be lost, the next opening finds the
    // file in place and marks it again.
    exec("PRAGMA synchronous=NORMAL", text::LogCannotWrite);
    {
        TTransaction transaction(db_);
        if (!transaction.Ok()) fail(text::LogCannotWrite);
        TStatement done(db_, "UPDATE marks SET pending = 0, temporary = '' WHERE id = ?1");
        for (const std::int64_t id : ids) {
            done.Bind(1, id);
            if (done.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
            done.Reset();
        }
        if (!transaction.Commit()) fail(text::LogCannotWrite);
    }
    exec("PRAGMA synchronous=FULL", text::LogCannotWrite);
}

void TMarkingLog::AbandonWrites(const std::vector<std::int64_t>& ids) {
    if (ids.empty()) return;
    TTransaction transaction(db_);
    if (!transaction.Ok()) fail(text::LogCannotWrite);
    TStatement drop(db_, "DELETE FROM marks WHERE id = ?1");
    for (const std::int64_t id : ids) {
        drop.Bind(1, id);
        if (drop.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
        drop.Reset();
    }
    if (!transaction.Commit()) fail(text::LogCannotWrite);
}

} // namespace korvex::log

#include "log/SqliteLog.h"

#include "base/PathText.h"
#include "base/TextNumbers.h"
#include "log/ContentKey.h"
#include "log/GradeRecord.h"
#include "log/RecordMapping.h"
#include "log/SqliteSchema.h"
#include "log/SqliteStatement.h"
#include "log/SqliteTransaction.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <thread>

namespace korvex::log {

namespace fs = std::filesystem;

namespace {

// Two processes creating the log at once both want the lock that turns on WAL; SQLite refuses
// one at once rather than wait (it would deadlock), so the refused one waits here instead.
bool switchToWal(sqlite3* db) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
        const int stepped = TSqlStatement(db, "PRAGMA journal_mode=WAL").Step();
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

bool readable(sqlite3* db) {
    return TSqlStatement(db, "PRAGMA user_version").Step() == SQLITE_ROW;
}

std::string immutableUri(const fs::path& file) {
    std::string path = PathUtf8(file);
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

void TSqliteLog::fail(int text) const {
    std::string detail = base::PathText(file_);
    int reason = 0;
    if (db_) {
        detail += ": " + std::string(sqlite3_errmsg(db_));
        reason = reasonText(sqlite3_extended_errcode(db_));
    }
    throw ELogError({text, 0, detail}, reason);
}

void TSqliteLog::exec(const char* sql, int failureText) const {
    if (!SqlExec(db_, sql)) fail(failureText);
}

TSqliteLog::TSqliteLog(const fs::path& file, TMarkingLog::TAccess access,
                       std::function<void()> waiting)
    : file_(file), wait_(std::make_unique<TWait>(TWait{std::move(waiting), false})) {
    const bool readOnly = access == TMarkingLog::TAccess::Read;
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    int opened = sqlite3_open_v2(PathUtf8(file).c_str(), &db_, flags, nullptr);
    if (opened == SQLITE_OK && readOnly && !readable(db_)) {
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
        open(access);
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

void TSqliteLog::open(TMarkingLog::TAccess access) {
    // Writers queue behind each other for as long as a large run may hold the log; the one
    // that waits says so at once, not after a minute of silence.
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
        TSqlStatement version(db_, "PRAGMA user_version");
        const int stepped = version.Step();
        if ((sqlite3_errcode(db_) & 0xFF) == SQLITE_NOTADB) fail(text::LogNotALog);
        if (stepped != SQLITE_ROW) fail(text::LogCannotOpen);
        schema_ = version.Int(0);
        if (schema_ > SchemaVersion) fail(text::LogNewerSchema);
    }
    if (const int refusal = SqliteOwnerRefusal(db_, schema_)) fail(refusal);
    if (access == TMarkingLog::TAccess::Read) return;
    if (!switchToWal(db_)) fail(text::LogCannotOpen);
    // A record must reach the disk before its file is renamed into place.
    exec("PRAGMA synchronous=FULL", text::LogCannotOpen);
    if (const int failed = MigrateSqlite(db_)) fail(failed);
    schema_ = SchemaVersion;
}

TSqliteLog::~TSqliteLog() {
    sqlite3_close(db_);
}

std::optional<std::pair<std::size_t, TMarkRecord>>
TSqliteLog::FindFirstLogged(const std::vector<std::string>& texts,
                            std::string_view contentKind) const {
    // Compared as a reader gets it, so the same content typed another way is found too.
    TSqlStatement find(db_, (std::string("SELECT ") + RecordColumns +
                             " FROM marks WHERE content_key = ?1 ORDER BY id LIMIT 1")
                                .c_str());
    if (!find.Ok()) fail(text::LogCannotOpen);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        find.Bind(1, Utf8(ContentKey(contentKind, texts[i])));
        const int stepped = find.Step();
        if (stepped == SQLITE_ROW) return std::pair{i, ReadRecord(find)};
        if (stepped != SQLITE_DONE) fail(text::LogCannotOpen);
        find.Reset();
    }
    return std::nullopt;
}

std::vector<TMarkRecord> TSqliteLog::Query(const TLogQuery& query) const {
    if (schema_ == 0) return {}; // an empty file looked at read-only
    std::string sql = std::string("SELECT ") + RecordColumns + " FROM marks WHERE pending = 0";
    if (!query.Since.empty()) sql += " AND substr(time_utc, 1, length(?1)) >= ?1";
    if (!query.Until.empty()) sql += " AND substr(time_utc, 1, length(?2)) <= ?2";
    if (!query.Text.empty()) sql += " AND content GLOB ?3";
    sql += " ORDER BY id";
    TSqlStatement select(db_, sql.c_str());
    if (!select.Ok()) fail(text::LogCannotOpen);
    if (!query.Since.empty()) select.Bind(1, query.Since);
    if (!query.Until.empty()) select.Bind(2, query.Until);
    if (!query.Text.empty()) {
        const bool pattern = query.Text.find_first_of("*?[") != std::string::npos;
        select.Bind(3, pattern ? Utf8(query.Text) : "*" + Utf8(query.Text) + "*");
    }
    std::vector<TMarkRecord> records;
    int stepped = 0;
    while ((stepped = select.Step()) == SQLITE_ROW)
        records.push_back(ReadRecord(select));
    if (stepped != SQLITE_DONE) fail(text::LogCannotOpen);
    return records;
}

std::vector<TMarkRecord> TSqliteLog::FindHash(std::string_view sha256) const {
    if (schema_ == 0) return {};
    TSqlStatement select(db_, (std::string("SELECT ") + RecordColumns +
                               " FROM marks WHERE sha256 = ?1 AND pending = 0 ORDER BY id DESC")
                                  .c_str());
    select.Bind(1, std::string(sha256));
    std::vector<TMarkRecord> records;
    while (select.Step() == SQLITE_ROW)
        records.push_back(ReadRecord(select));
    return records;
}

std::optional<TStoredCounter> TSqliteLog::ReadCounter(std::string_view counter) const {
    // A log of an older schema looked at read-only has counters that never reset.
    TSqlStatement select(db_, schema_ >= 4 ? "SELECT next, reset, period, start FROM counters "
                                             "WHERE name = ?1"
                                           : "SELECT next, 'never', '', 1 FROM counters "
                                             "WHERE name = ?1");
    select.Bind(1, Utf8(std::string(counter)));
    if (select.Step() != SQLITE_ROW) return std::nullopt;
    return TStoredCounter{select.Int(0), StoredReset(select.Text(1)), CodePage(select.Text(2)),
                          select.Int(3)};
}

std::optional<TMarkingLog::TTakenRun>
TSqliteLog::TakeSerials(std::string_view counter, std::int64_t count, std::int64_t step,
                        const TCounterAsk& ask, const std::function<bool(std::int64_t)>& accept) {
    TSqlTransaction transaction(db_);
    if (!transaction.Ok()) fail(text::LogCannotWrite);
    const TCounterTake take = TakeFrom(ReadCounter(counter), counter, ask);
    if (!take.Refusal.Empty()) throw ECounterRefused(take.Refusal);
    const std::int64_t first = take.First;
    if (accept && !accept(first)) return std::nullopt;
    const std::int64_t next = SerialsEnd(first, count, step);
    const std::string name = Utf8(std::string(counter));
    const std::string period = Utf8(take.Counter.Period);
    TSqlStatement advance(db_, "INSERT INTO counters(name, next, reset, period, start) "
                               "VALUES(?1, ?2, ?3, ?4, ?5) ON CONFLICT(name) DO UPDATE SET "
                               "next = excluded.next, reset = excluded.reset, "
                               "period = excluded.period, start = excluded.start");
    advance.Bind(1, name).Bind(2, next);
    advance.Bind(3, std::string(ncgen::CounterResetName(take.Counter.Reset)));
    advance.Bind(4, period).Bind(5, take.Counter.Start);
    if (advance.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
    const TWriter self = WriterNow();
    TSqlStatement open(db_, "INSERT INTO runs(started, host, pid, counter, first, count, step, "
                            "state, boot, started_process, period) "
                            "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, 'open', ?8, ?9, ?10)");
    open.Bind(1, self.TimeUtc).Bind(2, self.Host).Bind(3, self.Process.Pid);
    open.Bind(4, name).Bind(5, first).Bind(6, count).Bind(7, step);
    open.Bind(8, self.Process.Boot).Bind(9, self.Process.Start).Bind(10, period);
    if (open.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
    const std::int64_t run = sqlite3_last_insert_rowid(db_);
    if (!transaction.Commit()) fail(text::LogCannotWrite);
    return TMarkingLog::TTakenRun{run, first, take.Counter.Period};
}

std::vector<TStoredRun> TSqliteLog::Runs() const {
    if (schema_ == 0) return {};
    const bool settledKept = schema_ >= 2;
    TSqlStatement select(db_, settledKept
                                  ? "SELECT id, started, counter, first, count, step, state, pid, "
                                    "boot, started_process, settled_by, host FROM runs ORDER BY id"
                                  : "SELECT id, started, counter, first, count, step, state, pid, "
                                    "'', '', '', host FROM runs ORDER BY id");
    TSqlStatement serials(db_, "SELECT serial FROM marks WHERE run = ?1 AND pending = 0");
    if (!select.Ok() || !serials.Ok()) fail(text::LogCannotOpen);
    std::vector<TStoredRun> runs;
    int stepped = 0;
    while ((stepped = select.Step()) == SQLITE_ROW) {
        TStoredRun stored;
        TRunRecord& run = stored.Run;
        run.Id = select.Int(0);
        run.Started = CodePage(select.Text(1));
        run.Counter = CodePage(select.Text(2));
        run.First = select.Int(3);
        run.Count = select.Int(4);
        run.Step = select.Int(5);
        run.State = CodePage(select.Text(6));
        run.SettledBy = CodePage(select.Text(10));
        stored.Host = CodePage(select.Text(11));
        stored.Writer = ReadWriter(select, 7);
        serials.Bind(1, run.Id);
        while (serials.Step() == SQLITE_ROW)
            stored.Used.push_back(serials.Int(0));
        serials.Reset();
        runs.push_back(std::move(stored));
    }
    if (stepped != SQLITE_DONE) fail(text::LogCannotOpen);
    return runs;
}

void TSqliteLog::FinishRun(std::int64_t run) {
    TSqlStatement close(db_, "UPDATE runs SET state = 'done' WHERE id = ?1");
    close.Bind(1, run);
    if (close.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
}

TMarkingLog::TBegun TSqliteLog::BeginWrites(std::vector<TMarkRecord>& records,
                                            bool refuseDuplicates, std::int64_t run) {
    TMarkingLog::TBegun begun;
    TSqlTransaction transaction(db_);
    if (!transaction.Ok()) fail(text::LogCannotWrite);
    if (refuseDuplicates)
        for (const TMarkRecord& record : records)
            if (auto earlier = FindFirstLogged({record.Text}, record.ContentKind)) {
                begun.Duplicate = std::move(earlier->second);
                return begun;
            }
    const TWriter self = WriterNow();
    std::string sql = std::string("INSERT INTO marks(") + InsertColumns + ") VALUES(?1";
    for (int i = 2; i <= InsertColumnCount; ++i)
        sql += ", ?" + std::to_string(i);
    TSqlStatement insert(db_, (sql + ")").c_str());
    TSqlStatement temporary(db_, "UPDATE marks SET temporary = ?2 WHERE id = ?1");
    if (!insert.Ok() || !temporary.Ok()) fail(text::LogCannotWrite);
    for (TMarkRecord& record : records) {
        const std::vector<TValue> values = InsertValues(record, self, run);
        for (std::size_t i = 0; i < values.size(); ++i)
            insert.Bind(static_cast<int>(i + 1), values[i]);
        if (insert.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
        insert.Reset();
        record.Id = sqlite3_last_insert_rowid(db_);
        if (!StoreGrade(db_, record.Id, record.Grade)) fail(text::LogCannotWrite);
        const fs::path through = TemporaryFor(record.Output, record.Id);
        temporary.Bind(1, record.Id).Bind(2, PathUtf8(through));
        if (temporary.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
        temporary.Reset();
        begun.Temporaries.push_back(through);
    }
    if (!transaction.Commit()) fail(text::LogCannotWrite);
    return begun;
}

void TSqliteLog::changeEach(const char* sql, const std::vector<std::int64_t>& ids) const {
    TSqlStatement change(db_, sql);
    for (const std::int64_t id : ids) {
        change.Bind(1, id);
        if (change.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
        change.Reset();
    }
}

constexpr const char* MARK_DONE = "UPDATE marks SET pending = 0, temporary = '' WHERE id = ?1";
constexpr const char* DROP_MARK = "DELETE FROM marks WHERE id = ?1";

void TSqliteLog::FinishWrites(const std::vector<std::int64_t>& ids) {
    if (ids.empty()) return;
    // Marking done needs no flush of its own: should it be lost, the next opening finds the
    // file in place and marks it again.
    exec("PRAGMA synchronous=NORMAL", text::LogCannotWrite);
    {
        TSqlTransaction transaction(db_);
        if (!transaction.Ok()) fail(text::LogCannotWrite);
        changeEach(MARK_DONE, ids);
        if (!transaction.Commit()) fail(text::LogCannotWrite);
    }
    exec("PRAGMA synchronous=FULL", text::LogCannotWrite);
}

void TSqliteLog::AbandonWrites(const std::vector<std::int64_t>& ids) {
    if (ids.empty()) return;
    TSqlTransaction transaction(db_);
    if (!transaction.Ok()) fail(text::LogCannotWrite);
    changeEach(DROP_MARK, ids);
    if (!transaction.Commit()) fail(text::LogCannotWrite);
}

std::vector<TPendingWrite> TSqliteLog::PendingOf(std::string_view host) const {
    TSqlStatement pending(db_, "SELECT id, pid, boot, started, output, sha256, temporary "
                               "FROM marks WHERE pending = 1 AND host = ?1");
    pending.Bind(1, std::string(host));
    std::vector<TPendingWrite> left;
    while (pending.Step() == SQLITE_ROW)
        left.push_back({pending.Int(0), ReadWriter(pending, 1), PathFromUtf8(pending.Text(4)),
                        CodePage(pending.Text(5)), PathFromUtf8(pending.Text(6))});
    return left;
}

std::vector<TStoredRun> TSqliteLog::OpenRunsOf(std::string_view host) const {
    TSqlStatement runs(db_, "SELECT id, pid, boot, started_process, started, counter, first, "
                            "count, step FROM runs WHERE state = 'open' AND host = ?1");
    runs.Bind(1, std::string(host));
    std::vector<TStoredRun> open;
    while (runs.Step() == SQLITE_ROW)
        open.push_back(ReadOpenRun(runs, std::string(host)));
    return open;
}

void TSqliteLog::Settle(const std::vector<std::int64_t>& completed,
                        const std::vector<std::int64_t>& abandoned,
                        std::vector<TInterruptedRun>& runs, const std::string& settler) {
    TSqlTransaction transaction(db_);
    if (!transaction.Ok()) fail(text::LogCannotWrite);
    changeEach(MARK_DONE, completed);
    changeEach(DROP_MARK, abandoned);
    TSqlStatement close(db_,
                        "UPDATE runs SET state = 'interrupted', settled_by = ?2 WHERE id = ?1");
    TSqlStatement written(db_, "SELECT count(*) FROM marks WHERE run = ?1");
    for (TInterruptedRun& run : runs) {
        close.Bind(1, run.Id).Bind(2, Utf8(settler));
        if (close.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
        close.Reset();
        written.Bind(1, run.Id);
        if (written.Step() == SQLITE_ROW) run.Written = written.Int(0);
        written.Reset();
    }
    if (!transaction.Commit()) fail(text::LogCannotWrite);
}

} // namespace korvex::log

#include "log/PgLog.h"

#include "base/TextNumbers.h"
#include "log/ContentKey.h"
#include "log/CounterReset.h"
#include "log/GradeRecord.h"
#include "log/PgResult.h"
#include "log/RecordMapping.h"
#include "log/Verification.h"

#include <libpq-fe.h>

#include <iterator>

namespace korvex::log {

namespace fs = std::filesystem;

namespace {

// Each entry takes the server's schema one version further; korvex.owner says whose it is.
constexpr const char* MIGRATIONS[] = {
    R"(CREATE TABLE korvex.owner(application INTEGER NOT NULL, version INTEGER NOT NULL);
       INSERT INTO korvex.owner VALUES(1263687256, 0);
       CREATE TABLE korvex.marks(
         id BIGSERIAL PRIMARY KEY,
         time_utc TEXT NOT NULL, time_local TEXT NOT NULL,
         "user" TEXT NOT NULL, host TEXT NOT NULL, pid BIGINT NOT NULL,
         content TEXT NOT NULL, content_kind TEXT NOT NULL, human_readable TEXT NOT NULL,
         symbol_size TEXT NOT NULL, encodation TEXT NOT NULL, profile TEXT NOT NULL,
         job TEXT NOT NULL, output TEXT NOT NULL, sha256 TEXT NOT NULL,
         read_back TEXT NOT NULL, counter TEXT NOT NULL, serial BIGINT,
         pending INTEGER NOT NULL, temporary TEXT NOT NULL, run BIGINT NOT NULL,
         boot TEXT NOT NULL, started TEXT NOT NULL, content_key TEXT NOT NULL);
       CREATE INDEX marks_key ON korvex.marks(content_key);
       CREATE INDEX marks_sha ON korvex.marks(sha256);
       CREATE INDEX marks_time ON korvex.marks(time_utc);
       CREATE INDEX marks_run ON korvex.marks(run);
       CREATE TABLE korvex.counters(name TEXT PRIMARY KEY, next BIGINT NOT NULL);
       CREATE TABLE korvex.runs(id BIGSERIAL PRIMARY KEY, started TEXT NOT NULL,
         host TEXT NOT NULL, pid BIGINT NOT NULL, counter TEXT NOT NULL, first BIGINT NOT NULL,
         count BIGINT NOT NULL, step BIGINT NOT NULL, state TEXT NOT NULL,
         boot TEXT NOT NULL, started_process TEXT NOT NULL, settled_by TEXT NOT NULL);
       COMMENT ON SCHEMA korvex IS 'Korvex marking log';)",
    PgCounterResetMigration,
    PgVerificationMigration,
    PgGradeMigration,
};
constexpr std::int64_t SERVER_SCHEMA = std::size(MIGRATIONS);
// The version that brought the counters' reset.
constexpr std::int64_t RESET_SCHEMA = 2;
constexpr std::int64_t APPLICATION = 1263687256; // "KRVX", as the SQLite log's application id

// libpq may call a connection whose server went away good until it is used once more.
bool serverGone(pg_conn* db) {
    if (!db || PQstatus(db) != CONNECTION_OK) return true;
    PGresult* probe = PQexec(db, "");
    const bool gone = PQresultStatus(probe) != PGRES_EMPTY_QUERY || PQstatus(db) != CONNECTION_OK;
    PQclear(probe);
    return gone;
}

// The GLOB of the SQLite log as a regular expression: * and ? as wildcards, [...] and [^...]
// as a set of characters, the rest as itself.
std::string globRegex(const std::string& glob) {
    std::string pattern;
    for (std::size_t i = 0; i < glob.size(); ++i) {
        const char c = glob[i];
        // As GLOB: a ']' right after "[" or "[^" is a member, not the end.
        const std::size_t first = i + 1 + (i + 1 < glob.size() && glob[i + 1] == '^');
        const std::size_t close = c == '[' ? glob.find(']', first + 1) : std::string::npos;
        if (close != std::string::npos) {
            pattern += '[';
            for (std::size_t k = i + 1; k < close; ++k)
                pattern += glob[k] == '\\' ? std::string("\\\\") : std::string(1, glob[k]);
            pattern += ']';
            i = close;
        } else {
            pattern += c == '*'   ? std::string(".*")
                       : c == '?' ? std::string(".")
                       : std::string("\\^$.|+(){}[]").find(c) != std::string::npos
                           ? std::string("\\") + c
                           : std::string(1, c);
        }
    }
    return pattern;
}

std::string select(const char* where) {
    return std::string("SELECT ") + RecordColumns + " FROM korvex.marks " + where;
}

} // namespace

void TPgLog::fail(int text, const std::string& detail) const {
    std::string words = detail.empty() && db_ ? PQerrorMessage(db_) : detail;
    while (!words.empty() && (words.back() == '\n' || words.back() == ' '))
        words.pop_back();
    const bool gone = serverGone(db_);
    throw ELogError({text, 0, server_ + ": " + CodePage(words)},
                    gone ? text::LogReasonServerGone : 0);
}

TPgResult TPgLog::run(const char* sql, const std::vector<TValue>& values, int failureText) const {
    TPgResult result(db_, sql, values);
    if (!result.Ok()) fail(failureText);
    return result;
}

TPgLog::TPgLog(const std::string& url, TMarkingLog::TAccess access, std::function<void()> waiting)
    : server_(ServerName(url)), waiting_(std::move(waiting)) {
    db_ = PQconnectdb(url.c_str());
    if (!db_ || PQstatus(db_) != CONNECTION_OK) {
        try {
            fail(text::LogCannotOpen);
        } catch (...) {
            PQfinish(db_);
            db_ = nullptr;
            throw;
        }
    }
    try {
        // The server's notices ("schema already exists") are no message for the user.
        PQsetNoticeProcessor(
            db_, [](void*, const char*) {}, nullptr);
        run("SET client_encoding = 'UTF8'", {}, text::LogCannotOpen);
        // A log on a server that cannot say whose tables these are is refused, as a file is.
        TPgResult found = run("SELECT n.nspname, o.relname FROM pg_namespace n LEFT JOIN "
                              "pg_class o ON o.relnamespace = n.oid AND o.relname = 'owner' "
                              "WHERE n.nspname = 'korvex'",
                              {}, text::LogCannotOpen);
        if (found.Rows() > 0 && found.At(0).IsNull(1)) fail(text::LogForeignDatabase, "korvex");
        schema_ = found.Rows() > 0;
        if (schema_) {
            TPgResult owner =
                run("SELECT application, version FROM korvex.owner", {}, text::LogCannotOpen);
            if (owner.Rows() != 1 || owner.At(0).Int(0) != APPLICATION)
                fail(text::LogForeignDatabase, "korvex.owner");
            if (owner.Int(1) > SERVER_SCHEMA) fail(text::LogNewerSchema, "korvex.owner");
            version_ = owner.Int(1);
        }
        if (access == TMarkingLog::TAccess::Write) migrate();
    } catch (...) {
        PQfinish(db_);
        db_ = nullptr;
        throw;
    }
}

TPgLog::~TPgLog() {
    PQfinish(db_);
}

void TPgLog::migrate() {
    // Stations starting at once: one creates, the others find it done.
    TPgTransaction transaction(db_, true, &waiting_);
    if (!transaction.Ok()) fail(text::LogCannotOpen);
    run("CREATE SCHEMA IF NOT EXISTS korvex", {}, text::LogCannotWrite);
    std::int64_t version = 0;
    TPgResult owner = run("SELECT count(*) FROM pg_class c JOIN pg_namespace n ON "
                          "c.relnamespace = n.oid WHERE n.nspname = 'korvex' AND "
                          "c.relname = 'owner'",
                          {}, text::LogCannotOpen);
    if (owner.At(0).Int(0) > 0)
        version = run("SELECT version FROM korvex.owner", {}, text::LogCannotOpen).At(0).Int(0);
    if (version > SERVER_SCHEMA) fail(text::LogNewerSchema, "korvex.owner");
    for (std::int64_t v = version; v < SERVER_SCHEMA; ++v)
        run(MIGRATIONS[v], {}, text::LogCannotWrite);
    run("UPDATE korvex.owner SET version = $1", {SERVER_SCHEMA}, text::LogCannotWrite);
    if (!transaction.Commit()) fail(text::LogCannotWrite);
    schema_ = true;
    version_ = SERVER_SCHEMA;
}

std::optional<std::pair<std::size_t, TMarkRecord>>
TPgLog::FindFirstLogged(const std::vector<std::string>& texts, std::string_view contentKind) const {
    if (!schema_) return std::nullopt;
    const std::string sql = select("WHERE content_key = $1 ORDER BY id LIMIT 1");
    for (std::size_t i = 0; i < texts.size(); ++i) {
        TPgResult found =
            run(sql.c_str(), {Utf8(ContentKey(contentKind, texts[i]))}, text::LogCannotOpen);
        if (found.Rows() > 0) return std::pair{i, ReadRecord(found.At(0))};
    }
    return std::nullopt;
}

std::vector<TMarkRecord> TPgLog::Query(const TLogQuery& query) const {
    if (!schema_) return {};
    std::string where = "WHERE pending = 0";
    std::vector<TValue> values;
    const auto param = [&](std::string value) {
        values.push_back(std::move(value));
        return "$" + std::to_string(values.size());
    };
    if (!query.Since.empty()) {
        const std::string p = param(query.Since);
        where += " AND substr(time_utc, 1, length(" + p + ")) >= " + p;
    }
    if (!query.Until.empty()) {
        const std::string p = param(query.Until);
        where += " AND substr(time_utc, 1, length(" + p + ")) <= " + p;
    }
    if (!query.Text.empty()) {
        const bool wild = query.Text.find_first_of("*?[") != std::string::npos;
        const std::string pattern = globRegex(Utf8(query.Text));
        where += " AND content ~ " + param(wild ? "^" + pattern + "$" : pattern);
    }
    TPgResult found =
        run(select((where + " ORDER BY id").c_str()).c_str(), values, text::LogCannotOpen);
    std::vector<TMarkRecord> records;
    for (int i = 0; i < found.Rows(); ++i)
        records.push_back(ReadRecord(found.At(i)));
    return records;
}

std::vector<TMarkRecord> TPgLog::FindHash(std::string_view sha256) const {
    if (!schema_) return {};
    TPgResult found = run(select("WHERE sha256 = $1 AND pending = 0 ORDER BY id DESC").c_str(),
                          {std::string(sha256)}, text::LogCannotOpen);
    std::vector<TMarkRecord> records;
    for (int i = 0; i < found.Rows(); ++i)
        records.push_back(ReadRecord(found.At(i)));
    return records;
}

std::optional<TStoredCounter> TPgLog::ReadCounter(std::string_view counter) const {
    if (!schema_) return std::nullopt;
    // An older schema looked at read-only has counters that never reset.
    TPgResult found = run(version_ >= RESET_SCHEMA
                              ? "SELECT next, reset, period, start FROM korvex.counters "
                                "WHERE name = $1"
                              : "SELECT next, 'never', '', 1 FROM korvex.counters WHERE name = $1",
                          {Utf8(std::string(counter))}, text::LogCannotOpen);
    if (found.Rows() == 0) return std::nullopt;
    const TPgResult& row = found.At(0);
    return TStoredCounter{row.Int(0), StoredReset(row.Text(1)), CodePage(row.Text(2)), row.Int(3)};
}

std::optional<TMarkingLog::TTakenRun>
TPgLog::TakeSerials(std::string_view counter, std::int64_t count, std::int64_t step,
                    const TCounterAsk& ask, const std::function<bool(std::int64_t)>& accept) {
    TPgTransaction transaction(db_, true, &waiting_);
    if (!transaction.Ok()) fail(text::LogCannotWrite);
    const TCounterTake take = TakeFrom(ReadCounter(counter), counter, ask);
    if (!take.Refusal.Empty()) throw ECounterRefused(take.Refusal);
    const std::int64_t first = take.First;
    if (accept && !accept(first)) return std::nullopt;
    const std::int64_t next = SerialsEnd(first, count, step);
    const std::string name = Utf8(std::string(counter));
    const std::string period = Utf8(take.Counter.Period);
    run("INSERT INTO korvex.counters(name, next, reset, period, start) "
        "VALUES($1, $2, $3, $4, $5) ON CONFLICT(name) DO UPDATE SET next = excluded.next, "
        "reset = excluded.reset, period = excluded.period, start = excluded.start",
        {name, next, std::string(ncgen::CounterResetName(take.Counter.Reset)), period,
         take.Counter.Start},
        text::LogCannotWrite);
    const TWriter self = WriterNow();
    TPgResult opened = run("INSERT INTO korvex.runs(started, host, pid, counter, first, count, "
                           "step, state, boot, started_process, settled_by, period) "
                           "VALUES($1, $2, $3, $4, $5, $6, $7, 'open', $8, $9, '', $10) "
                           "RETURNING id",
                           {self.TimeUtc, self.Host, self.Process.Pid, name, first, count, step,
                            self.Process.Boot, self.Process.Start, period},
                           text::LogCannotWrite);
    const std::int64_t id = opened.At(0).Int(0);
    if (!transaction.Commit()) fail(text::LogCannotWrite);
    return TMarkingLog::TTakenRun{id, first, take.Counter.Period};
}

std::vector<TStoredRun> TPgLog::Runs() const {
    if (!schema_) return {};
    TPgResult found = run("SELECT id, started, counter, first, count, step, state, pid, boot, "
                          "started_process, settled_by, host FROM korvex.runs ORDER BY id",
                          {}, text::LogCannotOpen);
    TPgResult serials = run("SELECT run, serial FROM korvex.marks WHERE run <> 0 AND "
                            "pending = 0 AND serial IS NOT NULL ORDER BY run",
                            {}, text::LogCannotOpen);
    std::vector<TStoredRun> runs;
    int s = 0;
    for (int i = 0; i < found.Rows(); ++i) {
        found.At(i);
        TStoredRun stored;
        TRunRecord& r = stored.Run;
        r.Id = found.Int(0);
        r.Started = CodePage(found.Text(1));
        r.Counter = CodePage(found.Text(2));
        r.First = found.Int(3);
        r.Count = found.Int(4);
        r.Step = found.Int(5);
        r.State = CodePage(found.Text(6));
        r.SettledBy = CodePage(found.Text(10));
        stored.Host = CodePage(found.Text(11));
        stored.Writer = ReadWriter(found, 7);
        while (s < serials.Rows() && serials.At(s).Int(0) < r.Id)
            ++s;
        for (; s < serials.Rows() && serials.At(s).Int(0) == r.Id; ++s)
            stored.Used.push_back(serials.Int(1));
        runs.push_back(std::move(stored));
    }
    return runs;
}

void TPgLog::FinishRun(std::int64_t id) {
    run("UPDATE korvex.runs SET state = 'done' WHERE id = $1", {id}, text::LogCannotWrite);
}

TMarkingLog::TBegun TPgLog::BeginWrites(std::vector<TMarkRecord>& records, bool refuseDuplicates,
                                        std::int64_t runId) {
    TMarkingLog::TBegun begun;
    TPgTransaction transaction(db_, true, &waiting_);
    if (!transaction.Ok()) fail(text::LogCannotWrite);
    if (refuseDuplicates)
        for (const TMarkRecord& record : records)
            if (auto earlier = FindFirstLogged({record.Text}, record.ContentKind)) {
                begun.Duplicate = std::move(earlier->second);
                return begun;
            }
    const TWriter self = WriterNow();
    std::string sql = std::string("INSERT INTO korvex.marks(") + InsertColumns + ") VALUES($1";
    for (int i = 2; i <= InsertColumnCount; ++i)
        sql += ", $" + std::to_string(i);
    sql += ") RETURNING id";
    for (TMarkRecord& record : records) {
        TPgResult inserted =
            run(sql.c_str(), InsertValues(record, self, runId), text::LogCannotWrite);
        record.Id = inserted.At(0).Int(0);
        const fs::path through = TemporaryFor(record.Output, record.Id);
        run("UPDATE korvex.marks SET temporary = $2 WHERE id = $1", {record.Id, PathUtf8(through)},
            text::LogCannotWrite);
        if (!record.Grade.empty())
            run("UPDATE korvex.marks SET grade = $2 WHERE id = $1", {record.Id, Utf8(record.Grade)},
                text::LogCannotWrite);
        begun.Temporaries.push_back(through);
    }
    if (!transaction.Commit()) fail(text::LogCannotWrite);
    return begun;
}

void TPgLog::changeEach(const char* sql, const std::vector<std::int64_t>& ids) const {
    for (const std::int64_t id : ids)
        run(sql, {id}, text::LogCannotWrite);
}

constexpr const char* MARK_DONE =
    "UPDATE korvex.marks SET pending = 0, temporary = '' WHERE id = $1";
constexpr const char* DROP_MARK = "DELETE FROM korvex.marks WHERE id = $1";

void TPgLog::FinishWrites(const std::vector<std::int64_t>& ids) {
    if (ids.empty()) return;
    TPgTransaction transaction(db_, false);
    if (!transaction.Ok()) fail(text::LogCannotWrite);
    changeEach(MARK_DONE, ids);
    if (!transaction.Commit()) fail(text::LogCannotWrite);
}

void TPgLog::AbandonWrites(const std::vector<std::int64_t>& ids) {
    if (ids.empty()) return;
    TPgTransaction transaction(db_, false);
    if (!transaction.Ok()) fail(text::LogCannotWrite);
    changeEach(DROP_MARK, ids);
    if (!transaction.Commit()) fail(text::LogCannotWrite);
}

std::vector<TPendingWrite> TPgLog::PendingOf(std::string_view host) const {
    TPgResult found = run("SELECT id, pid, boot, started, output, sha256, temporary "
                          "FROM korvex.marks WHERE pending = 1 AND host = $1",
                          {std::string(host)}, text::LogCannotOpen);
    std::vector<TPendingWrite> left;
    for (int i = 0; i < found.Rows(); ++i) {
        found.At(i);
        left.push_back({found.Int(0), ReadWriter(found, 1), PathFromUtf8(found.Text(4)),
                        CodePage(found.Text(5)), PathFromUtf8(found.Text(6))});
    }
    return left;
}

std::vector<TStoredRun> TPgLog::OpenRunsOf(std::string_view host) const {
    TPgResult found = run("SELECT id, pid, boot, started_process, started, counter, first, "
                          "count, step FROM korvex.runs WHERE state = 'open' AND host = $1",
                          {std::string(host)}, text::LogCannotOpen);
    std::vector<TStoredRun> open;
    for (int i = 0; i < found.Rows(); ++i)
        open.push_back(ReadOpenRun(found.At(i), std::string(host)));
    return open;
}

void TPgLog::Settle(const std::vector<std::int64_t>& completed,
                    const std::vector<std::int64_t>& abandoned, std::vector<TInterruptedRun>& runs,
                    const std::string& settler) {
    TPgTransaction transaction(db_, true, &waiting_);
    if (!transaction.Ok()) fail(text::LogCannotWrite);
    changeEach(MARK_DONE, completed);
    changeEach(DROP_MARK, abandoned);
    for (TInterruptedRun& r : runs) {
        run("UPDATE korvex.runs SET state = 'interrupted', settled_by = $2 WHERE id = $1",
            {r.Id, Utf8(settler)}, text::LogCannotWrite);
        r.Written =
            run("SELECT count(*) FROM korvex.marks WHERE run = $1", {r.Id}, text::LogCannotOpen)
                .At(0)
                .Int(0);
    }
    if (!transaction.Commit()) fail(text::LogCannotWrite);
}

} // namespace korvex::log

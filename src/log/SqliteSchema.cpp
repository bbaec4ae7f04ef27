#include "log/SqliteSchema.h"

#include "base/TextNumbers.h"
#include "log/ContentKey.h"
#include "log/CounterReset.h"
#include "log/GradeRecord.h"
#include "log/MarkingLog.h"
#include "log/RecordMapping.h"
#include "log/SqliteStatement.h"
#include "log/SqliteTransaction.h"
#include "log/Verification.h"

#include <sqlite3.h>

#include <string>
#include <utility>
#include <vector>

namespace korvex::log {

namespace {

// Records of a log from before the key compare as a reader would, like new ones.
bool fillContentKeys(sqlite3* db) {
    TSqlStatement select(db, "SELECT id, content, content_kind FROM marks");
    TSqlStatement set(db, "UPDATE marks SET content_key = ?2 WHERE id = ?1");
    std::vector<std::pair<std::int64_t, std::string>> keys;
    while (select.Step() == SQLITE_ROW)
        keys.emplace_back(select.Int(0),
                          ContentKey(CodePage(select.Text(2)), CodePage(select.Text(1))));
    for (const auto& [id, key] : keys) {
        set.Bind(1, id).Bind(2, Utf8(key));
        if (set.Step() != SQLITE_DONE) return false;
        set.Reset();
    }
    return true;
}

struct TMigration {
    const char* Sql;
    bool (*After)(sqlite3*); // what SQL alone cannot do; may be null
};

// Each entry takes the schema one version further; a log of version n runs entries n.. .
constexpr TMigration MIGRATIONS[] = {
    {R"(CREATE TABLE marks(
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
     nullptr},
    // The writer's boot and start time beside its pid, so a pid reused after a reboot does
    // not keep a dead writer's records pending; the key a duplicate is found by (its content
    // as a reader gets it); who settled a run.
    {R"(ALTER TABLE marks ADD COLUMN boot TEXT NOT NULL DEFAULT '';
       ALTER TABLE marks ADD COLUMN started TEXT NOT NULL DEFAULT '';
       ALTER TABLE marks ADD COLUMN content_key TEXT NOT NULL DEFAULT '';
       CREATE INDEX marks_key ON marks(content_key);
       ALTER TABLE runs ADD COLUMN boot TEXT NOT NULL DEFAULT '';
       ALTER TABLE runs ADD COLUMN started_process TEXT NOT NULL DEFAULT '';
       ALTER TABLE runs ADD COLUMN settled_by TEXT NOT NULL DEFAULT '';)",
     fillContentKeys},
    {GradeMigration, nullptr},
    {CounterResetMigration, nullptr},
    {SqliteVerificationMigration, nullptr},
};
static_assert(std::size(MIGRATIONS) == SchemaVersion);

} // namespace

int SqliteOwnerRefusal(sqlite3* db, std::int64_t version) {
    TSqlStatement id(db, "PRAGMA application_id");
    if (id.Step() != SQLITE_ROW) return text::LogCannotOpen;
    const std::int64_t found = id.Int(0);
    if (found == ApplicationId) return 0;
    if (found != 0) return text::LogForeignDatabase;
    TSqlStatement tables(db, "SELECT count(*), count(CASE WHEN name IN ('marks', 'counters', "
                             "'runs') THEN 1 END) FROM sqlite_master WHERE type = 'table'");
    if (tables.Step() != SQLITE_ROW) return text::LogCannotOpen;
    const std::int64_t all = tables.Int(0);
    const std::int64_t ours = tables.Int(1);
    if (all == 0 && version == 0) return 0;
    if (version >= 1 && ours == 3 && all == 3) return 0;
    return text::LogForeignDatabase;
}

int MigrateSqlite(sqlite3* db) {
    TSqlTransaction transaction(db);
    if (!transaction.Ok()) return text::LogCannotOpen;
    TSqlStatement version(db, "PRAGMA user_version");
    if (version.Step() != SQLITE_ROW) return text::LogCannotOpen;
    const std::int64_t found = version.Int(0);
    // Another process may have migrated between the first look and this transaction.
    if (found > SchemaVersion) return text::LogNewerSchema;
    TSqlStatement id(db, "PRAGMA application_id");
    if (id.Step() != SQLITE_ROW) return text::LogCannotOpen;
    if (found == SchemaVersion && id.Int(0) == ApplicationId) return 0;
    for (std::int64_t v = found; v < SchemaVersion; ++v) {
        const TMigration& step = MIGRATIONS[v];
        if (!SqlExec(db, step.Sql) || (step.After && !step.After(db))) return text::LogCannotWrite;
    }
    const std::string mark = "PRAGMA user_version=" + std::to_string(SchemaVersion) +
                             "; PRAGMA application_id=" + std::to_string(ApplicationId);
    if (!SqlExec(db, mark.c_str()) || !transaction.Commit()) return text::LogCannotWrite;
    return 0;
}

} // namespace korvex::log

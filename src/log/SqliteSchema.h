#pragma once

#include <cstdint>

struct sqlite3;

namespace korvex::log {

// The language text of why the database is not taken (0: it is Korvex's, or empty, or a log
// of a Korvex from before the application id). version is its PRAGMA user_version.
int SqliteOwnerRefusal(sqlite3* db, std::int64_t version);

// Brings the log to SchemaVersion and marks it as Korvex's, in one transaction; the language
// text of what failed, or 0.
int MigrateSqlite(sqlite3* db);

} // namespace korvex::log

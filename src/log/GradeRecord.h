#pragma once

#include <cstdint>
#include <string>

struct sqlite3;

namespace korvex::log {

// The schema step that gives every record the predicted grade of its program ("A, AS9132
// passes, reads"; empty when none was predicted).
inline constexpr const char* GradeMigration =
    "ALTER TABLE marks ADD COLUMN grade TEXT NOT NULL DEFAULT '';";
inline constexpr const char* PgGradeMigration =
    "ALTER TABLE korvex.marks ADD COLUMN grade TEXT NOT NULL DEFAULT '';";

// Stores the grade of the record just inserted, in the writer's transaction; false when the
// database refuses it.
bool StoreGrade(sqlite3* db, std::int64_t id, const std::string& grade);

// The grade a record holds; empty for one written before grades were kept.
std::string StoredGrade(sqlite3* db, std::int64_t id);

} // namespace korvex::log

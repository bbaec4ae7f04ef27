#include "log/GradeRecord.h"

#include <sqlite3.h>

namespace korvex::log {

bool StoreGrade(sqlite3* db, std::int64_t id, const std::string& grade) {
    if (grade.empty()) return true;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "UPDATE marks SET grade = ?1 WHERE id = ?2", -1, &statement,
                           nullptr) != SQLITE_OK)
        return false;
    sqlite3_bind_text(statement, 1, grade.data(), static_cast<int>(grade.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(statement, 2, id);
    const bool done = sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_finalize(statement);
    return done;
}

std::string StoredGrade(sqlite3* db, std::int64_t id) {
    sqlite3_stmt* statement = nullptr;
    std::string grade;
    if (sqlite3_prepare_v2(db, "SELECT grade FROM marks WHERE id = ?1", -1, &statement, nullptr) !=
        SQLITE_OK)
        return grade;
    sqlite3_bind_int64(statement, 1, id);
    if (sqlite3_step(statement) == SQLITE_ROW)
        if (const unsigned char* text = sqlite3_column_text(statement, 0))
            grade = reinterpret_cast<const char*>(text);
    sqlite3_finalize(statement);
    return grade;
}

} // namespace korvex::log

// The SQLite log's share of the verifications (log/Verification.h).
#include "base/TextNumbers.h"
#include "log/GradeRecord.h"
#include "log/SqliteLog.h"
#include "log/SqliteStatement.h"
#include "log/Verification.h"

#include <sqlite3.h>

#include <string>

namespace korvex::log {

namespace {
// The schema version that brought the table; an older log looked at read-only has none.
constexpr std::int64_t VerificationSchema = 5;
} // namespace

void TSqliteLog::AddVerification(TVerification& verification) {
    TSqlStatement insert(db_, (std::string("INSERT INTO verifications(") + VerificationColumns +
                               ") VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)")
                                  .c_str());
    if (!insert.Ok()) fail(text::LogCannotWrite);
    const std::vector<TValue> values = VerificationValues(verification);
    for (std::size_t i = 0; i < values.size(); ++i)
        insert.Bind(static_cast<int>(i + 1), values[i]);
    if (insert.Step() != SQLITE_DONE) fail(text::LogCannotWrite);
    verification.Id = sqlite3_last_insert_rowid(db_);
}

std::vector<TVerification> TSqliteLog::VerificationsOf(std::int64_t mark) const {
    if (schema_ < VerificationSchema) return {};
    TSqlStatement select(db_, (std::string("SELECT id, ") + VerificationColumns +
                               " FROM verifications WHERE mark = ?1 ORDER BY id")
                                  .c_str());
    if (!select.Ok()) fail(text::LogCannotOpen);
    select.Bind(1, mark);
    std::vector<TVerification> found;
    int stepped = 0;
    while ((stepped = select.Step()) == SQLITE_ROW) {
        found.push_back(ReadVerification(select, 1));
        found.back().Id = select.Int(0);
    }
    if (stepped != SQLITE_DONE) fail(text::LogCannotOpen);
    return found;
}

std::vector<TMarkRecord> TSqliteLog::Unverified() const {
    if (schema_ < VerificationSchema) return Query({});
    TSqlStatement select(db_, (std::string("SELECT ") + RecordColumns +
                               " FROM marks WHERE pending = 0 AND NOT EXISTS (SELECT 1 FROM "
                               "verifications v WHERE v.mark = marks.id) ORDER BY id")
                                  .c_str());
    if (!select.Ok()) fail(text::LogCannotOpen);
    std::vector<TMarkRecord> records;
    int stepped = 0;
    while ((stepped = select.Step()) == SQLITE_ROW)
        records.push_back(ReadRecord(select));
    if (stepped != SQLITE_DONE) fail(text::LogCannotOpen);
    return records;
}

std::string TSqliteLog::PredictedGrade(std::int64_t mark) const {
    return CodePage(StoredGrade(db_, mark));
}

} // namespace korvex::log

// The server log's share of the verifications (log/Verification.h).
#include "base/TextNumbers.h"
#include "log/PgLog.h"
#include "log/PgResult.h"
#include "log/Verification.h"

#include <string>

namespace korvex::log {

void TPgLog::AddVerification(TVerification& verification) {
    const TPgResult inserted =
        run((std::string("INSERT INTO korvex.verifications(") + VerificationColumns +
             ") VALUES($1, $2, $3, $4, $5, $6, $7, $8) RETURNING id")
                .c_str(),
            VerificationValues(verification), text::LogCannotWrite);
    verification.Id = inserted.Int(0);
}

std::vector<TVerification> TPgLog::VerificationsOf(std::int64_t mark) const {
    if (!schema_ || version_ < VerificationSchema) return {};
    TPgResult rows = run((std::string("SELECT id, ") + VerificationColumns +
                          " FROM korvex.verifications WHERE mark = $1 ORDER BY id")
                             .c_str(),
                         {mark}, text::LogCannotOpen);
    std::vector<TVerification> found;
    for (int i = 0; i < rows.Rows(); ++i) {
        found.push_back(ReadVerification(rows.At(i), 1));
        found.back().Id = rows.Int(0);
    }
    return found;
}

std::vector<TMarkRecord> TPgLog::Unverified() const {
    if (!schema_) return {};
    if (version_ < VerificationSchema) return Query({});
    TPgResult rows = run((std::string("SELECT ") + RecordColumns +
                          " FROM korvex.marks WHERE pending = 0 AND NOT EXISTS (SELECT 1 FROM "
                          "korvex.verifications v WHERE v.mark = korvex.marks.id) ORDER BY id")
                             .c_str(),
                         {}, text::LogCannotOpen);
    std::vector<TMarkRecord> records;
    for (int i = 0; i < rows.Rows(); ++i)
        records.push_back(ReadRecord(rows.At(i)));
    return records;
}

std::string TPgLog::PredictedGrade(std::int64_t mark) const {
    if (!schema_) return {};
    // Through the row as JSON: a server schema from before grades has no such column.
    TPgResult rows = run("SELECT to_jsonb(m) ->> 'grade' FROM korvex.marks m WHERE id = $1", {mark},
                         text::LogCannotOpen);
    return rows.Rows() > 0 && !rows.At(0).IsNull(0) ? CodePage(rows.At(0).Text(0)) : std::string();
}

} // namespace korvex::log

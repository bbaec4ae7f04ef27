#include "log/PgResult.h"

#include <libpq-fe.h>

#include <charconv>

namespace korvex::log {

// "KRVX": the advisory lock every writer of a Korvex log takes.
constexpr const char* WRITE_LOCK = "SELECT pg_advisory_xact_lock(1263687256)";
constexpr const char* TRY_WRITE_LOCK = "SELECT pg_try_advisory_xact_lock(1263687256)";

TPgResult::TPgResult(pg_conn* db, const char* sql, const std::vector<TValue>& values) {
    std::vector<std::string> texts(values.size());
    std::vector<const char*> pointers(values.size(), nullptr);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (const auto* number = std::get_if<std::int64_t>(&values[i])) {
            char digits[24];
            const auto end = std::to_chars(digits, digits + sizeof digits, *number).ptr;
            texts[i].assign(digits, end);
        } else if (const auto* text = std::get_if<std::string>(&values[i])) {
            texts[i] = *text;
        } else {
            continue;
        }
        pointers[i] = texts[i].c_str();
    }
    // Without values a text may hold several statements (a migration step).
    if (values.empty()) {
        result_ = PQexec(db, sql);
        return;
    }
    result_ = PQexecParams(db, sql, static_cast<int>(values.size()), nullptr, pointers.data(),
                           nullptr, nullptr, 0);
}

TPgResult::~TPgResult() {
    PQclear(result_);
}

TPgResult::TPgResult(TPgResult&& other) noexcept : result_(other.result_), row_(other.row_) {
    other.result_ = nullptr;
}

bool TPgResult::Ok() const {
    const ExecStatusType status = PQresultStatus(result_);
    return result_ && (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK);
}

int TPgResult::Rows() const {
    return Ok() ? PQntuples(result_) : 0;
}

std::int64_t TPgResult::Int(int column) const {
    const char* text = PQgetvalue(result_, row_, column);
    std::int64_t value = 0;
    if (text) std::from_chars(text, text + std::char_traits<char>::length(text), value);
    return value;
}

bool TPgResult::IsNull(int column) const {
    return PQgetisnull(result_, row_, column) != 0;
}

std::string TPgResult::Text(int column) const {
    const char* text = PQgetvalue(result_, row_, column);
    return text ? text : "";
}

TPgTransaction::TPgTransaction(pg_conn* db, bool locked, std::function<void()>* waiting) : db_(db) {
    ok_ = TPgResult(db_, "BEGIN", {}).Ok();
    if (!ok_ || !locked) return;
    TPgResult got(db_, TRY_WRITE_LOCK, {});
    ok_ = got.Ok();
    if (!ok_ || got.At(0).Text(0) == "t") return;
    // Another writer holds the log, maybe for a long run: said at once, not after the wait.
    if (waiting && *waiting) {
        const std::function<void()> tell = std::move(*waiting);
        *waiting = nullptr;
        tell();
    }
    ok_ = TPgResult(db_, WRITE_LOCK, {}).Ok();
}

TPgTransaction::~TPgTransaction() {
    if (!done_ && PQtransactionStatus(db_) != PQTRANS_IDLE) TPgResult(db_, "ROLLBACK", {});
}

bool TPgTransaction::Commit() {
    done_ = true;
    return ok_ && TPgResult(db_, "COMMIT", {}).Ok();
}

} // namespace korvex::log

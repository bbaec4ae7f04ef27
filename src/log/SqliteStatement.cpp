#include "log/SqliteStatement.h"

#include <sqlite3.h>

namespace korvex::log {

TSqlStatement::TSqlStatement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) statement_ = nullptr;
}

TSqlStatement::~TSqlStatement() {
    sqlite3_finalize(statement_);
}

TSqlStatement& TSqlStatement::Bind(int i, const std::string& text) {
    sqlite3_bind_text(statement_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
}

TSqlStatement& TSqlStatement::Bind(int i, std::int64_t value) {
    sqlite3_bind_int64(statement_, i, value);
    return *this;
}

TSqlStatement& TSqlStatement::Bind(int i, const TValue& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) return Bind(i, *number);
    if (const auto* text = std::get_if<std::string>(&value)) return Bind(i, *text);
    return BindNull(i);
}

TSqlStatement& TSqlStatement::BindNull(int i) {
    sqlite3_bind_null(statement_, i);
    return *this;
}

int TSqlStatement::Step() {
    return statement_ ? sqlite3_step(statement_) : SQLITE_ERROR;
}

void TSqlStatement::Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::int64_t TSqlStatement::Int(int column) const {
    return sqlite3_column_int64(statement_, column);
}

bool TSqlStatement::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::string TSqlStatement::Text(int column) const {
    const unsigned char* text = sqlite3_column_text(statement_, column);
    return text ? reinterpret_cast<const char*>(text) : "";
}

bool SqlExec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

} // namespace korvex::log

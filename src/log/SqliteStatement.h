#pragma once

#include "log/RecordMapping.h"

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace korvex::log {

// A prepared statement, finalized on every path out.
class TSqlStatement : public TRow {
  public:
    TSqlStatement(sqlite3* db, const char* sql);
    ~TSqlStatement() override;
    TSqlStatement(const TSqlStatement&) = delete;
    TSqlStatement& operator=(const TSqlStatement&) = delete;
    bool Ok() const { return statement_ != nullptr; }
    TSqlStatement& Bind(int i, const std::string& text);
    TSqlStatement& Bind(int i, std::int64_t value);
    TSqlStatement& Bind(int i, const TValue& value);
    TSqlStatement& BindNull(int i);
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step();
    void Reset();
    std::int64_t Int(int column) const override;
    bool IsNull(int column) const override;
    std::string Text(int column) const override;

  private:
    sqlite3_stmt* statement_ = nullptr;
};

// Runs statements without results; false when SQLite refuses.
bool SqlExec(sqlite3* db, const char* sql);

} // namespace korvex::log

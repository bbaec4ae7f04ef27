#pragma once

#include "log/RecordMapping.h"

#include <functional>
#include <string>
#include <vector>

struct pg_conn;
struct pg_result;

namespace korvex::log {

// A query's result, cleared on every path out; one row at a time is read as a TRow.
class TPgResult : public TRow {
  public:
    // Runs sql with $1 ... bound to values (as text; NULL for monostate).
    TPgResult(pg_conn* db, const char* sql, const std::vector<TValue>& values);
    ~TPgResult() override;
    TPgResult(TPgResult&& other) noexcept;
    TPgResult(const TPgResult&) = delete;
    TPgResult& operator=(const TPgResult&) = delete;
    TPgResult& operator=(TPgResult&&) = delete;
    bool Ok() const;
    int Rows() const;
    // The row the TRow calls read.
    TPgResult& At(int row) {
        row_ = row;
        return *this;
    }
    std::int64_t Int(int column) const override;
    bool IsNull(int column) const override;
    std::string Text(int column) const override;

  private:
    pg_result* result_ = nullptr;
    int row_ = 0;
};

// A transaction rolled back unless committed. locked: it holds the log's write lock, so
// writers of every station queue as they do on one SQLite file; one that finds the lock held
// calls waiting first (once: it is emptied).
class TPgTransaction {
  public:
    TPgTransaction(pg_conn* db, bool locked, std::function<void()>* waiting = nullptr);
    ~TPgTransaction();
    TPgTransaction(const TPgTransaction&) = delete;
    TPgTransaction& operator=(const TPgTransaction&) = delete;
    bool Ok() const { return ok_; }
    bool Commit();

  private:
    pg_conn* db_;
    bool ok_ = false;
    bool done_ = false;
};

} // namespace korvex::log

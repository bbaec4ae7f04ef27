#pragma once

struct sqlite3;

namespace korvex::log {

// A write transaction taken at once, so two writers queue on the busy timeout instead of one
// failing when both upgrade a read; rolled back unless committed.
class TSqlTransaction {
  public:
    explicit TSqlTransaction(sqlite3* db);
    ~TSqlTransaction();
    TSqlTransaction(const TSqlTransaction&) = delete;
    TSqlTransaction& operator=(const TSqlTransaction&) = delete;
    bool Ok() const { return ok_; }
    bool Commit();

  private:
    bool open() const;
    sqlite3* db_;
    bool ok_ = false;
    bool committed_ = false;
};

} // namespace korvex::log

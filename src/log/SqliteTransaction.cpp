#include "log/SqliteTransaction.h"

#include "log/SqliteStatement.h"

#include <sqlite3.h>

namespace korvex::log {

TSqlTransaction::TSqlTransaction(sqlite3* db) : db_(db) {
    ok_ = SqlExec(db_, "BEGIN IMMEDIATE");
}

TSqlTransaction::~TSqlTransaction() {
    if (open()) SqlExec(db_, "ROLLBACK");
}

bool TSqlTransaction::Commit() {
    if (!ok_) return false;
    committed_ = SqlExec(db_, "COMMIT");
    return committed_;
}

bool TSqlTransaction::open() const {
    return ok_ && !committed_ && !sqlite3_get_autocommit(db_);
}

} // namespace korvex::log

#pragma once

#include "log/MarkingLog.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#if KORVEX_LOG_POSTGRESQL
#include "support/PgServer.h"

#include <libpq-fe.h>
#endif

namespace korvex::test {

enum class TLogKind { Sqlite, Server };

#if !KORVEX_LOG_POSTGRESQL
class TPgServer;
#endif

// The log's behaviour tests, once for the SQLite file and once for the PostgreSQL server: each
// case asks Fresh for an empty log of its back end.
class TLogBackends : public ::testing::TestWithParam<TLogKind> {
  protected:
    void SetUp() override {
#if KORVEX_LOG_POSTGRESQL
        if (GetParam() == TLogKind::Server) {
            KORVEX_PG_SERVER_OR_SKIP(server);
            server_ = server;
        }
#endif
    }

  public:
    bool Sqlite() const {
        return GetParam() == TLogKind::Sqlite;
    }
    TPgServer* Server() const {
        return server_;
    }

    // An empty log: the file korvex.sqlite in folder, or the server with Korvex's schema gone.
    std::filesystem::path Fresh(const std::filesystem::path& folder) const {
        std::filesystem::create_directories(folder);
        if (Sqlite()) return folder / log::LogFileName;
#if KORVEX_LOG_POSTGRESQL
        server_->Fresh();
        return server_->Url();
#else
        return {};
#endif
    }

  private:
    TPgServer* server_ = nullptr;
};

// Holds the log's write lock as another station's writer would, until Release.
class TLogHolder {
  public:
    explicit TLogHolder(const std::filesystem::path& log) {
        if (!log::IsServerLog(log)) {
            EXPECT_EQ(sqlite3_open(log.c_str(), &file_), SQLITE_OK);
            EXPECT_EQ(sqlite3_exec(file_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
            return;
        }
#if KORVEX_LOG_POSTGRESQL
        server_ = PQconnectdb(log.c_str());
        PGresult* held = PQexec(server_, "SELECT pg_advisory_lock(1263687256)");
        EXPECT_EQ(PQresultStatus(held), PGRES_TUPLES_OK) << PQerrorMessage(server_);
        PQclear(held);
#endif
    }
    ~TLogHolder() {
        Release();
        sqlite3_close(file_);
#if KORVEX_LOG_POSTGRESQL
        PQfinish(server_);
#endif
    }
    TLogHolder(const TLogHolder&) = delete;
    TLogHolder& operator=(const TLogHolder&) = delete;

    void Release() {
        if (file_) sqlite3_exec(file_, "COMMIT", nullptr, nullptr, nullptr);
#if KORVEX_LOG_POSTGRESQL
        if (server_) PQclear(PQexec(server_, "SELECT pg_advisory_unlock_all()"));
#endif
    }

  private:
    sqlite3* file_ = nullptr;
#if KORVEX_LOG_POSTGRESQL
    PGconn* server_ = nullptr;
#endif
};

inline std::string LogKindName(const ::testing::TestParamInfo<TLogKind>& info) {
    return info.param == TLogKind::Sqlite ? "Sqlite" : "Server";
}

} // namespace korvex::test

#if KORVEX_LOG_POSTGRESQL
#define KORVEX_LOG_KINDS ::korvex::test::TLogKind::Sqlite, ::korvex::test::TLogKind::Server
#else
#define KORVEX_LOG_KINDS ::korvex::test::TLogKind::Sqlite
#endif
// Runs every TEST_P of suite once per back end.
#define KORVEX_LOG_BACKENDS(suite)                                                                 \
    INSTANTIATE_TEST_SUITE_P(Backend, suite, ::testing::Values(KORVEX_LOG_KINDS),                  \
                             ::korvex::test::LogKindName)

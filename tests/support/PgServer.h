#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace korvex::test {

// A throwaway PostgreSQL server of the test's own: initdb and pg_ctl of Debian's postgresql
// package in a temporary folder, reached through a Unix socket in that folder only. Both
// programs refuse the superuser, so under root they run as "nobody".
class TPgServer {
  public:
    // Makes the data folder (copied from one initdb per machine) and starts the server;
    // throws std::runtime_error with the programs' own words when it cannot.
    TPgServer();
    // Stops the server and removes its folder.
    ~TPgServer();
    TPgServer(const TPgServer&) = delete;
    TPgServer& operator=(const TPgServer&) = delete;

    // A libpq URL of the server's database "korvex" as user "korvex" (no password).
    std::string Url() const;
    // The socket folder, as messages about the server name it.
    std::string Host() const { return folder_.string(); }
    int Port() const { return port_; }

    // Drops Korvex's schema, so the next log starts on an empty server.
    void Fresh() const;
    // Runs statements on the server's database; throws std::runtime_error on failure.
    void Sql(const std::string& statements) const;

    // As a crash or a pulled cable: pg_ctl stop -m immediate, no shutdown checkpoint.
    void Kill();
    // Starts it again on the same folder and port.
    void Start();

  private:
    std::filesystem::path folder_;
    int port_ = 0;
    bool running_ = false;
};

// The one server of this test binary: started at the first call, stopped at the end of the
// binary's run whatever the tests did. nullptr when it cannot run; WhyNoPgServer() says why.
TPgServer* TestPgServer();
std::string WhyNoPgServer();
// Without the server programs a test fails under CI (CI=true) and is skipped elsewhere.
bool PgServerRequired();

} // namespace korvex::test

// Gives var the test's server after a fresh start of the log, or ends the test: skipped on a
// machine without postgresql, failed under CI or when the server would not start.
#define KORVEX_PG_SERVER_OR_SKIP(var)                                                              \
    ::korvex::test::TPgServer* var = ::korvex::test::TestPgServer();                               \
    if (var == nullptr) {                                                                          \
        if (::korvex::test::PgServerRequired()) FAIL() << ::korvex::test::WhyNoPgServer();         \
        GTEST_SKIP() << ::korvex::test::WhyNoPgServer();                                           \
    }                                                                                              \
    var->Fresh()

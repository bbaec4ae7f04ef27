#include "support/PgServer.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace korvex::test {

namespace fs = std::filesystem;

namespace {

// Debian installs each major version apart; the newest one found is used.
std::optional<fs::path> programs() {
    if (const char* own = std::getenv("KORVEX_PG_BIN"); own && *own) return fs::path(own);
    std::error_code ec;
    std::optional<fs::path> found;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
        const fs::path bin = entry.path() / "bin";
        if (fs::exists(bin / "initdb", ec) && fs::exists(bin / "pg_ctl", ec) &&
            (!found || bin.string() > found->string()))
            found = bin;
    }
    return found;
}

// The user the server's programs run as: they refuse the superuser.
const passwd* serverUser() {
    return ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
}

void handOver(const fs::path& path) {
    const passwd* user = serverUser();
    if (!user) return;
    std::error_code ec;
    if (::lchown(path.c_str(), user->pw_uid, user->pw_gid) != 0)
        throw std::runtime_error("cannot hand " + path.string() + " to nobody");
    if (fs::is_directory(path, ec) && !fs::is_symlink(path, ec))
        for (const auto& entry : fs::recursive_directory_iterator(path, ec))
            if (::lchown(entry.path().c_str(), user->pw_uid, user->pw_gid) != 0)
                throw std::runtime_error("cannot hand " + entry.path().string() + " to nobody");
}

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs one of the server's programs as the server's user, its output into output; throws
// with that output when it fails.
void runProgram(const std::vector<std::string>& args, const fs::path& output) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (const passwd* user = serverUser())
            if (::setgid(user->pw_gid) != 0 || ::setuid(user->pw_uid) != 0) ::_exit(126);
        const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            ::dup2(out, 1);
            ::dup2(out, 2);
            ::close(out);
        }
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        throw std::runtime_error(args[0] + " failed: " + readAll(output));
}

int freePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (s >= 0 && ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (s >= 0) ::close(s);
    if (port == 0) throw std::runtime_error("no free port number");
    return port;
}

fs::path freshFolder(const std::string& stem) {
    std::random_device device;
    const fs::path folder =
        fs::temp_directory_path() / (stem + std::to_string(device()) + std::to_string(device()));
    fs::create_directories(folder);
    handOver(folder);
    return folder;
}

void startServer(const fs::path& folder, int port) {
    const fs::path bin = *programs();
    runProgram({(bin / "pg_ctl").string(), "start", "-w", "-t", "60", "-D",
                (folder / "data").string(), "-l", (folder / "server.log").string(), "-o",
                "-k " + folder.string() + " -p " + std::to_string(port) +
                    " -c listen_addresses= -c fsync=off"},
               folder / "pg_ctl.out");
}

// initdb takes seconds and ctest starts each case in a process of its own: one data folder
// per machine and user, made once and copied for every server.
fs::path templateFolder() {
    const fs::path bin = *programs();
    const fs::path done =
        fs::temp_directory_path() / ("korvex-pg-template-" + std::to_string(::geteuid()) + "-" +
                                     bin.parent_path().filename().string());
    std::error_code ec;
    if (fs::exists(done / "data" / "PG_VERSION", ec)) return done;
    const fs::path making = freshFolder("korvex-pg-making-");
    try {
        runProgram({(bin / "initdb").string(), "-D", (making / "data").string(), "-U", "korvex",
                    "-A", "trust", "--no-locale", "-E", "UTF8", "-N"},
                   making / "initdb.out");
        const int port = freePort();
        startServer(making, port);
        const std::string url = "postgresql:///postgres?host=" + making.string() +
                                "&port=" + std::to_string(port) + "&user=korvex";
        PGconn* db = PQconnectdb(url.c_str());
        PGresult* made = PQexec(db, "CREATE DATABASE korvex");
        const bool ok = PQresultStatus(made) == PGRES_COMMAND_OK;
        const std::string why = PQerrorMessage(db);
        PQclear(made);
        PQfinish(db);
        runProgram({(bin / "pg_ctl").string(), "stop", "-w", "-D", (making / "data").string()},
                   making / "pg_ctl.out");
        if (!ok) throw std::runtime_error("CREATE DATABASE korvex: " + why);
    } catch (...) {
        fs::remove_all(making, ec);
        throw;
    }
    // Test processes making it at once: the first complete one stays.
    fs::rename(making, done, ec);
    if (ec) fs::remove_all(making, ec);
    return done;
}

std::string& problem() {
    static std::string why;
    return why;
}

std::unique_ptr<TPgServer>& shared() {
    static std::unique_ptr<TPgServer> server;
    return server;
}

// Stops the shared server at the end of the binary's run, after failed tests too.
class TPgEnvironment : public ::testing::Environment {
  public:
    void TearDown() override { shared().reset(); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new TPgEnvironment);

} // namespace

TPgServer::TPgServer() {
    if (!programs()) throw std::runtime_error("no PostgreSQL server programs");
    const fs::path from = templateFolder();
    folder_ = freshFolder("korvex-pg-");
    try {
        fs::copy(from / "data", folder_ / "data", fs::copy_options::recursive);
        handOver(folder_ / "data");
        // The server wants its data folder for its user alone.
        fs::permissions(folder_ / "data", fs::perms::owner_all);
        port_ = freePort();
        startServer(folder_, port_);
        running_ = true;
    } catch (...) {
        std::error_code ec;
        fs::remove_all(folder_, ec);
        throw;
    }
}

TPgServer::~TPgServer() {
    if (running_) {
        try {
            Kill();
        } catch (...) {
            // The folder goes anyway; a server left behind has no socket to serve any more.
        }
    }
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

std::string TPgServer::Url() const {
    return "postgresql:///korvex?host=" + folder_.string() + "&port=" + std::to_string(port_) +
           "&user=korvex";
}

void TPgServer::Sql(const std::string& statements) const {
    PGconn* db = PQconnectdb(Url().c_str());
    PGresult* result = PQexec(db, statements.c_str());
    const bool ok =
        PQresultStatus(result) == PGRES_COMMAND_OK || PQresultStatus(result) == PGRES_TUPLES_OK;
    const std::string why = PQerrorMessage(db);
    PQclear(result);
    PQfinish(db);
    if (!ok) throw std::runtime_error(statements + ": " + why);
}

void TPgServer::Fresh() const {
    Sql("SET client_min_messages = warning; DROP SCHEMA IF EXISTS korvex CASCADE");
}

void TPgServer::Kill() {
    runProgram({(*programs() / "pg_ctl").string(), "stop", "-w", "-m", "immediate", "-D",
                (folder_ / "data").string()},
               folder_ / "pg_ctl.out");
    running_ = false;
}

void TPgServer::Start() {
    startServer(folder_, port_);
    running_ = true;
}

TPgServer* TestPgServer() {
    if (!shared() && problem().empty()) {
        try {
            shared() = std::make_unique<TPgServer>();
        } catch (const std::exception& e) {
            problem() = std::string("no throwaway PostgreSQL server (install Debian's "
                                    "postgresql package): ") +
                        e.what();
        }
    }
    return shared().get();
}

std::string WhyNoPgServer() {
    return problem();
}

bool PgServerRequired() {
    const char* ci = std::getenv("CI");
    return (ci && std::string(ci) == "true") || programs().has_value();
}

} // namespace korvex::test

#include "log/LogConnection.h"

#include "log/MarkingLog.h"

#ifdef KORVEX_LOG_POSTGRESQL
#include <libpq-fe.h>
#endif

#include <memory>

namespace korvex::log {

bool UrlHoldsPassword(const std::string& url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string::npos) return false;
    const std::size_t start = scheme + 3;
    const std::size_t end = url.find_first_of("/?", start);
    const std::string authority = url.substr(start, end == std::string::npos ? end : end - start);
    const std::size_t at = authority.rfind('@');
    if (at != std::string::npos && authority.find(':') < at) return true;
    const std::size_t query = url.find('?');
    if (query == std::string::npos) return false;
    for (std::size_t p = query; p != std::string::npos; p = url.find('&', p + 1))
        if (url.compare(p + 1, 9, "password=") == 0) return true;
    return false;
}

TConnectionCheck CheckConnection(const std::string& url) {
    TConnectionCheck check;
#ifdef KORVEX_LOG_POSTGRESQL
    // A server that does not answer is given ten seconds unless the URL says otherwise.
    const char* keys[] = {"connect_timeout", "dbname", nullptr};
    const char* values[] = {"10", url.c_str(), nullptr};
    const std::unique_ptr<PGconn, void (*)(PGconn*)> conn(PQconnectdbParams(keys, values, 1),
                                                          PQfinish);
    if (!conn || PQstatus(conn.get()) != CONNECTION_OK) {
        check.Problem = conn ? PQerrorMessage(conn.get()) : "out of memory";
        while (!check.Problem.empty() &&
               (check.Problem.back() == '\n' || check.Problem.back() == ' '))
            check.Problem.pop_back();
        return check;
    }
    check.Reached = true;
    const int version = PQserverVersion(conn.get());
    check.ServerVersion = std::to_string(version / 10000) + "." + std::to_string(version % 100);
    const std::unique_ptr<PGresult, void (*)(PGresult*)> found(
        PQexec(conn.get(), "SELECT to_regclass('korvex.owner') IS NOT NULL"), PQclear);
    check.KorvexSchema = PQresultStatus(found.get()) == PGRES_TUPLES_OK &&
                         PQntuples(found.get()) == 1 &&
                         std::string(PQgetvalue(found.get(), 0, 0)) == "t";
#else
    (void)url;
    check.Problem = ServerOnlyWithLibpq;
#endif
    return check;
}

} // namespace korvex::log

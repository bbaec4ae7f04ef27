#pragma once

#include <string>

namespace korvex::log {

// What trying a log's server found, for the settings' "test connection".
struct TConnectionCheck {
    bool Reached = false;
    std::string ServerVersion; // "16.4"
    bool KorvexSchema = false; // the server holds a Korvex log already
    std::string Problem;       // libpq's words, naming the server; empty when reached
};

// Connects to a "postgresql://..." URL once and looks; blocks for as long as libpq's connect
// takes, so a window calls it off its own thread.
TConnectionCheck CheckConnection(const std::string& url);

// Whether a server URL carries a password ("user:secret@", "password="), which main.ini
// must never keep: libpq takes it from ~/.pgpass or PGPASSFILE.
bool UrlHoldsPassword(const std::string& url);

} // namespace korvex::log

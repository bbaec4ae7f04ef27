#if KORVEX_LOG_POSTGRESQL

#include "log/LoggedWrite.h"
#include "log/MarkingLog.h"

#include "base/TextNumbers.h"
#include "support/PgServer.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace korvex::log;
namespace text = korvex::text;

namespace {

TMarkRecord record(const std::string& content, const fs::path& output) {
    TMarkRecord r;
    r.Text = content;
    r.ContentKind = "TEXT";
    r.Output = output;
    return r;
}

// A server that goes away between two writes: the second write stops with the server's name
// and writes no file; once it is back the first record is still there and writing goes on.
TEST(PgServerGone, WriteStopsNamingTheServerAndGoesOnOnceItIsBack) {
    KORVEX_PG_SERVER_OR_SKIP(server);
    TempFolder temp;
    {
        TMarkingLog log{fs::path(server->Url())};
        ASSERT_TRUE(WriteLogged(log, record("SN-1", temp / "1.nc"), "G0\r\n", true).Written);
        server->Kill();
        try {
            WriteLogged(log, record("SN-2", temp / "2.nc"), "G0\r\n", true);
            ADD_FAILURE() << "written without the server";
        } catch (const ELogError& e) {
            EXPECT_EQ(e.Message.Text, text::LogCannotWrite);
            EXPECT_NE(e.Message.Detail.find(server->Host()), std::string::npos) << e.Message.Detail;
            EXPECT_EQ(e.Reason, text::LogReasonServerGone) << e.Message.Detail;
        }
        EXPECT_FALSE(fs::exists(temp / "2.nc"));
    }
    server->Start();
    TMarkingLog log{fs::path(server->Url())};
    EXPECT_EQ(log.Query({}).size(), 1u);
    EXPECT_TRUE(WriteLogged(log, record("SN-2", temp / "2.nc"), "G0\r\n", true).Written);
    EXPECT_EQ(log.Query({}).size(), 2u);
}

#ifdef KORVEX_CLI_PATH
// No server where the settings say, or the server gone: korvex-cli stops with the server and
// database named, never the password, writes no program and keeps no record in a local file.
TEST(PgServerGone, UnreachableServerStopsTheRunNamingItWithoutThePassword) {
    KORVEX_PG_SERVER_OR_SKIP(server);
    TempFolder temp;
    const std::string at = "?host=" + server->Host() + "&port=" + std::to_string(server->Port());
    struct TCase {
        const char* Name;
        std::string Url;
        bool Kill;
    };
    const TCase cases[] = {
        {"no server at the socket",
         "postgresql:///korvex?host=" + temp.path().string() + "&password=geheim&user=korvex",
         false},
        {"server down, password in the user part", "postgresql://korvex:geheim@/korvex" + at, true},
        {"server down, password in the query", "postgresql:///korvex" + at + "&password=geheim",
         true},
    };
    for (const TCase& c : cases) {
        const fs::path config = temp / c.Name;
        fs::create_directory(config);
        for (const char* name :
             {"main.ini", "profil1.ini", "profil2.ini", "profil3.ini", "profil4.ini"})
            fs::copy_file(fs::path(KORVEX_DATA_DIR) / name, config / name);
        writeBytes(config / "main.ini",
                   readBytes(config / "main.ini") + "[log]\r\nDatenbank=" + c.Url + "\r\n");
        if (c.Kill) server->Kill();
        const fs::path program = config / "SN-1.nc";
        const std::string command = std::string(KORVEX_CLI_PATH) + " generate --config '" +
                                    config.string() + "' --text SN-1 -o '" + program.string() +
                                    "' " + KORVEX_TEST_DATA_DIR + "/cli/serial.ncm 2> '" +
                                    (config / "err").string() + "'";
        const int status = std::system(command.c_str());
        if (c.Kill) server->Start();
        const std::string said = readBytes(config / "err");
        EXPECT_NE(status, 0) << c.Name;
        EXPECT_NE(said.find(c.Kill ? server->Host() : temp.path().string()), std::string::npos)
            << c.Name << ": " << said;
        EXPECT_NE(said.find("/korvex"), std::string::npos) << c.Name << ": " << said;
        EXPECT_EQ(said.find("geheim"), std::string::npos) << c.Name << ": " << said;
        EXPECT_FALSE(fs::exists(program)) << c.Name;
        EXPECT_FALSE(fs::exists(config / LogFileName)) << c.Name << ": a local log instead";
    }
}
#endif

} // namespace

#endif

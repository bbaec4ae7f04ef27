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

} // namespace

#endif

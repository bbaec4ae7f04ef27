#if KORVEX_LOG_POSTGRESQL

#include "log/LoggedWrite.h"
#include "log/MarkingLog.h"
#include "log/Verification.h"

#include "support/PgServer.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace korvex::log;

namespace {

// A station reading a server log that an older Korvex made (before counter resets,
// verifications and grades) lists and counts as that one did; the next writer brings the
// tables up to date and keeps what was there.
TEST(PgOlderSchema, ReaderListsAndCountsAndTheNextWriterMigrates) {
    KORVEX_PG_SERVER_OR_SKIP(server);
    TempFolder temp;
    const fs::path url(server->Url());
    {
        TMarkingLog log{url};
        TMarkRecord r;
        r.Text = "SN-1";
        r.ContentKind = "TEXT";
        r.Output = temp / "1.nc";
        ASSERT_TRUE(WriteLogged(log, r, "G0\r\n", true).Written);
    }
    server->Sql("ALTER TABLE korvex.counters DROP COLUMN reset, DROP COLUMN period, "
                "DROP COLUMN start; ALTER TABLE korvex.runs DROP COLUMN period; "
                "DROP TABLE korvex.verifications; ALTER TABLE korvex.marks DROP COLUMN grade; "
                "UPDATE korvex.owner SET version = 1; "
                "INSERT INTO korvex.counters VALUES('Los', 7)");
    {
        const TMarkingLog reader(url, TMarkingLog::TAccess::Read);
        const auto records = reader.Query({});
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(reader.NextSerial("Los"), 7);
        EXPECT_EQ(reader.Unverified().size(), 1u);
        EXPECT_TRUE(reader.VerificationsOf(records.front().Id).empty());
        EXPECT_EQ(reader.PredictedGrade(records.front().Id), "");
    }
    TMarkingLog writer{url};
    EXPECT_EQ(writer.NextSerial("Los"), 7);
    EXPECT_EQ(server->Rows("SELECT version FROM korvex.owner"), "4");
    EXPECT_EQ(writer.Unverified().size(), 1u);
}

} // namespace

#endif

#include "log/MarkingLog.h"
#include "log/Verification.h"
#include "support/TempFolder.h"
#ifdef KORVEX_LOG_POSTGRESQL
#include "support/PgServer.h"
#endif

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <memory>

namespace fs = std::filesystem;
using namespace korvex::log;

namespace {

std::vector<std::int64_t> writeDone(TMarkingLog& log, const std::vector<std::string>& texts,
                                    const fs::path& folder) {
    std::vector<TMarkRecord> records;
    for (const std::string& text : texts) {
        records.emplace_back();
        records.back().Text = text;
        records.back().ContentKind = "TEXT";
        records.back().Output = folder / (text + ".nc");
        records.back().Sha256 = std::string(64, 'a');
    }
    log.BeginWrites(records, false);
    std::vector<std::int64_t> ids;
    for (const TMarkRecord& r : records)
        ids.push_back(r.Id);
    log.FinishWrites(ids);
    return ids;
}

TVerification seen(const std::string& grade, bool pass, double dotSize, const fs::path& photo) {
    TVerification v;
    v.Grade = grade;
    v.As9132Pass = pass;
    v.DotSize = dotSize;
    v.Photo = photo;
    v.PhotoSha256 = std::string(64, 'b');
    return v;
}

std::vector<std::string> texts(const std::vector<TMarkRecord>& records) {
    std::vector<std::string> all;
    for (const TMarkRecord& r : records)
        all.push_back(r.Text);
    return all;
}

struct TPlace {
    const char* Kind;
};
void PrintTo(const TPlace& place, std::ostream* out) {
    *out << place.Kind;
}

class VerificationLogTest : public ::testing::TestWithParam<TPlace> {
  protected:
    TempFolder temp;
    std::unique_ptr<TMarkingLog> open() {
        if (std::string(GetParam().Kind) == "sqlite")
            return std::make_unique<TMarkingLog>(temp / "log.sqlite");
#ifdef KORVEX_LOG_POSTGRESQL
        if (server_) return std::make_unique<TMarkingLog>(fs::path(server_->Url()));
#endif
        return nullptr;
    }
    void SetUp() override {
        if (std::string(GetParam().Kind) == "sqlite") return;
#ifdef KORVEX_LOG_POSTGRESQL
        KORVEX_PG_SERVER_OR_SKIP(server);
        server_ = server;
#else
        GTEST_SKIP() << ServerOnlyWithLibpq;
#endif
    }

  private:
#ifdef KORVEX_LOG_POSTGRESQL
    korvex::test::TPgServer* server_ = nullptr;
#endif
};

// Two photos of the second part: both stay with its record, in order, as they were given;
// the others are the unverified ones, a pending write not among them.
TEST_P(VerificationLogTest, KeptWithItsRecordAndTheOthersListedUnverified) {
    const auto log = open();
    ASSERT_TRUE(log);
    const auto ids = writeDone(*log, {"SN 4710", "SN 4711", "SN 4712"}, temp.path());
    std::vector<TMarkRecord> pending(1);
    pending[0].Text = "SN 4713";
    pending[0].ContentKind = "TEXT";
    pending[0].Output = temp / "pending.nc";
    log->BeginWrites(pending, false);

    TVerification first = seen("B", true, 0.74, temp / "Foto Welle.png");
    TVerification second = seen("D", false, 0.58, temp / "zweites.jpg");
    first.Mark = second.Mark = ids[1];
    log->AddVerification(first);
    log->AddVerification(second);
    EXPECT_NE(first.Id, second.Id);

    const auto kept = log->VerificationsOf(ids[1]);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].Id, first.Id);
    EXPECT_EQ(kept[0].Grade, "B");
    EXPECT_TRUE(kept[0].As9132Pass);
    EXPECT_DOUBLE_EQ(kept[0].DotSize, 0.74);
    EXPECT_EQ(kept[0].Photo, temp / "Foto Welle.png");
    EXPECT_EQ(kept[0].PhotoSha256, std::string(64, 'b'));
    EXPECT_EQ(kept[0].TimeUtc, first.TimeUtc);
    EXPECT_NE(kept[0].Who.find('@'), std::string::npos) << kept[0].Who;
    EXPECT_EQ(kept[1].Grade, "D");
    EXPECT_FALSE(kept[1].As9132Pass);
    EXPECT_TRUE(log->VerificationsOf(ids[0]).empty());
    EXPECT_EQ(texts(log->Unverified()), (std::vector<std::string>{"SN 4710", "SN 4712"}));
}

INSTANTIATE_TEST_SUITE_P(Backends, VerificationLogTest,
                         ::testing::Values(TPlace{"sqlite"}, TPlace{"postgresql"}),
                         [](const auto& info) { return std::string(info.param.Kind); });

void sql(const fs::path& file, const char* statements) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, statements, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// A log from before verifications were kept: read-only every record is unverified; the next
// writer adds the table and keeps the records.
TEST(VerificationLog, AnOlderLogGetsTheTableAndKeepsItsRecords) {
    TempFolder temp;
    const fs::path file = temp / "old.sqlite";
    {
        TMarkingLog log(file);
        writeDone(log, {"alt 1", "alt 2"}, temp.path());
    }
    sql(file, "DROP TABLE verifications; PRAGMA user_version=4;");
    {
        const TMarkingLog reader(file, TMarkingLog::TAccess::Read);
        EXPECT_EQ(texts(reader.Unverified()), (std::vector<std::string>{"alt 1", "alt 2"}));
        EXPECT_TRUE(reader.VerificationsOf(1).empty());
    }
    TMarkingLog writer(file);
    TVerification v = seen("A", true, 0.81, temp / "p.png");
    v.Mark = writer.Query({}).front().Id;
    writer.AddVerification(v);
    EXPECT_EQ(texts(writer.Unverified()), (std::vector<std::string>{"alt 2"}));
}

} // namespace

#include "log/LogTransfer.h"
#include "log/MarkingLog.h"

#include "support/TempFolder.h"
#ifdef KORVEX_LOG_POSTGRESQL
#include "support/PgServer.h"
#endif

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <map>
#include <memory>
#include <tuple>

namespace fs = std::filesystem;
using namespace korvex::log;

namespace {

TMarkRecord record(const std::string& text, const fs::path& output) {
    TMarkRecord r;
    r.Text = text;
    r.ContentKind = "TEXT";
    r.Output = output;
    r.Profile = "Fräsen";
    r.Sha256 = std::string(64, 'a');
    return r;
}

void writeDone(TMarkingLog& log, std::vector<TMarkRecord> records, std::int64_t run = 0) {
    log.BeginWrites(records, false, run);
    std::vector<std::int64_t> ids;
    for (const TMarkRecord& r : records)
        ids.push_back(r.Id);
    log.FinishWrites(ids);
}

// A serial run of count numbers on counter whose first `written` numbers got their programs.
void serialRun(TMarkingLog& log, const std::string& counter, std::int64_t count,
               std::int64_t written, const fs::path& folder) {
    const auto taken = log.TakeSerials(counter, count, 1, [](std::int64_t) { return true; });
    ASSERT_TRUE(taken);
    std::vector<TMarkRecord> records;
    for (std::int64_t n = taken->First; n < taken->First + written; ++n) {
        records.push_back(record(counter + "-" + std::to_string(n),
                                 folder / (counter + std::to_string(n) + ".nc")));
        records.back().Counter = counter;
        records.back().Serial = n;
    }
    writeDone(log, std::move(records), taken->Run);
    log.FinishRun(taken->Run);
}

// What must survive a move, ids aside: a record's writer, time, content and file.
using TSeen = std::tuple<std::string, std::string, std::string, std::string, std::string,
                         std::string, std::string, std::string, std::string, std::int64_t>;
std::vector<TSeen> seen(const TMarkingLog& log) {
    std::vector<TSeen> all;
    for (const TMarkRecord& r : log.Query({}))
        all.emplace_back(r.TimeUtc, r.TimeLocal, r.User, r.Host, r.Text, r.ContentKind, r.Profile,
                         r.Output.string(), r.Counter, r.Serial.value_or(-1));
    return all;
}

// The station's log as a test writes it: two counters, one run cut short, a content twice,
// written by another user on another computer on another day.
void fillStation(const fs::path& file, const fs::path& folder) {
    {
        TMarkingLog station(file);
        writeDone(station, {record("Welle 7", folder / "w1.nc")});
        serialRun(station, "SN", 5, 5, folder);
        serialRun(station, "Los", 10, 3, folder);
        // The same content again, to another file: a record of its own.
        writeDone(station, {record("Welle 7", folder / "w2.nc")});
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db,
                           "UPDATE marks SET host = 'halle3', \"user\" = 'Jürgen', "
                           "time_utc = '2026-03-0' || (id % 9 + 1) || 'T07:00:00Z', "
                           "time_local = '2026-03-0' || (id % 9 + 1) || ' 08:00:00 +0100'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
}

// A log of each kind the test can reach: a SQLite file, or a fresh schema on the test's server.
struct TPlace {
    const char* Kind;
};
void PrintTo(const TPlace& place, std::ostream* out) {
    *out << place.Kind;
}

class LogTransferTest : public ::testing::TestWithParam<TPlace> {
  protected:
    TempFolder temp;
    std::unique_ptr<TMarkingLog> open(const std::string& name) {
        if (std::string(GetParam().Kind) == "sqlite")
            return std::make_unique<TMarkingLog>(temp / (name + ".sqlite"));
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

TEST_P(LogTransferTest, RoundTripKeepsRecordsAndCounters) {
    fillStation(temp / "station.sqlite", temp.path());
    TMarkingLog station(temp / "station.sqlite");
    TMarkRecord graded = record("Graded", temp / "graded.nc");
    graded.Grade = "B, AS9132 passes, reads";
    writeDone(station, {graded});
    const auto middle = open("middle");
    const TTransfer there = TransferLog(station, *middle);
    EXPECT_EQ(there.Added, 11u);
    TMarkingLog back(temp / "back.sqlite");
    TransferLog(*middle, back);
    EXPECT_EQ(seen(back), seen(station));
    // The predicted grade goes with its record both ways.
    const TMarkingLog* const logs[] = {middle.get(), &back};
    for (const TMarkingLog* log : logs) {
        TLogQuery query;
        query.Text = "Graded";
        const auto found = log->Query(query);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(log->PredictedGrade(found.front().Id), graded.Grade);
    }
    for (const char* counter : {"SN", "Los", "never"})
        EXPECT_EQ(back.NextSerial(counter), station.NextSerial(counter)) << counter;
    // The numbers the run left unused stay spent on the other side too.
    const auto runs = back.Runs();
    std::vector<std::int64_t> unused;
    for (const TRunRecord& run : runs)
        unused.insert(unused.end(), run.Unused.begin(), run.Unused.end());
    EXPECT_EQ(unused, (std::vector<std::int64_t>{4, 5, 6, 7, 8, 9, 10}));
}

TEST_P(LogTransferTest, ImportTwiceIsImportOnceEvenForLoggedContent) {
    fillStation(temp / "station.sqlite", temp.path());
    TMarkingLog station(temp / "station.sqlite");
    const auto target = open("target");
    // The same content, marked on the target's own station: not the station's record.
    writeDone(*target, {record("Welle 7", temp / "elsewhere.nc")});
    const TTransfer first = TransferLog(station, *target);
    const TTransfer again = TransferLog(station, *target);
    EXPECT_EQ(first.Added, 10u);
    EXPECT_EQ(first.Present, 0u);
    EXPECT_EQ(again.Added, 0u);
    EXPECT_EQ(again.Present, 10u);
    EXPECT_TRUE(again.Counters.empty());
    EXPECT_EQ(target->Query({}).size(), 11u);
    EXPECT_EQ(target->Runs().size(), 2u);
}

TEST_P(LogTransferTest, CounterNeverGoesBelowEitherSide) {
    fillStation(temp / "station.sqlite", temp.path());
    TMarkingLog station(temp / "station.sqlite"); // SN next 6, Los next 11
    const auto target = open("target");
    serialRun(*target, "SN", 100, 0, temp.path()); // SN next 101 there
    const TTransfer moved = TransferLog(station, *target);
    EXPECT_EQ(target->NextSerial("SN"), 101);
    EXPECT_EQ(target->NextSerial("Los"), 11);
    ASSERT_EQ(moved.Counters.size(), 1u);
    EXPECT_EQ(moved.Counters.front().Counter, "Los");
    EXPECT_EQ(moved.Counters.front().Next, 11);
    // And the other way round: the file's counter moves up to the server's.
    TransferLog(*target, station);
    EXPECT_EQ(station.NextSerial("SN"), 101);
}

INSTANTIATE_TEST_SUITE_P(Backends, LogTransferTest,
                         ::testing::Values(TPlace{"sqlite"}, TPlace{"postgresql"}),
                         [](const auto& info) { return std::string(info.param.Kind); });

} // namespace

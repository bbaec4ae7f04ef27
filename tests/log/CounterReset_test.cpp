#include "log/CounterReset.h"
#include "log/MarkingLog.h"

#include "base/TextNumbers.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>
#include <vector>

using namespace korvex::log;
using korvex::ncgen::TCounterReset;
using korvex::ncgen::TMoment;
namespace text = korvex::text;

namespace {

// Windows-1252, as main.ini gives them; the log file keeps UTF-8.
const std::vector<korvex::ncgen::TShift> SHIFTS = {
    {"Fr\xFCh", 360}, {"Sp\xE4t", 840}, {"Nacht", 1320}};

TCounterAsk at(TMoment now, std::optional<TCounterReset> reset = {}, bool change = false) {
    return {reset, change, [now] { return now; }, SHIFTS};
}

TEST(CounterReset, TakeStartsAgainOnlyInALaterPeriodOfTheCounterOwnReset) {
    const TStoredCounter day10{8, TCounterReset::Day, "2026-12-10", 1};
    const TStoredCounter never{8, TCounterReset::Never, "", 1};
    const TStoredCounter early{8, TCounterReset::Shift, "2026-12-10 06:00 Fr\xFCh", 1};
    struct Row {
        const char* what;
        std::optional<TStoredCounter> stored;
        TCounterAsk ask;
        std::int64_t first;
        TCounterReset reset;
        const char* period;
    };
    const Row rows[] = {
        {"new counter", std::nullopt, at({2026, 12, 10, 9}, TCounterReset::Day), 1,
         TCounterReset::Day, "2026-12-10"},
        {"same day", day10, at({2026, 12, 10, 23, 59, 59}), 8, TCounterReset::Day, "2026-12-10"},
        {"after midnight", day10, at({2026, 12, 11, 0, 0, 0}, TCounterReset::Day), 1,
         TCounterReset::Day, "2026-12-11"},
        {"shift change", early, at({2026, 12, 10, 14, 0, 0}), 1, TCounterReset::Shift,
         "2026-12-10 14:00 Sp\xE4t"},
        {"same shift", early, at({2026, 12, 10, 13, 59, 59}), 8, TCounterReset::Shift,
         "2026-12-10 06:00 Fr\xFCh"},
        {"never", never, at({2027, 1, 1, 0, 0, 0}), 8, TCounterReset::Never, ""},
        {"changed on purpose goes on", never, at({2026, 12, 11, 1}, TCounterReset::Week, true), 8,
         TCounterReset::Week, "2026-W50"},
    };
    for (const Row& row : rows) {
        const TCounterTake take = TakeFrom(row.stored, "Schild", row.ask);
        EXPECT_TRUE(take.Refusal.Empty()) << row.what;
        EXPECT_EQ(take.First, row.first) << row.what;
        EXPECT_EQ(take.Counter.Reset, row.reset) << row.what;
        EXPECT_EQ(take.Counter.Period, row.period) << row.what;
    }
}

TEST(CounterReset, AnotherResetOrAShiftResetWithoutShiftsIsRefused) {
    const TStoredCounter day{8, TCounterReset::Day, "2026-12-10", 1};
    const TCounterTake other = TakeFrom(day, "Schild", at({2026, 12, 10}, TCounterReset::Month));
    EXPECT_EQ(other.Refusal.Text, text::CounterResetDiffers);
    EXPECT_EQ(other.Refusal.Values, (std::vector<std::string>{"Schild", "day", "month"}));
    const TCounterTake behind = TakeFrom(day, "Schild", at({2026, 12, 9, 23, 59, 59}));
    EXPECT_EQ(behind.Refusal.Text, text::CounterClockBehind) << "a clock behind the counter's";
    TCounterAsk noShifts = at({2026, 12, 10}, TCounterReset::Shift);
    noShifts.Shifts.clear();
    EXPECT_EQ(TakeFrom(std::nullopt, "Schild", noShifts).Refusal.Text,
              text::ShiftResetShiftNoTable);
}

// What the log file keeps: the counter's reset across opening it again, each run's period.
TEST(CounterReset, LogCounterStartsAgainAtMidnightAndAtTheShiftChange) {
    TempFolder temp;
    const auto file = temp / LogFileName;
    const auto first = [&](const char* counter, TCounterAsk ask) {
        TMarkingLog log{file};
        return log.TakeSerials(counter, 3, 1, {}, ask)->First;
    };
    EXPECT_EQ(first("Tag", at({2026, 12, 10, 23, 59, 0}, TCounterReset::Day)), 1);
    EXPECT_EQ(first("Tag", at({2026, 12, 10, 23, 59, 59})), 4);
    EXPECT_EQ(first("Tag", at({2026, 12, 11, 0, 0, 0})), 1) << "reset kept with the counter";
    EXPECT_EQ(first("Schicht", at({2026, 12, 10, 13, 0, 0}, TCounterReset::Shift)), 1);
    EXPECT_EQ(first("Schicht", at({2026, 12, 10, 13, 59, 0})), 4);
    EXPECT_EQ(first("Schicht", at({2026, 12, 10, 14, 0, 0})), 1);
    EXPECT_EQ(first("Schicht", at({2026, 12, 11, 1, 0, 0})), 1);
    EXPECT_EQ(first("Schicht", at({2026, 12, 11, 5, 0, 0})), 4) << "night shift past midnight";
    TMarkingLog log{file};
    EXPECT_EQ(log.NextSerial("Tag", at({2026, 12, 11, 8})), 4);
    EXPECT_EQ(log.NextSerial("Tag", at({2026, 12, 12, 8})), 1);
    EXPECT_EQ(log.Counter("Schicht")->Reset, TCounterReset::Shift);

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.string().c_str(), &db), SQLITE_OK);
    sqlite3_stmt* select = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "SELECT period FROM runs WHERE counter = 'Schicht' ORDER BY id",
                                 -1, &select, nullptr),
              SQLITE_OK);
    std::vector<std::string> periods;
    while (sqlite3_step(select) == SQLITE_ROW)
        periods.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(select, 0)));
    sqlite3_finalize(select);
    sqlite3_close(db);
    EXPECT_EQ(periods, (std::vector<std::string>{"2026-12-10 06:00 Früh", "2026-12-10 06:00 Früh",
                                                 "2026-12-10 14:00 Spät", "2026-12-10 22:00 Nacht",
                                                 "2026-12-10 22:00 Nacht"}));
}

} // namespace

#include "ncgen/DateCodes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korvex::ncgen;

namespace {

const std::vector<TShift> Shifts = *ReadShiftTable("Nacht=22:00;Früh=06:00;Spät=14:00");

TEST(DateCodes, PatternsAgainstAFixedClock) {
    struct Row {
        TMoment now;
        const char* pattern;
        const char* expected;
    };
    const Row rows[] = {
        {{2026, 12, 10, 9, 5, 7}, "{date:YYMMDD}", "261210"},
        {{2026, 12, 10, 9, 5, 7}, "SN{date:YYYY-MM-DD}/{time:HHMM}", "SN2026-12-10/0905"},
        {{2026, 12, 10, 9, 5, 7}, "{date:YYDDD}{time:HH:MM:SS}", "2634409:05:07"},
        {{2026, 3, 1, 0, 0, 0}, "{date:DDD}", "060"},                    // not a leap year
        {{2028, 3, 1, 0, 0, 0}, "{date:DDD}", "061"},                    // a leap year
        {{2026, 1, 1, 0, 0, 0}, "{date:YYWW}", "2601"},                  // a Thursday: week 1
        {{2027, 1, 1, 0, 0, 0}, "{date:WW}", "53"},                      // a Friday: 2026's week 53
        {{2024, 12, 30, 0, 0, 0}, "{date:WW}", "01"},                    // Monday of 2025's week 1
        {{2024, 12, 30, 0, 0, 0}, "{date:YYYYWW}{date:YY}", "20250124"}, // the week's year
        {{2026, 12, 10, 9, 5, 7}, "{shift}-{n:04}", "Früh-{n:04}"},
        {{2026, 12, 10, 14, 0, 0}, "{shift}", "Spät"},
        {{2026, 12, 11, 5, 59, 0}, "{shift}", "Nacht"}, // began the evening before
        {{2026, 12, 10, 23, 30, 0}, "{shift}{date:DD}", "Nacht10"},
        {{2027, 1, 1, 2, 0, 0}, "{date:YYWW}{shift}", "2653Nacht"}, // the year's turn at night
        {{2026, 12, 10, 9, 5, 7}, "{date}{time:}{Date:YY}{date:YY", "{date}{Date:YY}{date:YY"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ExpandDateCodes(row.pattern, row.now, Shifts), row.expected) << row.pattern;
    EXPECT_EQ(ExpandDateCodes("{shift}", {}, {}), "{shift}") << "no shift table";
}

TEST(DateCodes, ShiftTableRefusesWhatCouldNotBeMeant) {
    ASSERT_EQ(Shifts.size(), 3u);
    EXPECT_EQ(Shifts.front(), (TShift{"Früh", 360}));
    for (const char* bad : {"Früh", "=06:00", "Früh=6:00", "Früh=24:00", "Früh=06:60",
                            "A=06:00;B=06:00", "A{=06:00", "A=06:00;"})
        EXPECT_FALSE(ReadShiftTable(bad).has_value()) << bad;
    EXPECT_EQ(ReadShiftTable("")->size(), 0u);
}

TEST(DateCodes, ShiftEntriesSayWhatIsWrong) {
    struct Row {
        const char* entry;
        TShiftProblem problem;
        TShift shift;
    };
    const Row rows[] = {
        {"Früh 06:00", TShiftProblem::None, {"Früh", 360}},
        {"Spät  Schicht   14:00", TShiftProblem::None, {"Spät  Schicht", 840}},
        {"06:00", TShiftProblem::NoName, {}},
        {" 06:00", TShiftProblem::NoName, {}},
        {"Früh", TShiftProblem::NoName, {}},
        {"Früh 6:00", TShiftProblem::BadStart, {}},
        {"Früh 06:61", TShiftProblem::BadStart, {}},
        {"Früh 06:00 ", TShiftProblem::BadStart, {}},
        {"{n} 06:00", TShiftProblem::BraceInName, {}},
    };
    for (const Row& row : rows) {
        const TShiftEntry read = ReadShiftEntry(row.entry);
        EXPECT_EQ(read.Problem, row.problem) << row.entry;
        if (row.problem == TShiftProblem::None) EXPECT_EQ(read.Shift, row.shift) << row.entry;
    }
    EXPECT_TRUE(UsesShift("A{shift}-{n}"));
    EXPECT_FALSE(UsesShift("A{shifts}{Shift}"));
}

// A counter's numbers start again exactly when its period changes.
TEST(DateCodes, CounterPeriodsChangeAtMidnightAndAtTheShiftChange) {
    struct Row {
        TCounterReset reset;
        TMoment before;
        TMoment after;
        bool starts;
    };
    const Row rows[] = {
        {TCounterReset::Day, {2026, 12, 10, 23, 59, 59}, {2026, 12, 11, 0, 0, 0}, true},
        {TCounterReset::Day, {2026, 12, 10, 0, 0, 0}, {2026, 12, 10, 23, 59, 59}, false},
        {TCounterReset::Shift, {2026, 12, 10, 13, 59, 59}, {2026, 12, 10, 14, 0, 0}, true},
        {TCounterReset::Shift, {2026, 12, 10, 23, 59, 0}, {2026, 12, 11, 0, 1, 0}, false},
        {TCounterReset::Shift, {2026, 12, 11, 5, 59, 0}, {2026, 12, 11, 6, 0, 0}, true},
        {TCounterReset::Week, {2026, 12, 13, 23, 0, 0}, {2026, 12, 14, 1, 0, 0}, true}, // Sunday
        {TCounterReset::Week, {2027, 1, 1, 0, 0, 0}, {2026, 12, 31, 0, 0, 0}, false},
        {TCounterReset::Month, {2026, 12, 31, 23, 0, 0}, {2027, 1, 1, 0, 0, 0}, true},
        {TCounterReset::Year, {2026, 1, 1, 0, 0, 0}, {2026, 12, 31, 0, 0, 0}, false},
        {TCounterReset::Never, {2026, 1, 1, 0, 0, 0}, {2027, 12, 31, 0, 0, 0}, false},
    };
    for (const Row& row : rows) {
        const std::string name(CounterResetName(row.reset));
        EXPECT_EQ(ResetPeriod(row.reset, row.before, Shifts) !=
                      ResetPeriod(row.reset, row.after, Shifts),
                  row.starts)
            << name << " " << ResetPeriod(row.reset, row.before, Shifts) << " / "
            << ResetPeriod(row.reset, row.after, Shifts);
        EXPECT_EQ(ReadCounterReset(name), row.reset);
    }
    EXPECT_EQ(ResetPeriod(TCounterReset::Shift, {2026, 12, 11, 5, 0, 0}, Shifts),
              "2026-12-10 22:00 Nacht");
    EXPECT_EQ(ResetPeriod(TCounterReset::Shift, {2027, 1, 1, 2, 0, 0}, Shifts),
              "2026-12-31 22:00 Nacht");
    EXPECT_FALSE(ReadCounterReset("daily").has_value());
}

} // namespace

#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::ncgen {

// A local calendar moment, as a program is written.
struct TMoment {
    int Year = 2000;
    int Month = 1; // 1-12
    int Day = 1;   // 1-31
    int Hour = 0;
    int Minute = 0;
    int Second = 0;

    bool operator==(const TMoment&) const = default;
};

// The system clock in local time; tests pass their own clock instead. A process whose
// KORVEX_TEST_NOW holds "YYYY-MM-DDTHH:MM:SS" starts its clock there (tests of processes that
// run across a counter's reset); the clock then goes on at the system's pace.
TMoment LocalNow();
using TClock = std::function<TMoment()>;

// One shift of the settings' shift table: its name and its start, minutes after midnight.
struct TShift {
    std::string Name;
    int Start = 0;

    bool operator==(const TShift&) const = default;
};

// "Früh=06:00;Spät=14:00;Nacht=22:00": names with their starts, in any order; nullopt for a
// name that is empty or holds a brace, a time that is no HH:MM, or a start given twice.
std::optional<std::vector<TShift>> ReadShiftTable(std::string_view text);

// "Früh 06:00", a shift as main.ini keeps it: the name, a blank, the start. Problem says what
// is wrong with it, if anything.
enum class TShiftProblem { None, NoName, BraceInName, BadStart };
struct TShiftEntry {
    TShift Shift;
    TShiftProblem Problem = TShiftProblem::None;
};
TShiftEntry ReadShiftEntry(std::string_view entry);

// Whether a pattern asks for the running shift's name.
bool UsesShift(std::string_view pattern);

// The shift running at `now` and the day it began: the last one started that day, else the
// latest of the day before (a night shift goes on past midnight). Nothing without shifts.
struct TShiftAt {
    std::string Name;
    TMoment Began; // the start of the shift
};
std::optional<TShiftAt> ShiftAt(const TMoment& now, const std::vector<TShift>& shifts);

// {date:FMT} with YYYY, YY, MM, DD, DDD (day of the year) and WW (ISO week) in FMT, other
// characters kept; with WW in FMT the year is the ISO week's; {time:FMT} with HH, MM, SS; {shift}
// the running shift's name. Any other brace, and {shift} without a shift table, stays as written.
std::string ExpandDateCodes(std::string_view pattern, const TMoment& now,
                            const std::vector<TShift>& shifts);

// When a named counter starts again: the period its numbers belong to changes.
enum class TCounterReset { Never, Day, Week, Month, Year, Shift };
std::optional<TCounterReset> ReadCounterReset(std::string_view name); // "day" ... "shift"
std::string_view CounterResetName(TCounterReset reset);

// The period of `now` as text ("2026-12-10", "2026-W50", "2026-12", "2026",
// "2026-12-09 22:00 Nacht"); empty for Never. Two moments share a number series exactly when
// their periods are equal.
std::string ResetPeriod(TCounterReset reset, const TMoment& now, const std::vector<TShift>& shifts);

} // namespace korvex::ncgen

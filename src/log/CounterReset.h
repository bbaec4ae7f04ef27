#pragma once

#include "base/EKorvexError.h"
#include "base/TextMessage.h"
#include "ncgen/DateCodes.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::log {

// What a run asks of its counter's reset, and what the period is taken from.
struct TCounterAsk {
    std::optional<ncgen::TCounterReset> Reset; // given for this run; none: as the counter has it
    bool Change = false;                       // a different reset replaces the counter's own
    ncgen::TClock Clock = ncgen::LocalNow;
    std::vector<ncgen::TShift> Shifts;
};

// A counter as the log keeps it: the next number, when it starts again, the period its last
// numbers belong to and the number it starts from.
struct TStoredCounter {
    std::int64_t Next = 1;
    ncgen::TCounterReset Reset = ncgen::TCounterReset::Never;
    std::string Period;
    std::int64_t Start = 1;
};

// What a take from a counter does, decided inside its transaction: its first number and the
// counter's reset, period and start afterwards, or the refusal (a reset other than the
// counter's own not asked to change it, a shift reset without shifts, a period before the
// counter's); then nothing is taken.
struct TCounterTake {
    base::TTextMessage Refusal;
    std::int64_t First = 1;
    TStoredCounter Counter; // Next left as stored
};
// counter names the counter in a refusal (Windows-1252). A counter never used starts at 1;
// a later period starts again at the counter's start, an earlier one (a clock behind) is
// refused; a changed reset goes on counting.
TCounterTake TakeFrom(const std::optional<TStoredCounter>& stored, std::string_view counter,
                      const TCounterAsk& ask);

// TakeFrom's refusal, thrown from inside the counter's transaction: a setting of the user's,
// not a fault of the log, so it comes without the log's way out.
class ECounterRefused : public EKorvexError {
  public:
    explicit ECounterRefused(base::TTextMessage message)
        : EKorvexError(message.Detail), Message(std::move(message)) {}
    base::TTextMessage Message;
};

// The schema step that keeps a counter's reset and a run's period.
inline constexpr const char* CounterResetMigration =
    R"(ALTER TABLE counters ADD COLUMN reset TEXT NOT NULL DEFAULT 'never';
       ALTER TABLE counters ADD COLUMN period TEXT NOT NULL DEFAULT '';
       ALTER TABLE counters ADD COLUMN start INTEGER NOT NULL DEFAULT 1;
       ALTER TABLE runs ADD COLUMN period TEXT NOT NULL DEFAULT '';)";
// The same on a server.
inline constexpr const char* PgCounterResetMigration =
    R"(ALTER TABLE korvex.counters ADD COLUMN reset TEXT NOT NULL DEFAULT 'never';
       ALTER TABLE korvex.counters ADD COLUMN period TEXT NOT NULL DEFAULT '';
       ALTER TABLE korvex.counters ADD COLUMN start BIGINT NOT NULL DEFAULT 1;
       ALTER TABLE korvex.runs ADD COLUMN period TEXT NOT NULL DEFAULT '';)";

// A stored reset's name back; an unknown one (a newer version's) as Never.
ncgen::TCounterReset StoredReset(std::string_view name);

} // namespace korvex::log

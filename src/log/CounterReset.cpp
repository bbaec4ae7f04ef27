#include "log/CounterReset.h"

#include "base/TextNumbers.h"

namespace korvex::log {

ncgen::TCounterReset StoredReset(std::string_view name) {
    return ncgen::ReadCounterReset(name).value_or(ncgen::TCounterReset::Never);
}

TCounterTake TakeFrom(const std::optional<TStoredCounter>& stored, std::string_view counter,
                      const TCounterAsk& ask) {
    using ncgen::TCounterReset;
    TCounterTake take;
    if (stored) take.Counter = *stored;
    const TCounterReset had = take.Counter.Reset;
    const bool changed = stored && ask.Reset && *ask.Reset != had;
    if (changed && !ask.Change) {
        take.Refusal = {text::CounterResetDiffers,
                        0,
                        {},
                        {std::string(counter), std::string(ncgen::CounterResetName(had)),
                         std::string(ncgen::CounterResetName(*ask.Reset))}};
        return take;
    }
    if (ask.Reset) take.Counter.Reset = *ask.Reset;
    if (take.Counter.Reset == TCounterReset::Shift && ask.Shifts.empty()) {
        take.Refusal = {text::ShiftResetShiftNoTable, 0, {}, {std::string(counter)}};
        return take;
    }
    const std::string period = ncgen::ResetPeriod(take.Counter.Reset, ask.Clock(), ask.Shifts);
    // Periods as text sort as time goes. A station whose clock is behind would mark its
    // older date with numbers of the newer series: refused, so no text is made twice.
    const bool kept = stored && !changed && take.Counter.Reset != TCounterReset::Never;
    if (kept && period < stored->Period) {
        take.Refusal = {
            text::CounterClockBehind, 0, {}, {std::string(counter), stored->Period, period}};
        return take;
    }
    const bool newPeriod = kept && period != stored->Period;
    take.First = newPeriod ? take.Counter.Start : take.Counter.Next;
    if (!stored) take.Counter.Start = take.First;
    take.Counter.Period = period;
    return take;
}

} // namespace korvex::log

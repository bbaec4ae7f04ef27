#pragma once

#include "log/MarkingLog.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvex::log {

// What moving one log's content into another did.
struct TTransfer {
    std::size_t Added = 0;   // records the target did not hold yet
    std::size_t Present = 0; // records it held already (an earlier import)
    struct TRaised {
        std::string Counter;
        std::int64_t Next = 0; // where the target's counter stands now
    };
    std::vector<TRaised> Counters; // counters the target had behind the source's
};

// Adds the source's done records to the target with their writers and times, and moves each
// of the target's counters at least as far as the source's. A record is the same record
// when the same user on the same host wrote the same bytes to the same file at the same
// second, whatever its content; so a repeated transfer adds nothing. The numbers a counter
// moves past form a finished run of the target, carried by the records that hold them.
// Throws ELogError as the logs do.
TTransfer TransferLog(const TMarkingLog& source, TMarkingLog& target);

} // namespace korvex::log

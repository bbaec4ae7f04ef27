#include "log/LogTransfer.h"

#include "log/RecordMapping.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace korvex::log {

namespace {

using TIdentity = std::tuple<std::string, std::string, std::string, std::string, std::string>;

TIdentity identity(const TMarkRecord& record) {
    return {record.Host, record.User, record.TimeUtc, PathUtf8(record.Output), record.Sha256};
}

// The run of the target a record's number was taken in by this transfer; 0 for none.
struct TTakenRange {
    std::string Counter;
    std::int64_t First = 0, End = 0, Run = 0;
};

std::int64_t runOf(const TMarkRecord& record, const std::vector<TTakenRange>& ranges) {
    for (const TTakenRange& range : ranges)
        if (record.Counter == range.Counter && record.Serial && *record.Serial >= range.First &&
            *record.Serial < range.End)
            return range.Run;
    return 0;
}

// Stores records that are done already, in their order: no file is written for them.
void addDone(TMarkingLog& target, std::vector<TMarkRecord>& records,
             const std::vector<TTakenRange>& ranges) {
    for (std::size_t i = 0; i < records.size();) {
        const std::int64_t run = runOf(records[i], ranges);
        std::vector<TMarkRecord> batch;
        for (; i < records.size() && runOf(records[i], ranges) == run; ++i)
            batch.push_back(records[i]);
        target.BeginWrites(batch, false, run);
        std::vector<std::int64_t> ids;
        for (const TMarkRecord& record : batch)
            ids.push_back(record.Id);
        target.FinishWrites(ids);
    }
}

} // namespace

TTransfer TransferLog(const TMarkingLog& source, TMarkingLog& target) {
    TTransfer transfer;
    std::set<TIdentity> held;
    for (const TMarkRecord& record : target.Query({}))
        held.insert(identity(record));
    std::vector<TMarkRecord> fresh;
    for (TMarkRecord& record : source.Query({})) {
        if (!held.insert(identity(record)).second) {
            ++transfer.Present;
            continue;
        }
        // A listing leaves the predicted grade out; the move keeps it.
        if (record.Grade.empty()) record.Grade = source.PredictedGrade(record.Id);
        fresh.push_back(std::move(record));
    }
    transfer.Added = fresh.size();

    std::set<std::string> counters;
    for (const TRunRecord& run : source.Runs())
        counters.insert(run.Counter);
    for (const TMarkRecord& record : fresh)
        if (!record.Counter.empty()) counters.insert(record.Counter);
    std::vector<TTakenRange> ranges;
    for (const std::string& counter : counters) {
        const std::int64_t want = source.NextSerial(counter);
        const std::int64_t have = target.NextSerial(counter);
        if (want <= have) continue;
        const auto taken =
            target.TakeSerials(counter, want - have, 1, [](std::int64_t) { return true; });
        if (taken) ranges.push_back({counter, taken->First, want, taken->Run});
    }
    addDone(target, fresh, ranges);
    for (const TTakenRange& range : ranges) {
        target.FinishRun(range.Run);
        transfer.Counters.push_back({range.Counter, target.NextSerial(range.Counter)});
    }
    return transfer;
}

} // namespace korvex::log

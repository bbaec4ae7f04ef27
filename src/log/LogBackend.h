#pragma once

#include "base/Process.h"
#include "log/CounterReset.h"
#include "log/MarkingLog.h"
#include "log/Verification.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::log {

// A write a process left pending, as the log keeps it.
struct TPendingWrite {
    std::int64_t Id = 0;
    base::TProcessIdentity Writer;
    std::filesystem::path Output;
    std::string Sha256;
    std::filesystem::path Temporary;
};

// A run as the log keeps it: the listing's fields so far, and whose it is.
struct TStoredRun {
    TRunRecord Run;
    std::string Host;
    base::TProcessIdentity Writer;
    std::vector<std::int64_t> Used; // the serials of its done records
};

// What one database keeps of the log. The rules (who is dead, which file is in place, what
// a run left unused) are TMarkingLog's; a back end stores and answers, each call one
// transaction, and throws ELogError naming itself when it cannot.
class TLogBackend {
  public:
    virtual ~TLogBackend() = default;

    virtual std::optional<std::pair<std::size_t, TMarkRecord>>
    FindFirstLogged(const std::vector<std::string>& texts, std::string_view contentKind) const = 0;
    virtual std::vector<TMarkRecord> Query(const TLogQuery& query) const = 0;
    virtual std::vector<TMarkRecord> FindHash(std::string_view sha256) const = 0;
    virtual std::vector<TStoredRun> Runs() const = 0;
    // Nothing for a counter never used.
    virtual std::optional<TStoredCounter> ReadCounter(std::string_view counter) const = 0;

    // The number TakeFrom decides goes to accept; unless refused, the counter moves past the
    // run (SerialsEnd), keeps the reset and period decided, and the run is opened with its
    // period, all or nothing. TakeFrom's refusal is thrown as ECounterRefused.
    virtual std::optional<TMarkingLog::TTakenRun>
    TakeSerials(std::string_view counter, std::int64_t count, std::int64_t step,
                const TCounterAsk& ask, const std::function<bool(std::int64_t)>& accept) = 0;
    virtual void FinishRun(std::int64_t run) = 0;

    // With refuseDuplicates, the first logged content stops it before anything is stored.
    virtual TMarkingLog::TBegun BeginWrites(std::vector<TMarkRecord>& records,
                                            bool refuseDuplicates, std::int64_t run) = 0;
    virtual void FinishWrites(const std::vector<std::int64_t>& ids) = 0;
    virtual void AbandonWrites(const std::vector<std::int64_t>& ids) = 0;

    // What writers on this host left: pending writes and open runs.
    virtual std::vector<TPendingWrite> PendingOf(std::string_view host) const = 0;
    virtual std::vector<TStoredRun> OpenRunsOf(std::string_view host) const = 0;
    // Keeps the completed writes, drops the abandoned ones and closes the runs as interrupted
    // by settler, filling in what each run wrote.
    virtual void Settle(const std::vector<std::int64_t>& completed,
                        const std::vector<std::int64_t>& abandoned,
                        std::vector<TInterruptedRun>& runs, const std::string& settler) = 0;

    // Verifications of marked parts (log/Verification.h): stored with the record they name,
    // each record's in the order stored, done records that have none.
    virtual void AddVerification(TVerification& verification) = 0;
    virtual std::vector<TVerification> VerificationsOf(std::int64_t mark) const = 0;
    virtual std::vector<TMarkRecord> Unverified() const = 0;
    // The record's predicted grade (GradeRecord.h); empty when none was kept.
    virtual std::string PredictedGrade(std::int64_t mark) const = 0;
};

// Where a counter stands after count numbers from first on, step apart; throws ELogError
// when step is not positive or the counter would pass its largest number.
std::int64_t SerialsEnd(std::int64_t first, std::int64_t count, std::int64_t step);

} // namespace korvex::log

#include "log/MarkingLog.h"

#include "base/Process.h"
#include "base/TextNumbers.h"
#include "log/LogBackend.h"
#include "log/RecordMapping.h"
#include "log/Sha256.h"
#include "log/SqliteLog.h"
#ifdef KORVEX_LOG_POSTGRESQL
#include "log/PgLog.h"
#endif

#include <algorithm>
#include <ctime>
#include <fstream>

namespace korvex::log {

namespace fs = std::filesystem;

namespace {

bool fileHashes(const fs::path& file, const std::string& sha256) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    TSha256 hash;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        hash.Add(std::string_view(buffer, static_cast<std::size_t>(in.gcount())));
    return !in.bad() && hash.HexDigest() == sha256;
}

} // namespace

std::int64_t SerialsEnd(std::int64_t first, std::int64_t count, std::int64_t step) {
    // A counter never moves back and never passes INT64_MAX, whoever asks.
    std::int64_t next = 0;
    if (step < 1) throw ELogError({text::CounterStepNotPositive, 0, {}});
    if (count < 1 || __builtin_mul_overflow(count, step, &next) ||
        __builtin_add_overflow(first, next, &next))
        throw ELogError({text::CounterWouldOverflow,
                         0,
                         {},
                         {std::to_string(first), std::to_string(count), std::to_string(step)}});
    return next;
}

bool IsServerLog(const fs::path& location) {
    const std::string text = PathUtf8(location);
    return text.starts_with("postgresql://") || text.starts_with("postgres://");
}

namespace {

std::unique_ptr<TLogBackend> openBackend(const fs::path& location, TMarkingLog::TAccess access,
                                         std::function<void()> waiting) {
    if (!IsServerLog(location))
        return std::make_unique<TSqliteLog>(location, access, std::move(waiting));
#ifdef KORVEX_LOG_POSTGRESQL
    return std::make_unique<TPgLog>(PathUtf8(location), access, std::move(waiting));
#else
    throw ELogError({text::LogCannotOpen, 0, ServerOnlyWithLibpq});
#endif
}

} // namespace

TMarkingLog::TMarkingLog(const fs::path& file, TAccess access, std::function<void()> waiting)
    : file_(file), backend_(openBackend(file, access, std::move(waiting))) {
    if (access == TAccess::Write) recover();
}

TMarkingLog::~TMarkingLog() = default;

// Settles what writers of this host left when they died: a file in place with the logged
// bytes keeps its record, any other record goes, and their runs are closed as interrupted.
void TMarkingLog::recover() {
    const std::string host = base::HostName();
    std::vector<std::int64_t> completed, abandoned;
    for (const TPendingWrite& write : backend_->PendingOf(host)) {
        if (base::ProcessRunning(write.Writer)) continue;
        std::error_code ec;
        // Only the temporary this log would have named: a damaged or hostile log must not
        // remove any other file.
        if (write.Temporary == TemporaryFor(write.Output, write.Id))
            fs::remove(write.Temporary, ec);
        const bool inPlace =
            fs::is_regular_file(write.Output, ec) && fileHashes(write.Output, write.Sha256);
        (inPlace ? completed : abandoned).push_back(write.Id);
    }
    std::vector<TInterruptedRun> interrupted;
    for (const TStoredRun& run : backend_->OpenRunsOf(host))
        if (!base::ProcessRunning(run.Writer)) interrupted.push_back(run.Run);
    if (completed.empty() && abandoned.empty() && interrupted.empty()) return;
    const std::string settler = base::UserName() + "@" + host + " " +
                                base::TimeText(std::time(nullptr), false) + " pid " +
                                std::to_string(base::CurrentProcess().Pid);
    backend_->Settle(completed, abandoned, interrupted, settler);
    recovery_.Completed = completed.size();
    recovery_.Abandoned = abandoned.size();
    recovery_.Runs = std::move(interrupted);
}

std::optional<TMarkRecord> TMarkingLog::FindContent(std::string_view text,
                                                    std::string_view contentKind) const {
    const auto found = FindFirstLogged({std::string(text)}, contentKind);
    if (!found) return std::nullopt;
    return found->second;
}

std::optional<std::pair<std::size_t, TMarkRecord>>
TMarkingLog::FindFirstLogged(const std::vector<std::string>& texts,
                             std::string_view contentKind) const {
    return backend_->FindFirstLogged(texts, contentKind);
}

std::vector<TMarkRecord> TMarkingLog::Query(const TLogQuery& query) const {
    return backend_->Query(query);
}

std::vector<TMarkRecord> TMarkingLog::FindHash(std::string_view sha256) const {
    return backend_->FindHash(sha256);
}

std::vector<TRunRecord> TMarkingLog::Runs() const {
    const std::string host = base::HostName();
    std::vector<TRunRecord> runs;
    for (TStoredRun& stored : backend_->Runs()) {
        TRunRecord& run = stored.Run;
        // Not yet settled by a writer, but its process is gone all the same.
        if (run.State == "open" && stored.Host == host && !base::ProcessRunning(stored.Writer))
            run.State = "interrupted";
        std::vector<std::int64_t>& used = stored.Used;
        run.Written = static_cast<std::int64_t>(used.size());
        std::sort(used.begin(), used.end());
        if (run.State != "open")
            for (std::int64_t k = 0; k < run.Count; ++k) {
                const std::int64_t n = run.First + k * run.Step;
                if (!std::binary_search(used.begin(), used.end(), n)) run.Unused.push_back(n);
            }
        runs.push_back(std::move(run));
    }
    return runs;
}

std::int64_t TMarkingLog::NextSerial(std::string_view counter, const TCounterAsk& ask) const {
    const std::optional<TStoredCounter> stored = backend_->ReadCounter(counter);
    const TCounterTake take = TakeFrom(stored, counter, ask);
    return take.Refusal.Empty() ? take.First : stored ? stored->Next : 1;
}

std::optional<TStoredCounter> TMarkingLog::Counter(std::string_view counter) const {
    return backend_->ReadCounter(counter);
}

std::optional<TMarkingLog::TTakenRun>
TMarkingLog::TakeSerials(std::string_view counter, std::int64_t count, std::int64_t step,
                         const std::function<bool(std::int64_t)>& accept, const TCounterAsk& ask) {
    return backend_->TakeSerials(counter, count, step, ask, accept);
}

void TMarkingLog::FinishRun(std::int64_t run) {
    backend_->FinishRun(run);
}

TMarkingLog::TBegun TMarkingLog::BeginWrites(std::vector<TMarkRecord>& records,
                                             bool refuseDuplicates, std::int64_t run) {
    return backend_->BeginWrites(records, refuseDuplicates, run);
}

void TMarkingLog::FinishWrites(const std::vector<std::int64_t>& ids) {
    backend_->FinishWrites(ids);
}

void TMarkingLog::AbandonWrites(const std::vector<std::int64_t>& ids) {
    backend_->AbandonWrites(ids);
}

void TMarkingLog::AddVerification(TVerification& verification) {
    const TWriter writer = WriterNow();
    verification.TimeUtc = writer.TimeUtc;
    verification.Who = writer.User + "@" + writer.Host;
    backend_->AddVerification(verification);
}

std::vector<TVerification> TMarkingLog::VerificationsOf(std::int64_t mark) const {
    return backend_->VerificationsOf(mark);
}

std::vector<TMarkRecord> TMarkingLog::Unverified() const {
    return backend_->Unverified();
}

std::string TMarkingLog::PredictedGrade(std::int64_t mark) const {
    return backend_->PredictedGrade(mark);
}

} // namespace korvex::log

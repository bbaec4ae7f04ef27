#pragma once

#include "log/LogBackend.h"

#include <filesystem>
#include <functional>
#include <memory>

struct sqlite3;

namespace korvex::log {

// The log in one SQLite file, shared by every process that writes programs there.
class TSqliteLog : public TLogBackend {
  public:
    // Throws ELogError when the file cannot be opened, is no log, or comes from a newer schema.
    TSqliteLog(const std::filesystem::path& file, TMarkingLog::TAccess access,
               std::function<void()> waiting);
    ~TSqliteLog() override;

    std::optional<std::pair<std::size_t, TMarkRecord>>
    FindFirstLogged(const std::vector<std::string>& texts,
                    std::string_view contentKind) const override;
    std::vector<TMarkRecord> Query(const TLogQuery& query) const override;
    std::vector<TMarkRecord> FindHash(std::string_view sha256) const override;
    std::vector<TStoredRun> Runs() const override;
    std::optional<TStoredCounter> ReadCounter(std::string_view counter) const override;
    std::optional<TMarkingLog::TTakenRun>
    TakeSerials(std::string_view counter, std::int64_t count, std::int64_t step,
                const TCounterAsk& ask, const std::function<bool(std::int64_t)>& accept) override;
    void FinishRun(std::int64_t run) override;
    TMarkingLog::TBegun BeginWrites(std::vector<TMarkRecord>& records, bool refuseDuplicates,
                                    std::int64_t run) override;
    void FinishWrites(const std::vector<std::int64_t>& ids) override;
    void AbandonWrites(const std::vector<std::int64_t>& ids) override;
    std::vector<TPendingWrite> PendingOf(std::string_view host) const override;
    std::vector<TStoredRun> OpenRunsOf(std::string_view host) const override;
    void Settle(const std::vector<std::int64_t>& completed,
                const std::vector<std::int64_t>& abandoned, std::vector<TInterruptedRun>& runs,
                const std::string& settler) override;
    void AddVerification(TVerification& verification) override;
    std::vector<TVerification> VerificationsOf(std::int64_t mark) const override;
    std::vector<TMarkRecord> Unverified() const override;
    std::string PredictedGrade(std::int64_t mark) const override;

  private:
    void open(TMarkingLog::TAccess access);
    void exec(const char* sql, int failureText) const;
    void changeEach(const char* sql, const std::vector<std::int64_t>& ids) const;
    [[noreturn]] void fail(int text) const;

    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
    std::int64_t schema_ = 0; // as found, for a read-only look at an older log
    struct TWait {
        std::function<void()> Told;
        bool Said = false;
    };
    std::unique_ptr<TWait> wait_;
};

} // namespace korvex::log

#pragma once

#include "log/LogBackend.h"
#include "log/PgResult.h"

#include <string>

struct pg_conn;

namespace korvex::log {

// The log on a PostgreSQL server, shared by every station that names it; its tables live in
// a schema of their own ("korvex"), created and migrated here.
class TPgLog : public TLogBackend {
  public:
    // url as libpq takes it ("postgresql://korvex@server/korvex"); passwords come from libpq's
    // own means (.pgpass, PGPASSFILE). Throws ELogError naming the server. waiting is called
    // once, at once, when another writer holds the log and this one waits for it.
    TPgLog(const std::string& url, TMarkingLog::TAccess access, std::function<void()> waiting = {});
    ~TPgLog() override;

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
    TPgResult run(const char* sql, const std::vector<TValue>& values, int failureText) const;
    void changeEach(const char* sql, const std::vector<std::int64_t>& ids) const;
    void migrate();
    [[noreturn]] void fail(int text, const std::string& detail = {}) const;

    std::string server_; // the url without a password, for messages
    pg_conn* db_ = nullptr;
    std::function<void()> waiting_;
    bool schema_ = false;      // the tables are there
    std::int64_t version_ = 0; // of the tables: a reader may find an older one
    // The schema version that brought the verifications.
    static constexpr std::int64_t VerificationSchema = 3;
};

} // namespace korvex::log

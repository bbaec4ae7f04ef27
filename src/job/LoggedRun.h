#pragma once

#include "job/Job.h"
#include "log/LoggedWrite.h"
#include "log/MarkingLog.h"
#include "ncgen/SerialRun.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korvex::job {

// A file as the log records it: absolute, so the window and korvex-cli name one file alike.
std::filesystem::path RecordedPath(const std::filesystem::path& file);
// The serial counter of a job file (Windows-1252): its recorded path.
std::string JobCounter(const std::filesystem::path& jobFile);

// What the marking log records of a generated program, but its file and hash: the same for
// the window and korvex-cli.
log::TMarkRecord ProgramRecord(const TProgram& program, content::TContentKind kind,
                               std::string profile, const std::filesystem::path& jobFile);

// A serial or list run's part in the marking log, the same for the window and korvex-cli:
// what its records share, the first item logged before, the numbers taken from a counter.
class TLoggedRun {
  public:
    TLoggedRun(log::TMarkingLog& log, std::string contentKind, std::string profile,
               const std::filesystem::path& jobFile);

    // The first item whose content the log holds, with that record.
    std::optional<std::pair<std::size_t, log::TMarkRecord>>
    FirstLogged(const std::vector<ncgen::TRunItem>& items) const;

    // Takes count numbers from counter in one step, so no other window or process hands them
    // out again. accept(first) sees the counter's next number before anything is kept; false
    // takes nothing. Throws log::ELogError.
    // ask: the counter's reset, as CounterReset.h decides it.
    bool TakeNumbers(const std::string& counter, std::int64_t count, std::int64_t step,
                     const std::function<bool(std::int64_t first)>& accept,
                     const log::TCounterAsk& ask = {});
    const std::vector<std::int64_t>& Numbers() const { return serials_; }
    const std::string& Counter() const { return common_.Counter; }

    // The writer of the run's programs with their records.
    log::TLoggedSink Sink() const;
    // Ends a run that took numbers: they are no longer told as cut short. Throws log::ELogError.
    void Finish();

  private:
    log::TMarkingLog* log_;
    log::TMarkRecord common_;
    std::vector<std::int64_t> serials_;
    std::int64_t run_ = 0;
};

} // namespace korvex::job

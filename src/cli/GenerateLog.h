#pragma once

#include "config/LanguageTexts.h"
#include "job/Run.h"
#include "log/MarkingLog.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

namespace korvex::cli {

// How a generating command uses the marking log, as the command line gives it.
struct TLogOptions {
    bool NoLog = false;                 // --no-log
    bool AllowDuplicate = false;        // --allow-duplicate
    std::optional<std::string> Counter; // --counter NAME (UTF-8)
    std::filesystem::path Location;     // --log FILE|URL; empty: the settings' log
};

// A generate command as a run's front end: a duplicate is refused unless --allow-duplicate
// says otherwise, and everything is said on standard error.
class TCommandFront : public job::TRunFront {
  public:
    // A run (serial or list) names the item of a duplicate and prints each program's line.
    TCommandFront(const config::TLanguageTexts& texts, std::ostream& err, bool allowDuplicate,
                  bool run)
        : texts_(texts), err_(err), allowDuplicate_(allowDuplicate), run_(run) {}
    bool WriteAgain(const log::TMarkRecord& earlier, std::size_t item) override;
    void Tell(job::TRunNews news, const std::string& words) override;
    bool Step(const job::TSeriesStep& step) override;

  private:
    const config::TLanguageTexts& texts_;
    std::ostream& err_;
    bool allowDuplicate_;
    bool run_;
};

// What says at once on standard error that the log is locked and this process waits for it.
std::function<void()> WaitNotice(const std::filesystem::path& file,
                                 const config::TLanguageTexts& texts, std::ostream& err);

// The message of a log failure, in the loaded language, for standard error.
void PrintLogError(const log::ELogError& error, const config::TLanguageTexts& texts,
                   std::ostream& err);

// The refusal of a logged content, with the earlier record's facts; before (Windows-1252)
// comes first on the line.
void PrintDuplicate(const log::TMarkRecord& earlier, const config::TLanguageTexts& texts,
                    std::ostream& err, const std::string& before = {});

} // namespace korvex::cli

#pragma once

#include "config/LanguageTexts.h"
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
};

// Opens the log of the configuration folder unless --no-log or main.ini switch it off (then
// log stays empty), and says what the opening found of an earlier run cut short. On a log
// that cannot be used it prints why and returns the exit status.
std::optional<int> OpenGenerateLog(const std::filesystem::path& configFolder, bool noLog,
                                   const config::TLanguageTexts& texts,
                                   std::unique_ptr<log::TMarkingLog>& log, std::ostream& err);

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

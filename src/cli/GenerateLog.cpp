#include "cli/GenerateLog.h"

#include "base/PathText.h"
#include "base/TextNumbers.h"
#include "base/Windows1252.h"
#include "cli/Commands.h"
#include "log/LogTexts.h"

#include <ostream>

namespace korvex::cli {

namespace fs = std::filesystem;

std::optional<int> OpenGenerateLog(const fs::path& configFolder, bool noLog,
                                   const config::TLanguageTexts& texts,
                                   std::unique_ptr<log::TMarkingLog>& log, std::ostream& err) {
    if (noLog) return std::nullopt;
    const std::optional<fs::path> file = log::LogFileFor(configFolder);
    if (!file) return std::nullopt;
    try {
        log = std::make_unique<log::TMarkingLog>(*file, log::TMarkingLog::TAccess::Write,
                                                 WaitNotice(*file, texts, err));
    } catch (const log::ELogError& e) {
        PrintLogError(e, texts, err);
        return ExitFailure;
    }
    for (const log::TInterruptedRun& run : log->Recovered().Runs)
        err << "korvex-cli: warning: "
            << base::Windows1252ToUtf8(log::InterruptedRunText(texts, run)) << '\n';
    return std::nullopt;
}

std::function<void()> WaitNotice(const fs::path& file, const config::TLanguageTexts& texts,
                                 std::ostream& err) {
    return [&err, &texts, file] {
        err << "korvex-cli: "
            << base::Windows1252ToUtf8(
                   log::FillIn(texts.Text(text::LogWaiting), {base::PathText(file)}))
            << std::endl;
    };
}

void PrintLogError(const log::ELogError& error, const config::TLanguageTexts& texts,
                   std::ostream& err) {
    err << "korvex-cli: " << base::Windows1252ToUtf8(log::LogErrorText(texts, error)) << '\n';
}

void PrintDuplicate(const log::TMarkRecord& earlier, const config::TLanguageTexts& texts,
                    std::ostream& err, const std::string& before) {
    err << "korvex-cli: " << base::Windows1252ToUtf8(before)
        << base::Windows1252ToUtf8(log::DuplicateText(texts, earlier, false))
        << "\nkorvex-cli: record " << earlier.Id << ": " << earlier.TimeUtc << ", "
        << base::Windows1252ToUtf8(earlier.User + "@" + earlier.Host) << ", sha256 "
        << earlier.Sha256 << "; --allow-duplicate writes it again\n";
}

} // namespace korvex::cli

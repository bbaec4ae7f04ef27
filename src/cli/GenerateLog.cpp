#include "cli/GenerateLog.h"

#include "base/PathText.h"
#include "base/TextNumbers.h"
#include "base/Windows1252.h"
#include "cli/Commands.h"
#include "log/LogTexts.h"

#include <ostream>

namespace korvex::cli {

namespace fs = std::filesystem;

bool TCommandFront::WriteAgain(const log::TMarkRecord& earlier, std::size_t item) {
    if (allowDuplicate_) return true;
    const std::string where =
        run_ ? log::FillIn(texts_.Text(text::DuplicateInRange), {std::to_string(item + 1)}) + ": "
             : std::string();
    PrintDuplicate(earlier, texts_, err_, where);
    if (run_) err_ << "korvex-cli: nothing was written\n";
    return false;
}

void TCommandFront::Tell(job::TRunNews news, const std::string& words) {
    err_ << (news == job::TRunNews::Interrupted ? "korvex-cli: warning: " : "korvex-cli: ")
         << base::Windows1252ToUtf8(words);
    // A wait is said before it begins, not when the stream is next flushed.
    if (news == job::TRunNews::Waiting)
        err_ << std::endl;
    else
        err_ << '\n';
}

bool TCommandFront::Step(const job::TSeriesStep& step) {
    err_ << "korvex-cli: [" << step.Index + 1 << '/' << step.Count << "] "
         << base::Windows1252ToUtf8(step.Item.Text);
    if (step.Written) err_ << " -> " << base::Windows1252ToUtf8(base::PathText(step.Item.Output));
    err_ << base::Windows1252ToUtf8(step.Summary) << '\n';
    return true;
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

#include "job/LoggedRun.h"
#include "job/MarkGrade.h"

#include "base/PathText.h"
#include "base/TextLines.h"
#include "readback/ReadBack.h"

namespace korvex::job {

namespace fs = std::filesystem;

fs::path RecordedPath(const fs::path& file) {
    std::error_code ec;
    const fs::path absolute = fs::weakly_canonical(file, ec);
    return ec ? file : absolute;
}

std::string JobCounter(const fs::path& jobFile) {
    return jobFile.empty() ? std::string() : base::PathText(RecordedPath(jobFile));
}

log::TMarkRecord ProgramRecord(const TProgram& program, content::TContentKind kind,
                               std::string profile, const fs::path& jobFile) {
    log::TMarkRecord record;
    record.Text = program.Content;
    log::DescribeContent(record, kind);
    record.SymbolSize = program.SymbolSize;
    record.Encodation = program.Encodation;
    record.Profile = std::move(profile);
    if (!jobFile.empty()) record.JobTemplate = RecordedPath(jobFile);
    if (program.Notes.Check) record.ReadBack = readback::Describe(*program.Notes.Check);
    if (program.Grade) record.Grade = RecordedGrade(*program.Grade);
    return record;
}

TLoggedRun::TLoggedRun(log::TMarkingLog& log, std::string contentKind, std::string profile,
                       const fs::path& jobFile)
    : log_(&log) {
    common_.ContentKind = std::move(contentKind);
    common_.Profile = std::move(profile);
    if (!jobFile.empty()) common_.JobTemplate = RecordedPath(jobFile);
}

std::optional<std::pair<std::size_t, log::TMarkRecord>>
TLoggedRun::FirstLogged(const std::vector<ncgen::TRunItem>& items) const {
    // The log keeps a text's lines joined as a single program's record does.
    std::vector<std::string> contents;
    contents.reserve(items.size());
    for (const ncgen::TRunItem& item : items)
        contents.push_back(base::JoinLines(base::SplitLines(item.Text)));
    return log_->FindFirstLogged(contents, common_.ContentKind);
}

bool TLoggedRun::TakeNumbers(const std::string& counter, std::int64_t count, std::int64_t step,
                             const std::function<bool(std::int64_t first)>& accept,
                             const log::TCounterAsk& ask) {
    const auto taken = log_->TakeSerials(counter, count, step, accept, ask);
    if (!taken) return false;
    run_ = taken->Run;
    common_.Counter = counter;
    serials_.clear();
    for (std::int64_t k = 0; k < count; ++k)
        serials_.push_back(taken->First + k * step);
    return true;
}

log::TLoggedSink TLoggedRun::Sink() const {
    return log::TLoggedSink(*log_, common_, serials_, run_);
}

void TLoggedRun::Finish() {
    if (run_) log_->FinishRun(std::exchange(run_, 0));
}

} // namespace korvex::job

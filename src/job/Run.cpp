#include "job/Run.h"

#include "base/AtomicFile.h"
#include "base/PathText.h"
#include "base/TextNumbers.h"
#include "config/ConfigError.h"
#include "content/ContentKind.h"
#include "log/LogTexts.h"
#include "log/LoggedWrite.h"

namespace korvex::job {

namespace fs = std::filesystem;

namespace {

base::TTextMessage words(std::string text) {
    return {0, 0, std::move(text), {}};
}

// The log is opened for each write, so a wait is told to the front end now in charge.
std::unique_ptr<log::TMarkingLog> openLog(TRunFront& front, const TLogChoice& choice,
                                          const config::TLanguageTexts& texts) {
    if (choice.Off) return nullptr;
    const std::optional<fs::path> file =
        choice.Location.empty() ? log::LogFileFor(choice.ConfigFolder) : choice.Location;
    if (!file) return nullptr;
    const std::string waiting = log::FillIn(texts.Text(text::LogWaiting), {base::PathText(*file)});
    auto opened = std::make_unique<log::TMarkingLog>(
        *file, log::TMarkingLog::TAccess::Write,
        [&front, waiting] { front.Tell(TRunNews::Waiting, waiting); });
    for (const log::TInterruptedRun& run : opened->Recovered().Runs)
        front.Tell(TRunNews::Interrupted, log::InterruptedRunText(texts, run));
    return opened;
}

} // namespace

TWriteOutcome WriteOne(TRunFront& front, const config::TLanguageTexts& texts,
                       const TWriteRequest& request) {
    TWriteOutcome outcome;
    const auto end = [&outcome](TRunEnd how, base::TTextMessage message) {
        outcome.End = how;
        outcome.Message = std::move(message);
        return outcome;
    };
    if (TOutcome refused = CheckNotJobFile(request.JobFile, request.Output); !refused.Ok())
        return end(TRunEnd::JobFile, refused.Message);
    const base::TTextMessage cannot = words(config::CannotCreateText(request.Output));
    try {
        const std::unique_ptr<log::TMarkingLog> markingLog = openLog(front, request.Log, texts);
        outcome.Logged = markingLog != nullptr;
        // Nobody should be asked about a duplicate that could not be written anyway.
        if (base::IsReadOnly(base::WriteTarget(request.Output)))
            return end(TRunEnd::CannotWrite, cannot);
        if (!markingLog)
            return base::WriteFileAtomically(request.Output, request.Bytes)
                       ? outcome
                       : end(TRunEnd::CannotWrite, cannot);
        log::TMarkRecord record = request.Record;
        if (record.Output.empty()) record.Output = request.Output;
        // Without a content there is nothing that could have been marked before.
        log::TLoggedWrite written =
            log::WriteLogged(*markingLog, record, request.Bytes, !record.Text.empty());
        if (written.Duplicate) {
            if (!front.WriteAgain(*written.Duplicate, 0)) return end(TRunEnd::Duplicate, {});
            written = log::WriteLogged(*markingLog, record, request.Bytes, false);
        }
        return written.Written ? outcome : end(TRunEnd::CannotWrite, cannot);
    } catch (const log::ELogError& e) {
        return end(TRunEnd::Log, words(log::LogErrorText(texts, e)));
    }
}

std::vector<ncgen::TRunItem> PlanItems(const TSerialPlan& plan) {
    std::vector<ncgen::TRunItem> items = PlanSerialItems(plan.Range, plan.Text, plan.Names);
    if (!plan.Folder.empty())
        for (ncgen::TRunItem& item : items)
            item.Output = plan.Folder / item.Output;
    return items;
}

TRun::TRun(TRunFront& front, TRunRequest request) : front_(front), request_(std::move(request)) {}

TRun::~TRun() = default;

bool TRun::end(TRunEnd end, base::TTextMessage message) {
    report_.End = end;
    report_.Message = std::move(message);
    return false;
}

bool TRun::Begin() {
    std::vector<ncgen::TRunItem>& items = report_.Items;
    items = request_.Serial ? PlanItems(*request_.Serial) : request_.Items;
    // Before the log is touched or a counter hands out numbers for a run that cannot be written.
    for (std::size_t k = 0; k < items.size(); ++k)
        if (TOutcome refused = CheckNotJobFile(request_.Job.JobFile, items[k].Output);
            !refused.Ok()) {
            report_.Series.StoppedAt = k;
            return end(TRunEnd::JobFile, refused.Message);
        }
    std::size_t existing = 0;
    for (const ncgen::TRunItem& item : items) {
        std::error_code ec;
        existing += fs::exists(item.Output, ec) ? 1 : 0;
    }
    if (existing > 0 && !front_.Replace(existing)) return end(TRunEnd::Declined);
    const config::TLanguageTexts& texts = request_.Job.Texts;
    try {
        log_ = openLog(front_, request_.Log, texts);
        if (!log_) return !request_.Counter || end(TRunEnd::NoLog);
        logged_.emplace(*log_,
                        std::string(content::ContentFileName(request_.Job.Fields.Layer.Content)),
                        std::string(request_.Job.ProfileName), request_.Job.JobFile);
        if (!take()) return false;
    } catch (const log::ELogError& e) {
        return end(TRunEnd::Log, words(log::LogErrorText(texts, e)));
    }
    if (const std::vector<std::int64_t>& numbers = logged_->Numbers(); !numbers.empty())
        front_.Tell(TRunNews::Numbers,
                    texts.Message({text::NumbersFromCounter,
                                   0,
                                   {},
                                   {std::to_string(numbers.front()), std::to_string(numbers.back()),
                                    logged_->Counter()}}));
    return true;
}

bool TRun::take() {
    std::vector<ncgen::TRunItem>& items = report_.Items;
    bool allowed = false;
    const auto unlogged = [&] {
        report_.Duplicate = logged_->FirstLogged(items);
        return !report_.Duplicate || allowed;
    };
    // The question waits outside the counter's transaction, so nobody holds the log meanwhile;
    // the check is made again inside it.
    const auto askAgain = [&] {
        if (allowed || !front_.WriteAgain(report_.Duplicate->second, report_.Duplicate->first))
            return end(TRunEnd::Duplicate);
        return allowed = true;
    };
    if (!request_.Counter) return unlogged() || askAgain();
    const TSerialPlan& plan = *request_.Serial;
    const std::int64_t count = plan.Range.Count, step = plan.Range.Step;
    for (;;) {
        base::TTextMessage beyond;
        bool moved = false;
        const bool taken =
            logged_->TakeNumbers(*request_.Counter, count, step, [&](std::int64_t first) {
                if (request_.FirstAsPlanned && first != plan.Range.Start) return !(moved = true);
                beyond = ncgen::CheckCounterRange({first, count, step});
                if (!beyond.Empty()) return false;
                TSerialPlan from = plan;
                from.Range.Start = first;
                items = PlanItems(from);
                return unlogged();
            });
        if (taken) return true;
        if (moved) return end(TRunEnd::TakenMeanwhile);
        if (!beyond.Empty()) return end(TRunEnd::Beyond, beyond);
        if (!askAgain()) return false;
    }
}

const TRunReport& TRun::Execute() {
    std::optional<log::TLoggedSink> sink;
    if (logged_) sink.emplace(logged_->Sink());
    report_.Series = RunSeries(
        request_.Job, report_.Items, [this](const TSeriesStep& step) { return front_.Step(step); },
        {}, sink ? &*sink : nullptr);
    if (logged_) {
        try {
            logged_->Finish();
        } catch (const log::ELogError& e) {
            report_.FinishFailed = words(log::LogErrorText(request_.Job.Texts, e));
        }
    }
    return report_;
}

TRunReport RunAll(TRunFront& front, TRunRequest request) {
    TRun run(front, std::move(request));
    if (run.Begin()) run.Execute();
    return run.Report();
}

} // namespace korvex::job

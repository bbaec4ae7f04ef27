#include "cli/GenerateSeries.h"

#include "cli/Commands.h"
#include "base/AtomicFile.h"
#include "base/PathText.h"
#include "base/TextLines.h"
#include "base/TextNumbers.h"
#include "base/Windows1252.h"
#include "config/ConfigError.h"
#include "content/ContentKind.h"
#include "job/LoggedRun.h"
#include "job/Run.h"
#include "job/Series.h"
#include "log/LogTexts.h"

#include <ostream>

namespace korvex::cli {

namespace fs = std::filesystem;

namespace {

std::string utf8(const std::string& windows1252) {
    return base::Windows1252ToUtf8(windows1252);
}

// "next" stands for the counter's next number, which is only known once the log is open.
bool fromCounter(const TSeriesOptions& series) {
    return series.Serial && (*series.Serial == "next" || series.Serial->starts_with("next:"));
}

// The run's items, or a problem text and the exit status it asks for: a bad option value is a
// usage error, a list file that cannot be used a failure.
std::string makeItems(const TSeriesOptions& series, std::vector<ncgen::TRunItem>& items,
                      int& status, std::int64_t next = 0) {
    status = ExitUsage;
    if (series.Serial) {
        const std::string given =
            fromCounter(series) ? std::to_string(next) + series.Serial->substr(4) : *series.Serial;
        const auto range = ncgen::ReadSerialRange(given);
        if (!range)
            return "--serial wants START[:COUNT[:STEP]] or next[:COUNT[:STEP]]: whole numbers, "
                   "COUNT 1 to " +
                   std::to_string(ncgen::MaxSerialCount) + ", STEP not 0";
        const auto pattern = base::Utf8ToWindows1252(*series.Options.Text);
        if (!pattern.ok)
            return "--text: the character '" + pattern.offending + "' has no Windows-1252 code";
        items = job::PlanSerialItems(*range, pattern.text, series.Output);
        return {};
    }
    status = ExitFailure;
    std::string bytes;
    if (!base::ReadFileBytes(Utf8Path(*series.Texts), bytes))
        return utf8(config::CannotOpenText(Utf8Path(*series.Texts)));
    std::string problem;
    const std::vector<TListLine> lines = ReadListFile(bytes, problem);
    if (!problem.empty()) return *series.Texts + ": " + problem;
    if (lines.empty()) return *series.Texts + ": no text in the file";
    items = job::PlanListItems(lines, series.Output);
    return {};
}

// A run from a counter: its name and the plan its numbers fill in. A counter never moves back:
// refused before the log is touched.
std::optional<int> counterRun(const TSeriesOptions& series, const job::TOpenJob& opened,
                              job::TRunRequest& request, std::ostream& err) {
    const ncgen::TSerialRange asked = *ncgen::ReadSerialRange("0" + series.Serial->substr(4));
    if (const base::TTextMessage refusal = ncgen::CheckCounterRange(asked); !refusal.Empty())
        return Print(err, opened, refusal, "korvex-cli generate: --serial: "), ExitUsage;
    const std::string utf8Counter =
        series.Log.Counter ? *series.Log.Counter : utf8(job::JobCounter(opened.File));
    const auto counter = base::Utf8ToWindows1252(utf8Counter);
    if (!counter.ok)
        return err << "korvex-cli generate: --counter: the character '" << counter.offending
                   << "' has no Windows-1252 code\n",
               ExitUsage;
    request.Counter = counter.text;
    // The pattern converted when the items were made.
    request.Serial = job::TSerialPlan{
        asked, base::Utf8ToWindows1252(*series.Options.Text).text, series.Output, {}};
    return std::nullopt;
}

} // namespace

std::vector<TListLine> ReadListFile(const std::string& bytes, std::string& problem) {
    std::string_view content = bytes;
    const bool bom = content.starts_with("\xEF\xBB\xBF");
    if (bom) content.remove_prefix(3);
    std::vector<TListLine> lines;
    const std::vector<std::string> raw = base::SplitLines(content);
    // One decision for the whole file: text in Windows-1252 hardly ever forms valid UTF-8.
    const bool isUtf8 = bom || base::ValidUtf8(content);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i].empty()) continue;
        std::string text = raw[i];
        if (isUtf8) {
            const auto converted = base::Utf8ToWindows1252(raw[i]);
            if (!converted.ok) {
                problem = "line " + std::to_string(i + 1) + ": the character '" +
                          converted.offending + "' has no Windows-1252 code";
                return {};
            }
            text = converted.text;
        }
        lines.push_back({static_cast<std::int64_t>(i + 1), text});
    }
    return lines;
}

namespace {

// How the run ended, on err; the exit status.
int reportRun(const job::TOpenJob& opened, const job::TRunReport& report, std::ostream& err) {
    switch (report.End) {
    case job::TRunEnd::JobFile:
        return Print(err, opened, report.Message), ExitUsage;
    case job::TRunEnd::NoLog:
        err << "korvex-cli generate: --serial next takes its numbers from the marking log, "
               "which the settings switch off\n";
        return ExitUsage;
    case job::TRunEnd::Duplicate:
        return ExitFailure;
    case job::TRunEnd::Done:
        break;
    default:
        return Print(err, opened, report.Message), ExitFailure;
    }
    if (report.FinishFailed) Print(err, opened, *report.FinishFailed);
    const job::TSeriesOutcome& run = report.Series;
    if (!run.Stopped && run.Outcome.Ok()) {
        Print(err, opened, {text::ProgramsWritten, 0, {}, {std::to_string(run.Written)}});
        return ExitOk;
    }
    if (run.Outcome.Status == job::TStatus::BadRequest) {
        const bool sameFile = run.Outcome.Message.Text == text::SameOutputFile;
        Print(err, opened, run.Outcome.Message,
              sameFile ? "korvex-cli generate: " : "korvex-cli: ");
        return ExitUsage;
    }
    if (!run.Outcome.Message.Empty()) Print(err, opened, run.Outcome.Message);
    err << "korvex-cli: "
        << utf8(opened.Session.Texts.Format(text::RunStopped, std::to_string(run.StoppedAt + 1),
                                            std::to_string(report.Items.size()),
                                            std::to_string(run.Written)))
        << '\n';
    return run.CheckFailed || run.RequirementFailed ? ExitCheckFailed : ExitFailure;
}

} // namespace

int RunGenerateSeries(const TSeriesOptions& series, std::ostream& err) {
    std::vector<ncgen::TRunItem> items;
    int status = ExitOk;
    if (const std::string problem = makeItems(series, items, status); !problem.empty())
        return err << "korvex-cli generate: " << problem << '\n', status;
    // Settings, profile and job are read once, and the first text is tried before any file is
    // written; each text then only encodes and generates.
    TGenerateOptions first = series.Options;
    first.Text = utf8(items.front().Text);
    job::TJobOptions options;
    options.Stats = series.Stats;
    options.Check = series.Check;
    options.Require = series.Require;
    job::TOpenJob opened;
    if (const auto failed = OpenCommandJob(first, "generate", options, opened, err)) return *failed;
    job::TOpenJob trial = opened;
    job::TProgram program;
    if (const job::TOutcome tried = job::Generate(trial, options, program); !tried.Ok())
        return Print(err, opened, tried.Message, ""), ExitStatus(tried);
    options.Text.reset();
    job::TRunRequest request{job::SeriesJob(opened, options),
                             {opened.Session.ConfigFolder, series.Log.NoLog, series.Log.Location},
                             std::move(items),
                             {},
                             {},
                             false};
    if (fromCounter(series))
        if (const auto refused = counterRun(series, opened, request, err)) return *refused;
    TCommandFront front(opened.Session.Texts, err, series.Log.AllowDuplicate, true);
    return reportRun(opened, job::RunAll(front, std::move(request)), err);
}

} // namespace korvex::cli

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
#include "job/Series.h"
#include "log/LogTexts.h"
#include "log/LoggedWrite.h"

#include <memory>
#include <ostream>

namespace korvex::cli {

namespace fs = std::filesystem;

namespace {

std::string utf8(const std::string& windows1252) {
    return base::Windows1252ToUtf8(windows1252);
}

// Well-formed UTF-8: lead bytes followed by the right number of continuation bytes.
bool validUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int more = lead < 0x80                   ? 0
                         : lead >= 0xC2 && lead < 0xE0 ? 1
                         : lead >= 0xE0 && lead < 0xF0 ? 2
                         : lead >= 0xF0 && lead < 0xF5 ? 3
                                                       : -1;
        if (more < 0 || i + more >= bytes.size()) return false;
        for (int k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += 1 + more;
    }
    return true;
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

} // namespace

std::vector<TListLine> ReadListFile(const std::string& bytes, std::string& problem) {
    std::string_view content = bytes;
    const bool bom = content.starts_with("\xEF\xBB\xBF");
    if (bom) content.remove_prefix(3);
    std::vector<TListLine> lines;
    const std::vector<std::string> raw = base::SplitLines(content);
    // One decision for the whole file: text in Windows-1252 hardly ever forms valid UTF-8.
    const bool isUtf8 = bom || validUtf8(content);
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

int RunGenerateSeries(const TSeriesOptions& series, std::ostream& err) {
    std::vector<ncgen::TRunItem> items;
    int status = ExitOk;
    if (const std::string problem = makeItems(series, items, status); !problem.empty()) {
        err << "korvex-cli generate: " << problem << '\n';
        return status;
    }

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
    const config::TLanguageTexts& texts = opened.Session.Texts;
    job::TOpenJob trial = opened;
    job::TProgram program;
    if (const job::TOutcome tried = job::Generate(trial, options, program); !tried.Ok())
        return Print(err, opened, tried.Message, ""), ExitStatus(tried);
    options.Text.reset();
    for (const ncgen::TRunItem& item : items)
        if (job::IsJobFile(opened, item.Output))
            return Print(err, opened, {text::OutputIsJobFile, 0, {}, {}}), ExitUsage;

    // A counter never moves back: refused before the log is touched.
    std::int64_t counterStep = 1;
    if (fromCounter(series)) {
        const ncgen::TSerialRange asked = *ncgen::ReadSerialRange("0" + series.Serial->substr(4));
        counterStep = asked.Step;
        if (const base::TTextMessage refusal = ncgen::CheckCounterRange(asked); !refusal.Empty())
            return Print(err, opened, refusal, "korvex-cli generate: --serial: "), ExitUsage;
    }

    std::unique_ptr<log::TMarkingLog> markingLog;
    if (const auto failed =
            OpenGenerateLog(opened.Session.ConfigFolder, series.Log.NoLog, texts, markingLog, err))
        return *failed;
    if (!markingLog && fromCounter(series)) {
        err << "korvex-cli generate: --serial next takes its numbers from the marking log, "
               "which the settings switch off\n";
        return ExitUsage;
    }
    std::optional<job::TLoggedRun> logged;
    std::optional<log::TLoggedSink> sink;
    if (markingLog) {
        logged.emplace(*markingLog,
                       std::string(content::ContentFileName(
                           options.Content.value_or(opened.Job.Layers.Layer(1).Content))),
                       opened.Profile.Name, opened.File);
        const std::string utf8Counter =
            series.Log.Counter ? *series.Log.Counter : utf8(job::JobCounter(opened.File));
        const auto counter = base::Utf8ToWindows1252(utf8Counter);
        if (!counter.ok) {
            err << "korvex-cli generate: --counter: the character '" << counter.offending
                << "' has no Windows-1252 code\n";
            return ExitUsage;
        }
        std::optional<std::pair<std::size_t, log::TMarkRecord>> duplicate;
        const auto firstLogged = [&] {
            duplicate = logged->FirstLogged(items);
            return !duplicate || series.Log.AllowDuplicate;
        };
        try {
            if (fromCounter(series)) {
                std::string problem;
                base::TTextMessage beyond;
                const auto count = static_cast<std::int64_t>(items.size());
                // The items follow the counter's number, so they are planned and checked
                // inside the take.
                const bool taken =
                    logged->TakeNumbers(counter.text, count, counterStep, [&](std::int64_t start) {
                        beyond = ncgen::CheckCounterRange({start, count, counterStep});
                        if (!beyond.Empty()) return false;
                        problem = makeItems(series, items, status, start);
                        return problem.empty() && firstLogged();
                    });
                if (!beyond.Empty()) return Print(err, opened, beyond), ExitFailure;
                if (!taken && !duplicate) {
                    err << "korvex-cli generate: " << problem << '\n';
                    return status;
                }
            } else {
                firstLogged();
            }
        } catch (const log::ELogError& e) {
            PrintLogError(e, texts, err);
            return ExitFailure;
        }
        if (duplicate && !series.Log.AllowDuplicate) {
            PrintDuplicate(duplicate->second, texts, err,
                           log::FillIn(texts.Text(text::DuplicateInRange),
                                       {std::to_string(duplicate->first + 1)}) +
                               ": ");
            err << "korvex-cli: nothing was written\n";
            return ExitFailure;
        }
        if (const std::vector<std::int64_t>& numbers = logged->Numbers(); !numbers.empty())
            Print(err, opened,
                  {text::NumbersFromCounter,
                   0,
                   {},
                   {std::to_string(numbers.front()), std::to_string(numbers.back()),
                    logged->Counter()}});
        sink.emplace(logged->Sink());
    }

    const auto progress = [&err](const job::TSeriesStep& step) {
        err << "korvex-cli: [" << step.Index + 1 << '/' << step.Count << "] "
            << utf8(step.Item.Text);
        if (step.Written) err << " -> " << utf8(base::PathText(step.Item.Output));
        err << utf8(step.Summary) << '\n';
        return true;
    };
    const job::TSeriesOutcome run =
        job::RunSeries(opened, options, items, progress, {}, sink ? &*sink : nullptr);
    if (logged) {
        try {
            logged->Finish();
        } catch (const log::ELogError& e) {
            PrintLogError(e, texts, err);
        }
    }
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
        << utf8(texts.Format(text::RunStopped, std::to_string(run.StoppedAt + 1),
                             std::to_string(items.size()), std::to_string(run.Written)))
        << '\n';
    return run.CheckFailed || run.RequirementFailed ? ExitCheckFailed : ExitFailure;
}

} // namespace korvex::cli

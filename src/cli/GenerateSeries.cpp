#include "cli/GenerateSeries.h"

#include "cli/Commands.h"
#include "readback/JobSurface.h"
#include "readback/ProgramNotes.h"
#include "config/ConfigError.h"
#include "base/PathText.h"
#include "base/TextLines.h"
#include "base/Windows1252.h"
#include "datamatrix/TFormat.h"
#include "base/AtomicFile.h"
#include "ncgen/GenerateCommand.h"
#include "ncgen/SerialRun.h"
#include "base/TextNumbers.h"
#include "log/LogTexts.h"
#include "log/LoggedWrite.h"

#include <memory>

#include <ostream>

namespace korvex::cli {

namespace fs = std::filesystem;

namespace {

fs::path utf8Path(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string utf8(const std::string& windows1252) {
    return base::Windows1252ToUtf8(windows1252);
}

// A text put into a file name must not reach another folder or break the name.
std::string fileNamePart(const std::string& text) {
    std::string part;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        part += byte < 0x20 || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos
                    ? '_'
                    : c;
    }
    return part == "." || part == ".." ? std::string(part.size(), '_') : part;
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

// The run's items, or a problem text and the exit status it asks for: a bad option value is a
// usage error, a list file that cannot be used a failure.
// "next" stands for the counter's next number, which is only known once the log is open.
bool fromCounter(const TSeriesOptions& series) {
    return series.Serial && (*series.Serial == "next" || series.Serial->starts_with("next:"));
}

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
        items.clear();
        for (std::int64_t k = 0; k < range->Count; ++k) {
            const std::int64_t n = range->Start + k * range->Step;
            const std::string text = ncgen::ExpandPattern(pattern.text, {n, k + 1, ""});
            const std::string name = fileNamePart(utf8(text));
            items.push_back(
                {text, utf8Path(ncgen::ExpandPattern(series.Output, {n, k + 1, name}))});
        }
        return {};
    }
    status = ExitFailure;
    std::string bytes;
    if (!base::ReadFileBytes(utf8Path(*series.Texts), bytes))
        return utf8(config::CannotOpenText(utf8Path(*series.Texts)));
    std::string problem;
    const std::vector<TListLine> lines = ReadListFile(bytes, problem);
    if (!problem.empty()) return *series.Texts + ": " + problem;
    if (lines.empty()) return *series.Texts + ": no text in the file";
    for (const TListLine& line : lines) {
        const std::string name = fileNamePart(utf8(line.Text));
        items.push_back({line.Text, utf8Path(ncgen::ExpandPattern(
                                        series.Output, {line.Number, line.Number, name}))});
    }
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

    // Settings, profile and job are read once; each text then only encodes and generates.
    TGenerateOptions options = series.Options;
    options.Text = utf8(items.front().Text);
    TGenerateRequest request;
    if (const auto failed = MakeGenerateRequest(options, request, err)) return *failed;
    for (const auto& item : items) {
        std::error_code ec;
        if (fs::equivalent(item.Output, request.JobFile, ec)) {
            err << "korvex-cli: the output file is the job file itself; nothing was written\n";
            return ExitUsage;
        }
    }
    TGenerateResult prepared = RunGeneratePipeline(request);
    if (const auto failed = ReportGenerateResult(prepared, "generate", err)) return *failed;

    ncgen::TLayerTable& layers = prepared.Job.Layers;
    ncgen::TGenerateFields fields{layers.SelectLayer(1).Fields, prepared.Profile.SafetyDistance,
                                  prepared.Profile.InfeedDepth, readback::JobSurface(prepared.Job)};
    bool checkFailed = false;
    const auto inspect = [&](const ncgen::TGenerateCommandResult& generated,
                             ncgen::TRunProgram& program) {
        const readback::TProgramNotes notes = readback::NotesFor(
            generated.SimulationLines, layers.Layer(1), prepared.Profile,
            prepared.Job.BlankDefinition, series.Stats, series.Check, prepared.Settings.RapidRate);
        std::string& summary = program.Summary;
        if (generated.PreferredFormat != datamatrix::AUTO &&
            generated.CalculatedFormat != generated.PreferredFormat)
            summary += "; warning: the symbol is " +
                       std::string(datamatrix::FormatName(generated.CalculatedFormat));
        if (!notes.BlankWarning.empty()) summary += "; warning: " + notes.BlankWarning;
        for (const std::string& warning : notes.RoundWarnings)
            summary += "; warning: " + warning;
        if (!notes.StatsText.empty()) summary += "; " + notes.StatsText;
        if (notes.Check) {
            program.ReadBack = readback::Describe(*notes.Check);
            summary += "; " + program.ReadBack;
            program.StopAfterWriting = !readback::ReadsAsIntended(*notes.Check);
            checkFailed = program.StopAfterWriting;
        }
    };
    std::unique_ptr<log::TMarkingLog> markingLog;
    if (const auto failed = OpenGenerateLog(request.ConfigFolder, series.Log.NoLog, prepared.Texts,
                                            markingLog, err))
        return *failed;
    std::vector<std::int64_t> serials;
    std::optional<log::TMarkingLog::TTakenRun> taken;
    log::TMarkRecord common;
    common.ContentKind = std::string(content::ContentFileName(layers.Layer(1).Content));
    common.Profile = prepared.ProfileName;
    common.JobTemplate = RecordedPath(request.JobFile);
    if (!markingLog && fromCounter(series)) {
        err << "korvex-cli generate: --serial next takes its numbers from the marking log, "
               "which the settings switch off\n";
        return ExitUsage;
    }
    if (markingLog) {
        const std::string utf8Counter =
            series.Log.Counter ? *series.Log.Counter : utf8(DefaultCounter(request.JobFile));
        const auto counter = base::Utf8ToWindows1252(utf8Counter);
        if (!counter.ok) {
            err << "korvex-cli generate: --counter: the character '" << counter.offending
                << "' has no Windows-1252 code\n";
            return ExitUsage;
        }
        std::optional<std::pair<std::size_t, log::TMarkRecord>> duplicate;
        const auto firstLogged = [&] {
            std::vector<std::string> texts;
            for (const auto& item : items)
                texts.push_back(base::JoinLines(base::SplitLines(item.Text)));
            duplicate = markingLog->FindFirstLogged(texts, common.ContentKind);
            return !duplicate || series.Log.AllowDuplicate;
        };
        try {
            if (fromCounter(series)) {
                common.Counter = counter.text;
                std::string problem;
                taken = markingLog->TakeSerials(
                    counter.text, static_cast<std::int64_t>(items.size()),
                    ncgen::ReadSerialRange("0" + series.Serial->substr(4))->Step,
                    [&](std::int64_t first) {
                        problem = makeItems(series, items, status, first);
                        return problem.empty() && firstLogged();
                    });
                if (!taken && !duplicate) {
                    err << "korvex-cli generate: " << problem << '\n';
                    return status;
                }
            } else {
                firstLogged();
            }
        } catch (const log::ELogError& e) {
            PrintLogError(e, prepared.Texts, err);
            return ExitFailure;
        }
        if (duplicate && !series.Log.AllowDuplicate) {
            PrintDuplicate(duplicate->second, prepared.Texts, err,
                           log::FillIn(prepared.Texts.Text(text::DuplicateInRange),
                                       {std::to_string(duplicate->first + 1)}) +
                               ": ");
            err << "korvex-cli: nothing was written\n";
            return ExitFailure;
        }
        if (taken) {
            const std::int64_t step = ncgen::ReadSerialRange("0" + series.Serial->substr(4))->Step;
            for (std::size_t k = 0; k < items.size(); ++k)
                serials.push_back(taken->First + static_cast<std::int64_t>(k) * step);
            err << "korvex-cli: numbers " << serials.front() << " to " << serials.back()
                << " from counter " << utf8(common.Counter) << '\n';
        }
    }
    std::optional<log::TLoggedSink> sink;
    if (markingLog) sink.emplace(*markingLog, common, serials, taken ? taken->Run : 0);
    const auto progress = [&err](const ncgen::TRunStep& step) {
        err << "korvex-cli: [" << step.Index + 1 << '/' << step.Count << "] "
            << utf8(step.Item.Text);
        if (step.Written) err << " -> " << utf8(base::PathText(step.Item.Output));
        err << utf8(step.Program.Summary) << '\n';
        return true;
    };
    const ncgen::TRunOutcome outcome =
        ncgen::RunSerial(layers, fields, prepared.Profile, prepared.ProfileName, items, inspect,
                         progress, sink ? &*sink : nullptr);
    if (taken) {
        try {
            markingLog->FinishRun(taken->Run);
        } catch (const log::ELogError& e) {
            PrintLogError(e, prepared.Texts, err);
        }
    }

    switch (outcome.Stop) {
    case ncgen::TRunStop::None:
        err << "korvex-cli: " << outcome.Written << " programs written\n";
        return ExitOk;
    case ncgen::TRunStop::DuplicateOutput:
        err << "korvex-cli generate: programs " << outcome.FailedItem + 1
            << " and an earlier one would both be written to "
            << utf8(base::PathText(items[outcome.FailedItem].Output))
            << "; the name pattern needs {n}, {i} or {line}\n";
        return ExitUsage;
    case ncgen::TRunStop::Generation:
        err << "korvex-cli: "
            << utf8(outcome.Refusal.Empty() ? outcome.Message
                                            : prepared.Texts.Message(outcome.Refusal))
            << '\n';
        break;
    case ncgen::TRunStop::Write:
        err << "korvex-cli: " << utf8(config::CannotCreateText(items[outcome.FailedItem].Output))
            << '\n';
        break;
    case ncgen::TRunStop::Sink:
        err << "korvex-cli: " << utf8(prepared.Texts.Message(outcome.Refusal)) << '\n';
        break;
    case ncgen::TRunStop::Cancelled:
    case ncgen::TRunStop::Refused:
        break;
    }
    err << "korvex-cli: stopped at program " << outcome.FailedItem + 1 << " of " << items.size()
        << "; " << outcome.Written << " programs written\n";
    return checkFailed ? ExitCheckFailed : ExitFailure;
}

} // namespace korvex::cli

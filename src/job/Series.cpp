#include "job/Series.h"
#include "job/MarkGrade.h"

#include "base/PathText.h"
#include "base/TextNumbers.h"
#include "base/Windows1252.h"
#include "job/BlankCheck.h"
#include "config/ConfigError.h"
#include "job/NoteTexts.h"
#include "readback/JobSurface.h"

namespace korvex::job {

namespace fs = std::filesystem;

std::string FileNamePart(std::string_view utf8) {
    std::string part;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        part += byte < 0x20 || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos
                    ? '_'
                    : c;
    }
    return part == "." || part == ".." ? std::string(part.size(), '_') : part;
}

ncgen::TRunItem PlanSerialItem(const ncgen::TSerialRange& range, std::string_view textPattern,
                               std::string_view outputPattern, std::int64_t k,
                               const std::vector<ncgen::TShift>& shifts) {
    const std::int64_t n = range.Start + k * range.Step;
    // One moment for the text and its file name, so both carry the same date.
    const ncgen::TMoment now = ncgen::LocalNow();
    const std::string text = ncgen::ExpandPattern(textPattern, {n, k + 1, "", now, &shifts});
    const std::string name = FileNamePart(base::Windows1252ToUtf8(text));
    return {text,
            base::Utf8Path(ncgen::ExpandPattern(outputPattern, {n, k + 1, name, now, &shifts})), n,
            k + 1};
}

std::vector<ncgen::TRunItem> PlanSerialItems(const ncgen::TSerialRange& range,
                                             std::string_view textPattern,
                                             std::string_view outputPattern,
                                             const std::vector<ncgen::TShift>& shifts) {
    std::vector<ncgen::TRunItem> items;
    for (std::int64_t k = 0; k < range.Count; ++k)
        items.push_back(PlanSerialItem(range, textPattern, outputPattern, k, shifts));
    return items;
}

std::vector<ncgen::TRunItem> PlanListItems(const std::vector<TListText>& texts,
                                           std::string_view outputPattern) {
    std::vector<ncgen::TRunItem> items;
    for (const TListText& line : texts) {
        const std::string name = FileNamePart(base::Windows1252ToUtf8(line.Text));
        items.push_back(
            {line.Text,
             base::Utf8Path(ncgen::ExpandPattern(outputPattern, {line.Number, line.Number, name})),
             line.Number, line.Number});
    }
    return items;
}

TSeriesJob SeriesJob(TOpenJob& job, const TJobOptions& options) {
    ncgen::TGenerateFields fields{job.Job.Layers.SelectLayer(1).Fields,
                                  job.Profile.Profile.SafetyDistance,
                                  job.Profile.Profile.InfeedDepth, readback::JobSurface(job.Job)};
    if (options.Content) fields.Layer.Content = *options.Content;
    return {job.Job,
            fields,
            job.Profile.Profile,
            job.Profile.Name,
            job.Session.Texts,
            {options.Stats, options.Check, job.Session.Settings.RapidRate,
             options.Require.value_or(""), DepthTolerance(job),
             options.Grade || job.Session.Settings.GradeEveryProgram},
            job.File};
}

TSeriesOutcome RunSeries(TOpenJob& job, const TJobOptions& options,
                         const std::vector<ncgen::TRunItem>& items,
                         const std::function<bool(const TSeriesStep&)>& progress,
                         const TWrittenHook& written, ncgen::TProgramSink* sink) {
    return RunSeries(SeriesJob(job, options), items, progress, written, sink);
}

TSeriesOutcome RunSeries(const TSeriesJob& run, const std::vector<ncgen::TRunItem>& items,
                         const std::function<bool(const TSeriesStep&)>& progress,
                         const TWrittenHook& written, ncgen::TProgramSink* sink) {
    TSeriesOutcome result;
    for (const ncgen::TRunItem& item : items)
        if (TOutcome refused = CheckNotJobFile(run.JobFile, item.Output); !refused.Ok()) {
            result.Outcome = std::move(refused);
            result.Stopped = true;
            result.Stop = ncgen::TRunStop::Refused;
            result.StoppedAt = static_cast<std::size_t>(&item - items.data());
            return result;
        }
    const config::TLanguageTexts& texts = run.Texts;
    const ncgen::TLayerTable& layers = run.Job.Layers;
    TProgram last;
    const auto inspect = [&](const ncgen::TGenerateCommandResult& generated,
                             ncgen::TRunProgram& program) {
        // Every program of the run passes the same check as a single one before it is written.
        if (base::TTextMessage collision =
                CheckAgainstBlank(run.Job.BlankDefinition, run.Fields, run.Profile, generated);
            !collision.Empty()) {
            program.Ok = false;
            program.Refusal = std::move(collision);
            return;
        }
        // Once per program, for the requirement and the record alike; a record only where
        // there is a log to keep it.
        if (!run.Notes.Require.empty() || (run.Notes.Grade && sink)) {
            ncgen::TLayer layer = layers.Layer(1);
            layer.Content = run.Fields.Layer.Content;
            const grade::TGradeReport report =
                GradeOfStep(generated.SimulationLines, layer, run.Profile, run.Job.BlankDefinition,
                            run.Notes.DepthTolerance);
            if (base::TTextMessage refusal = RequirementRefusal(report, run.Notes.Require, texts);
                !refusal.Empty()) {
                program.Ok = false;
                program.Refusal = std::move(refusal);
                result.RequirementFailed = true;
                return;
            }
            program.Grade = RecordedGrade(report);
        }
        last.Generated = generated;
        last.Misfit = SymbolMisfit(generated);
        last.Notes = NotesWithVerdict(generated.SimulationLines, layers.Layer(1), run.Profile,
                                      run.Job.BlankDefinition, run.Notes.Stats, run.Notes.Check,
                                      run.Notes.RapidRate);
        const auto warning = [&](const std::string& words) {
            program.Summary += "; " + texts.Format(text::WarningText, words);
        };
        if (last.Misfit) warning(texts.Message(*last.Misfit));
        for (const base::TTextMessage& content : generated.ContentWarnings)
            warning(texts.Message(content));
        if (const std::string blank = BlankFitWords(last.Notes.BlankFit, texts); !blank.empty())
            warning(blank);
        for (const std::string& round : RoundWords(last.Notes.Round, texts))
            warning(round);
        if (last.Notes.Stats)
            program.Summary += "; " + StatsWords(*last.Notes.Stats, run.Profile.FeedZ, texts);
        if (last.Notes.Check) {
            program.ReadBack = readback::Describe(*last.Notes.Check);
            program.Summary += "; " + ReadBackWords(*last.Notes.Check, texts);
            program.StopAfterWriting = last.CheckFailed();
            result.CheckFailed = program.StopAfterWriting;
            if (result.CheckFailed) result.FailedCheck = last.Notes.Check;
        }
    };
    const auto step = [&](const ncgen::TRunStep& done) {
        if (done.Written && written) written(done.Item.Output, last);
        return progress({done.Index, done.Count, done.Item, done.Written, done.Program.Summary});
    };
    const ncgen::TRunOutcome outcome = ncgen::RunSerial(
        run.Job.Layers, run.Fields, run.Profile, run.ProfileName, items, inspect, step, sink);

    result.Written = outcome.Written;
    result.StoppedAt = outcome.FailedItem;
    result.Stop = outcome.Stop;
    result.Stopped = outcome.Stop != ncgen::TRunStop::None;
    switch (outcome.Stop) {
    case ncgen::TRunStop::None:
    case ncgen::TRunStop::Cancelled:
    case ncgen::TRunStop::Refused:
        break;
    case ncgen::TRunStop::DuplicateOutput:
        result.Outcome = {TStatus::BadRequest,
                          {text::SameOutputFile,
                           0,
                           {},
                           {std::to_string(outcome.FailedItem + 1),
                            base::PathText(items[outcome.FailedItem].Output)}}};
        break;
    case ncgen::TRunStop::Generation:
        result.Outcome.Status = TStatus::Failed;
        result.Outcome.Message = outcome.Refusal.Empty()
                                     ? base::TTextMessage{0, 0, outcome.Message, {}}
                                     : outcome.Refusal;
        break;
    case ncgen::TRunStop::Write:
        result.Outcome = {TStatus::Failed,
                          {0, 0, config::CannotCreateText(items[outcome.FailedItem].Output), {}}};
        break;
    case ncgen::TRunStop::Sink:
        result.Outcome = {TStatus::Failed, outcome.Refusal};
        break;
    }
    if (result.Stopped && result.Outcome.Ok()) result.Outcome.Status = TStatus::Failed;
    return result;
}

} // namespace korvex::job

#include "job/Job.h"
#include "job/MarkGrade.h"

#include "base/AtomicFile.h"
#include "base/EKorvexError.h"
#include "base/PathText.h"
#include "base/TextLines.h"
#include "base/TextNumbers.h"
#include "config/ConfigError.h"
#include "config/SettingsFile.h"
#include "datamatrix/TEncoding.h"
#include "datamatrix/TFormat.h"
#include "job/BlankCheck.h"
#include "readback/JobSurface.h"
#include "simulation/BlankDefinition.h"

namespace korvex::job {

namespace fs = std::filesystem;

namespace {

TOutcome failed(base::TTextMessage message, TStatus status = TStatus::Failed) {
    return {status, std::move(message)};
}

base::TTextMessage systemMessage(std::string text) {
    return {0, 0, std::move(text), {}};
}

} // namespace

base::TTextMessage CheckFileSize(const fs::path& file) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec || size <= MaxJobFileSize) return {};
    return {text::FileTooLarge, 0, {}, {base::PathText(file), "1 MB"}};
}

ncgen::TJob StartupJob(const TSession& session) {
    ncgen::TJob job;
    job.Layers.AddLayer(session.Texts.Text(text::DefaultLayerName),
                        session.Settings.CurrentSymbolSize, session.Settings.CurrentEncodation);
    return job;
}

std::string TemplateMissingText(const fs::path& file) {
    return "Vorlage [" + base::PathText(file) + "] existiert nicht!";
}

std::vector<std::string> RoundWords(const std::vector<ncgen::TRoundNote>& notes,
                                    const config::TLanguageTexts& texts) {
    std::vector<std::string> words;
    for (const ncgen::TRoundNote& note : notes) {
        const std::vector<std::string_view> values(note.Args.begin(), note.Args.end());
        words.push_back(config::FormatText(texts.Text(note.Text), values));
    }
    return words;
}

namespace {

// A profile file named directly, such as one of the delivered examples; nothing when the choice
// names none.
std::optional<ncgen::TProfileSelection> profileFile(const std::optional<std::string>& choice) {
    if (!choice) return std::nullopt;
    const fs::path named(*choice);
    std::error_code ec;
    if ((choice->find('/') == choice->npos && named.extension() != ".ini") ||
        !fs::is_regular_file(named, ec))
        return std::nullopt;
    if (base::TTextMessage large = CheckFileSize(named); !large.Empty())
        return ncgen::TProfileSelection{0, {}, std::move(large), base::PathText(named)};
    const ncgen::TOutputProfile stored = config::LoadProfileFile(named);
    ncgen::TProfileSelection selection{0, ncgen::ActivateProfile(stored), {}, stored.Name};
    if (selection.Name.empty()) selection.Name = base::PathText(named.filename());
    selection.Refusal = ncgen::CheckNumberFormat(selection.Profile.Format, selection.Name);
    return selection;
}

} // namespace

TOutcome LoadTemplate(const fs::path& file, const ncgen::TLoadOptions& options, ncgen::TJob& job,
                      ncgen::TLoadReport& report, std::vector<base::TTextMessage>& warnings) {
    // The desktop program's command line asks whether the template file exists; a folder is none.
    std::error_code ec;
    if (base::TTextMessage large = CheckFileSize(file); !large.Empty())
        return failed(std::move(large));
    if (fs::is_directory(file, ec) || !ncgen::LadeVorlage(file, job, report, options))
        return failed(systemMessage(TemplateMissingText(file)));
    if (!report.Opened) return failed(systemMessage(config::CannotOpenText(file)));
    for (base::TTextMessage& note : ncgen::LoadReportNotes(report))
        warnings.push_back(std::move(note));
    if (const auto radius = simulation::UnusableRadius(job.BlankDefinition))
        warnings.push_back({text::BlankRadiusNotUsable, 0, {}, {*radius}});
    // The reader makes up a layer for a file without one: no job to mark or to replace one with.
    if (base::TTextMessage noLayer = ncgen::CheckBatchJob(report, file); !noLayer.Empty())
        return failed(std::move(noLayer));
    if (base::TTextMessage unknown = ncgen::CheckContentKinds(report, file); !unknown.Empty())
        return failed(std::move(unknown));
    return {};
}

TOutcome OpenJob(TSession session, const fs::path& file, const TJobOptions& jobOptions,
                 TOpenJob& job) {
    const std::optional<std::string>& profile = jobOptions.Profile;
    job.Session = std::move(session);
    job.File = file;
    if (auto named = profileFile(profile)) {
        if (!named->Refusal.Empty()) return failed(named->Refusal);
        job.Profile = std::move(*named);
    } else {
        const std::string choice = profile.value_or(DefaultProfileChoice(job.Session));
        auto selection = ChooseProfile(job.Session, choice);
        if (!selection) return failed({text::NoProfileNamed, 0, {}, {choice}}, TStatus::BadRequest);
        if (base::TTextMessage missing = CheckProfileFile(job.Session, selection->Number);
            !missing.Empty())
            return failed(std::move(missing));
        job.Profile = std::move(*selection);
    }
    job.ProfileNumber = job.Profile.Number;
    ncgen::TActiveProfile& active = job.Profile.Profile;
    if (jobOptions.Tool) {
        active.Tool = *jobOptions.Tool;
        active.ToolProblem = {};
    } else if (!active.ToolProblem.Empty()) {
        job.Warnings.push_back(
            {text::ToolNotUsed, 0, {}, {job.Session.Texts.Message(active.ToolProblem)}});
    }
    job.Job = StartupJob(job.Session);

    const config::TSettings& settings = job.Session.Settings;
    const ncgen::TLoadOptions options{settings.CurrentSymbolSize, settings.CurrentEncodation,
                                      job.Session.Texts.Text(text::DefaultLayerName)};
    if (TOutcome loaded = LoadTemplate(file, options, job.Job, job.Report, job.Warnings);
        !loaded.Ok())
        return loaded;
    if (jobOptions.Surface) job.Job.Surface = *jobOptions.Surface;
    return {};
}

bool TProgram::CheckFailed() const {
    return Notes.Check && !readback::ReadsAsIntended(*Notes.Check);
}

std::optional<base::TTextMessage> SymbolMisfit(const ncgen::TGenerateCommandResult& generated) {
    if (generated.PreferredFormat == datamatrix::AUTO ||
        generated.CalculatedFormat == generated.PreferredFormat)
        return std::nullopt;
    return base::TTextMessage{text::SymbolMisfit,
                              0,
                              {},
                              {std::string(datamatrix::FormatName(generated.PreferredFormat)),
                               std::string(datamatrix::FormatName(generated.CalculatedFormat))}};
}

TOutcome GenerateProgram(ncgen::TJob& job, const ncgen::TGenerateFields& fields,
                         const ncgen::TActiveProfile& profile, std::string_view profileName,
                         const std::optional<TNotesWanted>& notes, TProgram& program) {
    program = {};
    ncgen::TLayerTable& layers = job.Layers;
    try {
        ncgen::GenerateCommand(layers, fields, profile, profileName, program.Generated);
    } catch (const EKorvexError& e) {
        // A text that fits no size, a number the profile cannot write: the system's message.
        program.Partial = true;
        return failed(systemMessage(e.what()));
    }
    switch (program.Generated.Outcome) {
    case ncgen::TGenerateOutcome::Refused:
        return failed(program.Generated.Message);
    case ncgen::TGenerateOutcome::NoText:
        return failed({text::NoTextToEncode, 0, {}, {}});
    case ncgen::TGenerateOutcome::Generated:
        break;
    }
    if (base::TTextMessage collision =
            CheckAgainstBlank(job.BlankDefinition, fields, profile, program.Generated);
        !collision.Empty())
        return failed(std::move(collision));
    program.Misfit = SymbolMisfit(program.Generated);
    program.Warnings = program.Generated.ContentWarnings;
    program.Content = base::JoinLines(fields.Layer.EText);
    program.SymbolSize = datamatrix::FormatName(program.Generated.CalculatedFormat);
    const auto encoding = static_cast<datamatrix::TEncoding>(fields.Layer.CurrentEncodation);
    program.Encodation =
        encoding <= datamatrix::E_AUTO ? std::string(datamatrix::EncodingName(encoding)) : "";
    if (notes)
        program.Notes =
            NotesWithVerdict(program.Generated.SimulationLines, layers.Layer(1), profile,
                             job.BlankDefinition, notes->Stats, notes->Check, notes->RapidRate);
    return {};
}

TOutcome Generate(TOpenJob& job, const TJobOptions& options, TProgram& program) {
    ncgen::TLayerTable& layers = job.Job.Layers;
    ncgen::TGenerateFields fields{layers.SelectLayer(1).Fields, job.Profile.Profile.SafetyDistance,
                                  job.Profile.Profile.InfeedDepth, readback::JobSurface(job.Job)};
    if (options.Text) fields.Layer.EText = base::SplitLines(*options.Text);
    if (options.Content) fields.Layer.Content = *options.Content;
    TOutcome generated = GenerateProgram(
        job.Job, fields, job.Profile.Profile, job.Profile.Name,
        TNotesWanted{options.Stats, options.Check, job.Session.Settings.RapidRate}, program);
    // Once for the requirement and the record alike.
    if (generated.Ok() && options.Grade) program.Grade = GradeOfProgram(job, options, program);
    return generated;
}

TOutcome SaveJob(const ncgen::TJob& job, const fs::path& file) {
    try {
        ncgen::SpeichereVorlage(file, job);
    } catch (const ncgen::ETemplateWriteError& e) {
        return failed({e.TextNumber(), 0, base::PathText(e.FileName())});
    }
    return {};
}

namespace {

// The comparison the file system would make where one of the two does not exist yet: an
// output is named through "./", "..", another case on Windows before it is written.
std::string comparedPath(const fs::path& file) {
    std::error_code ec;
    fs::path whole = fs::weakly_canonical(fs::absolute(file, ec), ec);
    if (ec) whole = fs::absolute(file, ec).lexically_normal();
    std::string text = whole.generic_string();
#ifdef _WIN32
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
#endif
    return text;
}

} // namespace

bool IsSameFile(const fs::path& jobFile, const fs::path& output) {
    if (jobFile.empty() || output.empty()) return false;
    std::error_code ec;
    // A link, a hard link or another spelling of one file: the file system knows.
    if (fs::equivalent(output, jobFile, ec)) return true;
    return comparedPath(output) == comparedPath(jobFile);
}

TOutcome CheckNotJobFile(const fs::path& jobFile, const fs::path& output) {
    if (IsSameFile(jobFile, output))
        return failed({text::OutputIsJobFile, 0, {}, {}}, TStatus::BadRequest);
    return {};
}

bool IsJobFile(const TOpenJob& job, const fs::path& output) {
    return IsSameFile(job.File, output);
}

TOutcome WriteProgram(const TOpenJob& job, const TProgram& program, const fs::path& output,
                      const TWrittenHook& written) {
    if (TOutcome refused = CheckNotJobFile(job.File, output); !refused.Ok()) return refused;
    if (!base::WriteFileAtomically(output, base::JoinLines(program.Generated.NCLines)))
        return failed(systemMessage(config::CannotCreateText(output)));
    if (written) written(output, program);
    return {};
}

} // namespace korvex::job

#include "cli/Commands.h"
#include "cli/GeneratePipeline.h"
#include "cli/GenerateLog.h"
#include "cli/GenerateSeries.h"
#include "cli/OptionParser.h"
#include "job/NoteTexts.h"
#include "readback/ProgramNotes.h"

#include "base/TextLines.h"
#include "base/TextNumbers.h"
#include "base/Windows1252.h"

#include "config/ConfigError.h"
#include "job/LoggedRun.h"
#include "job/Run.h"
#include "job/MarkGrade.h"

#include <ostream>

namespace korvex::cli {

namespace {

constexpr const char* GENERATE_USAGE =
    "usage: korvex-cli generate [--config DIR] [--profile N|NAME|FILE] [--text TEXT] [--content "
    "KIND]\n"
    "                           [-o OUT] [--surface flat|follow|rotary]\n"
    "                           [--tool none|cone:ANGLE[:TIP]|ball:RADIUS] [--check] [--stats]\n"
    "                           [--no-log] [--allow-duplicate] [--require as9132|A|B|C|D]\n"
    "                           [--log FILE|URL]\n"
    "                           JOB.ncm\n"
    "       korvex-cli generate --serial START|next[:COUNT[:STEP]] [--counter NAME]\n"
    "                           --text PATTERN -o NAMES [...] JOB.ncm\n"
    "       korvex-cli generate --texts FILE -o NAMES [...] JOB.ncm\n";

constexpr const char* GENERATE_HELP =
    "Writes the NC program of a job's first layer, as the desktop program's batch run does.\n"
    "\n"
    "  --config DIR      configuration folder (main.ini, profil1.ini-profil4.ini); default:\n"
    "                    Korvex2/config below the documents folder, created on first use\n"
    "  --profile N|NAME|FILE\n"
    "                    output profile by number 1-4, by name, or a profile file (a path\n"
    "                    with '/' or ending in .ini); default: the settings' one\n"
    "  --text TEXT       encode TEXT instead of the layer's text (a pattern in a serial run)\n"
    "  --content KIND    text, gs1, iso15434-05, iso15434-06 or iso15434-12 instead of the\n"
    "                    layer's content kind (ISO/IEC 15434: one data element per line)\n"
    "  -o OUT            write the program to OUT instead of standard output (a name pattern\n"
    "                    in a serial or list run)\n"
    "  --check           read the marked points back as a scanner would and say so on\n"
    "                    standard error; exit status 3 when they do not read as the text\n"
    "                    (a mirror image counts when exactly one mirror is on)\n"
    "  --stats           print points, rapid and plunge travel, the plunge time and the cycle\n"
    "                    time (rapid at main.ini's Eilgangrate, 5000 mm/min without it, and\n"
    "                    0.02 s per block)\n"
    "  --surface flat|follow|rotary\n"
    "                    on a blank that is a cylinder along X or Y: every dot at the same Z\n"
    "                    (flat), its depth below the surface above it (follow), or the part\n"
    "                    turned on a rotary axis ([#AVAL]); instead of the job's choice\n"
    "  --tool none|cone:ANGLE[:TIP]|ball:RADIUS\n"
    "                    the marking tool instead of the profile's (included angle in degrees,\n"
    "                    tip flat and radius in mm): --stats and --check give the dot size\n"
    "                    against the dot spacing and the depths for 60-105 %, and --check reads\n"
    "                    the marks back as round dots\n"
    "  --require as9132|A|B|C|D\n"
    "                    refuse (exit status 3) a program whose predicted mark fails AS9132\n"
    "                    or grades below the letter, or does not read ('korvex-cli grade')\n"
    "  --serial START[:COUNT[:STEP]]\n"
    "                    one program per number n = START, START+STEP, ... (COUNT programs)\n"
    "  --serial next[:COUNT[:STEP]]\n"
    "                    the same from the counter's next number; the counter moves on past\n"
    "                    the run, so no two runs get the same number\n"
    "  --counter NAME    the counter of --serial next; default: one per job template\n"
    "  --no-log          write without a record in the marking log\n"
    "  --allow-duplicate write a content the marking log holds already\n"
    "  --log FILE|URL    the marking log for this run instead of the settings' one: a\n"
    "                    SQLite file or postgresql://user@server/database (no password\n"
    "                    here: libpq reads ~/.pgpass or PGPASSFILE)\n"
    "  --texts FILE      one program per non-empty line of FILE (UTF-8 or Windows-1252)\n"
    "\n"
    "Patterns: {n} the number, {n:06} padded with zeros, {i} the program's place in the run\n"
    "(for --texts the line's number), {line} the text. Every file is written whole or not at\n"
    "all; the first failure stops a run and keeps the files written before it.\n"
    "Every program written to a file is recorded in the marking log (korvex.sqlite in the\n"
    "configuration folder) before it is in place; a content logged before is refused, a run\n"
    "checks its whole range first. 'korvex-cli log' lists the records.\n"
    "A symbol that does not fit the job's blank is reported as a warning.\n"
    "Exit status: 0 done, 1 failed, 2 bad arguments, 3 the check found an unreadable program.\n";

struct TParsed {
    TGenerateOptions Options;
    std::optional<std::string> Output;
    std::optional<std::string> Serial;
    std::optional<std::string> Texts;
    std::optional<std::string> Require;
    bool Check = false;
    bool Stats = false;
    bool Help = false;
    TLogOptions Log;
};

// Reads the options; an error text when they are not usable.
std::string parse(const std::vector<std::string>& args, TParsed& parsed) {
    std::optional<std::string> job, location;
    TGenerateOptions& options = parsed.Options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::optional<std::string>* target = nullptr;
        if (arg == "--config")
            target = &options.Config;
        else if (arg == "--profile")
            target = &options.Profile;
        else if (arg == "--text")
            target = &options.Text;
        else if (arg == "--content")
            target = &options.Content;
        else if (arg == "-o")
            target = &parsed.Output;
        else if (arg == "--serial")
            target = &parsed.Serial;
        else if (arg == "--texts")
            target = &parsed.Texts;
        else if (arg == "--surface")
            target = &options.Surface;
        else if (arg == "--counter")
            target = &parsed.Log.Counter;
        else if (arg == "--tool")
            target = &options.Tool;
        else if (arg == "--require")
            target = &parsed.Require;
        else if (arg == LogOption)
            target = &location;
        if (target) {
            if (i + 1 >= args.size()) return "option " + arg + " needs a value";
            if (*target) return "option " + arg + " given twice";
            // An empty text is a text; an empty folder, file or profile name names nothing.
            if (args[i + 1].empty() && target != &options.Text)
                return "option " + arg + " needs a value";
            *target = args[++i];
        } else if (arg == "--check") {
            parsed.Check = true;
        } else if (arg == "--stats") {
            parsed.Stats = true;
        } else if (arg == "--no-log") {
            parsed.Log.NoLog = true;
        } else if (arg == "--allow-duplicate") {
            parsed.Log.AllowDuplicate = true;
        } else if (arg == "--help" || arg == "-h") {
            parsed.Help = true;
        } else if (arg.size() > 1 && arg.front() == '-') {
            return "unknown option '" + arg + "'";
        } else if (job) {
            return "only one job file can be generated";
        } else {
            job = arg;
        }
    }
    if (location) parsed.Log.Location = Utf8Path(*location);
    if (parsed.Help) return {};
    if (parsed.Check && !readback::ReadBackAvailable)
        return "--check cannot be used: " + std::string(readback::ReadBackMissing);
    if (parsed.Require && !grade::ReadRequirement(*parsed.Require))
        return "--require must be as9132, A, B, C or D";
    if (parsed.Serial && parsed.Texts) return "--serial and --texts cannot be combined";
    if (parsed.Serial && !options.Text) return "--serial needs a --text pattern";
    if (parsed.Texts && options.Text) return "--texts takes its texts from the file, not --text";
    if ((parsed.Serial || parsed.Texts) && !parsed.Output)
        return "a serial or list run needs an -o name pattern";
    if (parsed.Log.Counter && !(parsed.Serial && parsed.Serial->starts_with("next")))
        return "--counter belongs to --serial next";
    if (parsed.Log.NoLog && parsed.Serial && parsed.Serial->starts_with("next"))
        return "--serial next takes its numbers from the marking log; --no-log has none";
    if (parsed.Log.NoLog && !parsed.Log.Location.empty())
        return "--log and --no-log cannot be combined";
    if (!job) return "no job file given";
    options.Job = *job;
    return {};
}

// The notes on the program, in the job's language.
void printNotes(const job::TOpenJob& job, const job::TProgram& program, std::ostream& err) {
    const config::TLanguageTexts& texts = job.Session.Texts;
    const auto line = [&err](const std::string& words) {
        err << "korvex-cli: " << base::Windows1252ToUtf8(words) << '\n';
    };
    if (program.Misfit) line(texts.Format(text::WarningText, texts.Message(*program.Misfit)));
    const readback::TProgramNotes& notes = program.Notes;
    if (notes.EndsWithLineBreak)
        line(texts.Format(text::WarningText, texts.Text(text::NoteEndsWithLineBreak)));
    if (const std::string blank = job::BlankFitWords(notes.BlankFit, texts); !blank.empty())
        line(texts.Format(text::WarningText, blank));
    for (const std::string& round : job::RoundWords(notes.Round, texts))
        line(texts.Format(text::WarningText, round));
    for (const base::TTextMessage& warning : program.Warnings)
        line(texts.Format(text::WarningText, texts.Message(warning)));
    if (notes.Stats) line(job::StatsWords(*notes.Stats, job.Profile.Profile.FeedZ, texts));
    if (notes.Cycle) line(job::CycleTimeWords(*notes.Cycle, texts));
    if (notes.Dots) {
        line(job::DotFiguresWords(*notes.Dots, texts));
        if (const std::string dots = job::DotWarningWords(*notes.Dots, texts); !dots.empty())
            line(texts.Format(text::WarningText, dots));
    }
    if (notes.Check)
        line(texts.Format(text::ReadBackLine, job::ReadBackWords(*notes.Check, texts)));
}

// The -o file with its record; a content logged before is refused.
int writeFile(const job::TOpenJob& job, const job::TProgram& program, const TParsed& parsed,
              std::ostream& err) {
    const std::filesystem::path file = Utf8Path(*parsed.Output);
    log::TMarkRecord record =
        job::ProgramRecord(program, job.Job.Layers.Layer(1).Content, job.Profile.Name, job.File);
    record.Output = job::RecordedPath(file);
    record.Grade = job::GradeForRecord(job, job.Job.Layers.Layer(1).Content, program);
    const std::string bytes = base::JoinLines(program.Generated.NCLines);
    TCommandFront front(job.Session.Texts, err, parsed.Log.AllowDuplicate, false);
    const job::TWriteOutcome written =
        job::WriteOne(front, job.Session.Texts,
                      {{job.Session.ConfigFolder, parsed.Log.NoLog, parsed.Log.Location},
                       job.File,
                       file,
                       bytes,
                       record});
    switch (written.End) {
    case job::TRunEnd::Done:
        return ExitOk;
    case job::TRunEnd::JobFile:
        return Print(err, job, written.Message), ExitUsage;
    case job::TRunEnd::Duplicate:
        return ExitFailure;
    case job::TRunEnd::CannotWrite:
        // Without the log the system's message stands alone, as a plain write has always said it.
        return Print(err, job, written.Message, written.Logged ? "korvex-cli: " : ""), ExitFailure;
    default:
        return Print(err, job, written.Message), ExitFailure;
    }
}

} // namespace

int RunGenerate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TParsed parsed;
    if (const std::string problem = parse(args, parsed); !problem.empty()) {
        err << "korvex-cli generate: " << problem << '\n' << GENERATE_USAGE;
        return ExitUsage;
    }
    if (parsed.Help) {
        out << GENERATE_USAGE << '\n' << GENERATE_HELP;
        if (!readback::ReadBackAvailable)
            out << "\nNot in this build: --check; " << readback::ReadBackMissing << ".\n";
        return ExitOk;
    }
    if (parsed.Serial || parsed.Texts) {
        TSeriesOptions series{parsed.Options, *parsed.Output, parsed.Serial, parsed.Texts,
                              parsed.Check,   parsed.Stats,   parsed.Log,    parsed.Require};
        return RunGenerateSeries(series, err);
    }
    job::TJobOptions options;
    options.Stats = parsed.Stats;
    options.Check = parsed.Check;
    job::TOpenJob opened;
    if (const auto status = OpenCommandJob(parsed.Options, "generate", options, opened, err))
        return *status;
    job::TProgram program;
    if (const job::TOutcome generated = job::Generate(opened, options, program); !generated.Ok())
        return Print(err, opened, generated.Message, ""), ExitStatus(generated);
    printNotes(opened, program, err);
    if (parsed.Require) {
        const grade::TGradeReport report = job::GradeOfProgram(opened, options, program);
        if (const base::TTextMessage refusal =
                job::RequirementRefusal(report, *parsed.Require, opened.Session.Texts);
            !refusal.Empty())
            return Print(err, opened, refusal), ExitCheckFailed;
    }
    if (parsed.Output) {
        if (const int status = writeFile(opened, program, parsed, err)) return status;
    } else {
        const std::string bytes = base::JoinLines(program.Generated.NCLines);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) return ExitFailure;
    }
    return program.CheckFailed() ? ExitCheckFailed : ExitOk;
}

} // namespace korvex::cli

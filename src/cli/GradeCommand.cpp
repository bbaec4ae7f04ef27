#include "cli/Commands.h"
#include "cli/GeneratePipeline.h"
#include "cli/OptionParser.h"
#include "job/MarkGrade.h"

#include "base/TextNumbers.h"
#include "base/Windows1252.h"

#include <ostream>

namespace korvex::cli {

namespace {

constexpr const char* GRADE_USAGE =
    "usage: korvex-cli grade [--config DIR] [--profile N|NAME|FILE] [--tool ...] [--surface ...]\n"
    "                        [--text TEXT] [--content KIND] [--format text|json] JOB.ncm\n";

constexpr const char* GRADE_HELP =
    "Predicts the grade of the mark a job's program cuts, from its points, the profile's tool\n"
    "and the surface: the AS9132 figures with pass or fail, the ISO/IEC 15415 parameters the\n"
    "geometry decides, at the nominal depth and at both ends of the profile's TiefeToleranz\n"
    "(0.01 mm without it), and whether zxing-cpp and libdmtx read the predicted mark.\n"
    "\n"
    "  --config, --profile, --tool, --surface, --text, --content  as for korvex-cli generate\n"
    "  --format text|json   the report for people (default) or as JSON\n"
    "\n"
    "Exit status: 0 done (a failing AS9132 is a warning), 1 failed or no grade, 2 bad\n"
    "arguments, 3 the predicted mark does not read.\n";

struct TGradeOptions {
    TParsedArgs Args;
    std::optional<std::string> Job;
    bool Help = false;
    std::optional<std::string> Value(std::string_view name) const { return Args.Value(name); }
};

std::string parseGrade(const std::vector<std::string>& args, TGradeOptions& options) {
    static const TOptionRules rules{
        {"--help", "-h"},
        {"--config", "--profile", "--text", "--content", "--tool", "--surface", "--format"},
        true,
        true,
        false};
    if (const auto problem = ParseArguments(args, rules, options.Args)) return problem->Text();
    const std::vector<std::string>& jobs = options.Args.Positionals;
    if (jobs.size() > 1) return "only one job file can be graded";
    if (!jobs.empty()) options.Job = jobs.front();
    options.Help = options.Args.Has("--help") || options.Args.Has("-h");
    if (options.Help) return {};
    if (const auto format = options.Value("--format");
        format && *format != "text" && *format != "json")
        return "--format must be text or json";
    if (!options.Job) return "no job file given";
    return {};
}

} // namespace

int RunGrade(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TGradeOptions options;
    if (const std::string problem = parseGrade(args, options); !problem.empty()) {
        err << "korvex-cli grade: " << problem << '\n' << GRADE_USAGE;
        return ExitUsage;
    }
    if (options.Help) {
        out << GRADE_USAGE << '\n' << GRADE_HELP;
        return ExitOk;
    }
    const TGenerateOptions generateOptions{options.Value("--config"),  options.Value("--profile"),
                                           options.Value("--text"),    *options.Job,
                                           options.Value("--content"), options.Value("--surface"),
                                           options.Value("--tool")};
    job::TJobOptions jobOptions;
    job::TOpenJob opened;
    if (const auto status = OpenCommandJob(generateOptions, "grade", jobOptions, opened, err))
        return *status;
    job::TProgram program;
    if (const job::TOutcome generated = job::Generate(opened, jobOptions, program); !generated.Ok())
        return Print(err, opened, generated.Message, ""), ExitStatus(generated);
    const grade::TGradeReport report = job::GradeOfProgram(opened, jobOptions, program);
    const config::TLanguageTexts& texts = opened.Session.Texts;
    if (options.Value("--format") == "json") {
        out << grade::ReportJson(report);
    } else {
        for (const std::string& line : job::GradeReportLines(report, texts))
            out << base::Windows1252ToUtf8(line) << '\n';
    }
    out.flush();
    if (!report.Ok()) {
        err << "korvex-cli grade: " << base::Windows1252ToUtf8(job::GradeStatusText(report, texts))
            << '\n';
        return ExitFailure;
    }
    if (!report.As9132Pass())
        Print(err, opened, {text::WarningText, 0, {}, {job::GradeStatusText(report, texts)}});
    if (report.Verdict && report.Verdict->Verdict == grade::TVerdict::DoesNotRead)
        return ExitCheckFailed;
    return out ? ExitOk : ExitFailure;
}

} // namespace korvex::cli

#include "cli/Commands.h"
#include "cli/GeneratePipeline.h"

#include "base/TextLines.h"

#include <ostream>

namespace korvex::cli {

namespace {

constexpr const char* GENERATE_USAGE =
    "usage: korvex-cli generate [--config DIR] [--profile N|NAME] [--text TEXT] [-o OUT] JOB.ncm\n";

// Reads the options; an error text when they are not usable.
std::string parse(const std::vector<std::string>& args, TGenerateOptions& options,
                  std::optional<std::string>& output) {
    std::optional<std::string> job;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::optional<std::string>* target = nullptr;
        if (arg == "--config")
            target = &options.Config;
        else if (arg == "--profile")
            target = &options.Profile;
        else if (arg == "--text")
            target = &options.Text;
        else if (arg == "-o")
            target = &output;
        if (target) {
            if (i + 1 >= args.size()) return "option " + arg + " needs a value";
            if (*target) return "option " + arg + " given twice";
            // An empty text is a text; an empty folder, file or profile name names nothing.
            if (args[i + 1].empty() && target != &options.Text)
                return "option " + arg + " needs a value";
            *target = args[++i];
        } else if (arg.size() > 1 && arg.front() == '-') {
            return "unknown option '" + arg + "'";
        } else if (job) {
            return "only one job file can be generated";
        } else {
            job = arg;
        }
    }
    if (!job) return "no job file given";
    options.Job = *job;
    return {};
}

} // namespace

int RunGenerate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TGenerateOptions options;
    std::optional<std::string> output;
    if (const std::string problem = parse(args, options, output); !problem.empty()) {
        err << "korvex-cli generate: " << problem << '\n' << GENERATE_USAGE;
        return ExitUsage;
    }
    TGenerateRequest request;
    if (const auto status = MakeGenerateRequest(options, request, err)) return *status;
    const TGenerateResult result = RunGeneratePipeline(request);
    if (const auto status = ReportGenerateResult(result, "generate", err)) return *status;
    return WriteCommandOutput(base::JoinLines(result.NCLines), output, request.JobFile, out, err);
}

} // namespace korvex::cli

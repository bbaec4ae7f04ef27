#include "cli/Commands.h"
#include "cli/GeneratePipeline.h"

#include "config/AtomicFile.h"
#include "config/PathText.h"
#include "config/TextLines.h"
#include "config/Windows1252.h"

#include <ostream>

namespace korvex::cli {

namespace {

constexpr const char* GENERATE_USAGE =
    "usage: korvex-cli generate [--config DIR] [--profile N|NAME] [--text TEXT] [-o OUT] JOB.ncm\n";

struct TGenerateArguments {
    std::optional<std::string> config;
    std::optional<std::string> profile;
    std::optional<std::string> text;
    std::optional<std::string> output;
    std::optional<std::string> job;
};

std::filesystem::path utf8Path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Reads the options; an error text when they are not usable.
std::string parse(const std::vector<std::string>& args, TGenerateArguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::optional<std::string>* target = nullptr;
        if (arg == "--config") target = &parsed.config;
        else if (arg == "--profile") target = &parsed.profile;
        else if (arg == "--text") target = &parsed.text;
        else if (arg == "-o") target = &parsed.output;
        if (target) {
            if (i + 1 >= args.size()) return "option " + arg + " needs a value";
            if (*target) return "option " + arg + " given twice";
            *target = args[++i];
        } else if (arg.size() > 1 && arg.front() == '-') {
            return "unknown option '" + arg + "'";
        } else if (parsed.job) {
            return "only one job file can be generated";
        } else {
            parsed.job = arg;
        }
    }
    return parsed.job ? std::string() : "no job file given";
}

// Command-line texts are UTF-8; the core wants Windows-1252.
bool toCodePage(const std::string& option, std::optional<std::string>& text, std::ostream& err) {
    if (!text) return true;
    auto converted = config::Utf8ToWindows1252(*text);
    if (!converted.ok) {
        err << "korvex-cli: " << option << ": the character '" << converted.offending
            << "' has no Windows-1252 code\n";
        return false;
    }
    text = std::move(converted.text);
    return true;
}

void printWindows1252(std::ostream& err, const std::string& message) {
    err << config::Windows1252ToUtf8(message) << '\n';
}

} // namespace

int RunGenerate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TGenerateArguments parsed;
    if (const std::string problem = parse(args, parsed); !problem.empty()) {
        err << "korvex-cli generate: " << problem << '\n' << GENERATE_USAGE;
        return ExitUsage;
    }
    if (!toCodePage("--profile", parsed.profile, err) || !toCodePage("--text", parsed.text, err))
        return ExitUsage;

    TGenerateRequest request;
    if (parsed.config) {
        request.ConfigFolder = utf8Path(*parsed.config);
    } else {
        const config::TConfigFolder folder = DefaultConfigFolder();
        if (!folder.message.empty()) {
            // Without a documents folder the relative folder would depend on where we run.
            printWindows1252(err, folder.message);
            return ExitFailure;
        }
        request.ConfigFolder = folder.folder;
    }
    request.DataFolder = DefaultDataFolder();
    request.Profile = parsed.profile;
    request.Text = parsed.text;
    request.JobFile = utf8Path(*parsed.job);

    const TGenerateResult result = RunGeneratePipeline(request);
    for (const auto& warning : result.Warnings) printWindows1252(err, "korvex-cli: warning: " + warning);
    if (result.Status == TGenerateStatus::BadRequest) {
        printWindows1252(err, "korvex-cli generate: " + result.Message);
        return ExitUsage;
    }
    if (result.Status != TGenerateStatus::Ok) {
        printWindows1252(err, result.Message);
        return ExitFailure;
    }

    const std::string program = config::JoinLines(result.NCLines);
    if (parsed.output) {
        const auto file = utf8Path(*parsed.output);
        if (!config::WriteFileAtomically(file, program)) {
            printWindows1252(err, "Datei " + config::PathText(file) + " kann nicht erstellt werden");
            return ExitFailure;
        }
    } else {
        out.write(program.data(), static_cast<std::streamsize>(program.size()));
        out.flush();
    }
    return ExitOk;
}

} // namespace korvex::cli

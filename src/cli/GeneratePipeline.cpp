#include "cli/GeneratePipeline.h"

#include "base/EKorvexError.h"
#include "base/Platform.h"
#include "base/TextNumbers.h"
#include "base/Windows1252.h"
#include "cli/Commands.h"
#include "content/ContentKind.h"
#include "ncgen/Surface.h"
#include "ncgen/Tool.h"

#include <ostream>

namespace korvex::cli {

namespace fs = std::filesystem;

fs::path DefaultDataFolder() {
    const fs::path folder = base::ExecutableFolder();
    return folder.empty() ? fs::path("data") : folder / "data";
}

namespace {

void printLine(std::ostream& err, std::string_view prefix, const std::string& windows1252) {
    err << prefix << base::Windows1252ToUtf8(windows1252) << '\n';
}

// Command-line texts are UTF-8; the core wants Windows-1252.
bool toCodePage(const char* option, const std::optional<std::string>& utf8,
                std::optional<std::string>& target, std::ostream& err) {
    if (!utf8) return true;
    auto converted = base::Utf8ToWindows1252(*utf8);
    if (!converted.ok) {
        err << "korvex-cli: " << option << ": the character '" << converted.offending
            << "' has no Windows-1252 code\n";
        return false;
    }
    target = std::move(converted.text);
    return true;
}

} // namespace

void Print(std::ostream& err, const job::TOpenJob& job, const base::TTextMessage& message,
           std::string_view prefix) {
    printLine(err, prefix, job.Session.Texts.Message(message));
}

int ExitStatus(const job::TOutcome& outcome) {
    if (outcome.Ok()) return ExitOk;
    return outcome.Status == job::TStatus::BadRequest ? ExitUsage : ExitFailure;
}

std::optional<int> OpenCommandSession(const TGenerateOptions& options, job::TJobOptions& jobOptions,
                                      job::TSession& session, std::ostream& err) {
    if (!toCodePage("--profile", options.Profile, jobOptions.Profile, err) ||
        !toCodePage("--text", options.Text, jobOptions.Text, err))
        return ExitUsage;
    if (options.Content) {
        jobOptions.Content = content::ContentKindFromName(*options.Content);
        if (!jobOptions.Content)
            return err << "korvex-cli: '" << *options.Content << "' is not a content kind ("
                       << content::ContentOptionList(", ", ", ") << ")\n",
                   ExitUsage;
    }
    if (options.Surface) {
        jobOptions.Surface = ncgen::ReadSurfaceMode(*options.Surface);
        if (!jobOptions.Surface)
            return err << "korvex-cli: --surface: '" << *options.Surface
                       << "' is none of flat, follow, rotary\n",
                   ExitUsage;
    }
    fs::path folder;
    if (options.Config) {
        folder = Utf8Path(*options.Config);
    } else {
        const config::TConfigFolder found = config::DefaultConfigFolder();
        // Without a documents folder the relative folder would depend on where we run.
        if (!found.message.empty()) return printLine(err, "", found.message), ExitFailure;
        folder = found.folder;
    }
    try {
        session = job::OpenSession(folder, DefaultDataFolder());
    } catch (const EKorvexError& e) {
        return printLine(err, "", e.what()), ExitFailure;
    }
    if (!session.FillNotice.empty()) printLine(err, "korvex-cli: ", session.FillNotice);
    for (const std::string& warning : session.SettingsWarnings)
        printLine(err, "korvex-cli: ", session.Texts.Format(text::WarningText, warning));
    // Read after the session, so its problem comes in the settings' language.
    if (options.Tool) {
        const ncgen::TToolReading tool = ncgen::ParseToolOption(*options.Tool);
        if (!tool.Problem.Empty())
            return printLine(err, "korvex-cli: ", session.Texts.Message(tool.Problem)), ExitUsage;
        jobOptions.Tool = tool.Tool;
    }
    return std::nullopt;
}

std::optional<int> OpenCommandJob(const TGenerateOptions& options, std::string_view command,
                                  job::TJobOptions& jobOptions, job::TOpenJob& job,
                                  std::ostream& err) {
    job::TSession session;
    if (const auto status = OpenCommandSession(options, jobOptions, session, err)) return status;
    const job::TOutcome opened =
        job::OpenJob(std::move(session), Utf8Path(options.Job), jobOptions, job);
    const config::TLanguageTexts& texts = job.Session.Texts;
    for (const base::TTextMessage& warning : job.Warnings)
        printLine(err, "korvex-cli: ", texts.Format(text::WarningText, texts.Message(warning)));
    if (opened.Ok()) return std::nullopt;
    const std::string prefix = "korvex-cli " + std::string(command) + ": ";
    Print(err, job, opened.Message, opened.Status == job::TStatus::BadRequest ? prefix : "");
    return ExitStatus(opened);
}

} // namespace korvex::cli

#include "cli/Commands.h"
#include "cli/GeneratePipeline.h"
#include "cli/OptionParser.h"

#include "base/PathText.h"
#include "base/TextNumbers.h"
#include "base/Windows1252.h"
#include "config/ConfigFolder.h"
#include "config/Settings.h"
#include "config/SettingsFile.h"

#ifdef KORVEX_VERIFY
#include "cli/VerifyRecord.h"
#include "verify/VerifyText.h"
#endif

#include <ostream>

namespace korvex::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* VERIFY_USAGE =
    "usage: korvex-cli verify [--config DIR] [--format text|json] [--record] PHOTO\n";

constexpr const char* VERIFY_HELP =
    "Finds and decodes the DataMatrix mark on a photo (PNG, JPEG, TIFF or BMP, at most 50 million\n"
    "pixels) as a dot-peen reader does, and measures it on the grid the decoder found: every\n"
    "dot's size, centre and ovality, AS9132 and the ISO/IEC 15415 / TR 29158 parameters a photo\n"
    "shows, each graded. Not a calibrated verifier: lighting and optics are unknown, so the\n"
    "grades are indicative; the geometry is measured.\n"
    "\n"
    "  --config DIR         the configuration folder, for the language\n"
    "  --format text|json   the report for people (default) or as JSON\n"
    "  --record             keep the verification in the marking log with the record of the\n"
    "                       decoded content (time, who, grade, AS9132, the photo's SHA-256)\n"
    "\n"
    "Exit status: 0 the symbol reads (a failing AS9132 is in the report), 1 the photo cannot be\n"
    "read (missing, no picture, cut off, too large), 2 bad arguments, 3 no readable symbol.\n";

// The words of the settings' language; without settings or language files the defaults.
config::TLanguageTexts textsFor(const std::optional<std::string>& configOption) {
    config::TLanguageTexts texts;
    config::TSettings settings;
    try {
        fs::path folder;
        if (configOption) {
            folder = base::Utf8Path(*configOption);
        } else {
            const config::TConfigFolder found = config::DefaultConfigFolder();
            if (found.message.empty()) folder = found.folder;
        }
        ncgen::TProfileTable profiles;
        if (!folder.empty()) config::LoadSettings(folder, settings, profiles);
    } catch (const std::exception&) {
        settings = config::TSettings{};
    }
    try {
        texts.Load(DefaultDataFolder() / config::LanguageFileName(settings.Language));
    } catch (const std::exception&) {
        // Without language files the messages keep their detail.
    }
    return texts;
}

} // namespace

int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TParsedArgs parsed;
    const TOptionRules rules{{"--help", "-h", "--record"}, {"--config", "--format"}};
    if (const auto problem = ParseArguments(args, rules, parsed)) {
        err << "korvex-cli verify: " << problem->Text() << '\n' << VERIFY_USAGE;
        return ExitUsage;
    }
    if (parsed.Has("--help") || parsed.Has("-h")) {
        out << VERIFY_USAGE << '\n' << VERIFY_HELP;
        return ExitOk;
    }
    const std::optional<std::string> format = parsed.Value("--format");
    if (format && *format != "text" && *format != "json") {
        err << "korvex-cli verify: --format must be text or json\n" << VERIFY_USAGE;
        return ExitUsage;
    }
    if (parsed.Positionals.size() != 1) {
        err << "korvex-cli verify: "
            << (parsed.Positionals.empty() ? "no photo given" : "only one photo can be verified")
            << '\n'
            << VERIFY_USAGE;
        return ExitUsage;
    }
    const config::TLanguageTexts texts = textsFor(parsed.Value("--config"));
#ifdef KORVEX_VERIFY
    const std::string& photo = parsed.Positionals.front();
    const verify::TVerifyReport report = verify::VerifyPhoto(base::Utf8Path(photo));
    const base::TCodePageResult name = base::Utf8ToWindows1252(photo);
    const std::string shown = name.ok ? name.text : photo;
    if (format == "json") {
        out << verify::VerifyJson(report);
    } else if (report.Ok()) {
        for (const std::string& line : verify::VerifyReportLines(report, shown, texts))
            out << base::Windows1252ToUtf8(line) << '\n';
    }
    out.flush();
    if (!report.Ok()) {
        err << "korvex-cli verify: "
            << base::Windows1252ToUtf8(verify::VerifyProblemText(report.Problem, shown, texts))
            << '\n';
        return report.Problem == verify::TVerifyProblem::NoSymbol ? ExitCheckFailed : ExitFailure;
    }
    // The record found goes below the report; after JSON it would spoil it, so it goes aside.
    if (const int logged =
            ReportMarkedRecord(parsed.Value("--config"), report, base::Utf8Path(photo),
                               parsed.Has("--record"), texts, format == "json" ? err : out, err))
        return logged;
    out.flush();
    return out ? ExitOk : ExitFailure;
#else
    err << "korvex-cli verify: " << base::Windows1252ToUtf8(texts.Text(text::VerifyNotBuilt))
        << '\n';
    return ExitFailure;
#endif
}

} // namespace korvex::cli

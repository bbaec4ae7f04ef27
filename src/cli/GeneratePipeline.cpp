#include "cli/GeneratePipeline.h"
#include "datamatrix/TEncoding.h"

#include "base/AtomicFile.h"
#include "base/PathText.h"
#include "base/Platform.h"
#include "base/TextLines.h"
#include "base/TextNumbers.h"
#include "base/Windows1252.h"
#include "cli/Commands.h"
#include "config/ConfigError.h"
#include "config/DefaultConfiguration.h"
#include "config/LanguageTexts.h"
#include "config/SettingsFile.h"
#include "datamatrix/TFormat.h"
#include "ncgen/GenerateCommand.h"
#include "ncgen/ProfileSelection.h"
#include "ncgen/TemplateFile.h"
#include "readback/JobSurface.h"

#include <ostream>

namespace korvex::cli {

namespace fs = std::filesystem;

namespace {

TGenerateResult& fail(TGenerateResult& result, std::string message,
                      TGenerateStatus status = TGenerateStatus::Failed) {
    result.Status = status;
    result.Message = std::move(message);
    return result;
}

void addLoadWarnings(const ncgen::TLoadReport& report, std::vector<std::string>& warnings) {
    const auto note = [&warnings](int count, const char* what) {
        if (count > 0) warnings.push_back(std::to_string(count) + " " + what);
    };
    note(report.DroppedTextLines, "text lines beyond 100 per layer were left out");
    note(report.IgnoredLayerLines, "lines before the first layer were ignored");
    note(report.DroppedLayers, "layers beyond 50 were left out");
    note(report.IndexFallbacks, "DMFORM or DMENC values named no symbol size (0-30) or "
                                "encodation (0-5) and became 0 (automatic size, ASCII)");
}

// Runs the steps after the settings are known; throws for errors the core reports by exception.
void generate(const TGenerateRequest& request, const config::TLanguageTexts& texts,
              std::string_view profileName, TGenerateResult& result) {
    // Start-up: the first layer, then the default dot spacing in the spacing field.
    ncgen::TJob& job = result.Job;
    const std::string layerName = texts.Text(text::DefaultLayerName);
    job.Layers.AddLayer(layerName, result.Settings.CurrentSymbolSize,
                        result.Settings.CurrentEncodation);

    ncgen::TLoadReport report;
    const ncgen::TLoadOptions options{result.Settings.CurrentSymbolSize,
                                      result.Settings.CurrentEncodation, layerName};
    // The desktop program's command line asks whether the template file exists; a folder is none.
    std::error_code ec;
    if (fs::is_directory(request.JobFile, ec) ||
        !ncgen::LadeVorlage(request.JobFile, job, report, options)) {
        fail(result, "Vorlage [" + base::PathText(request.JobFile) + "] existiert nicht!");
        return;
    }
    if (!report.Opened) {
        // The desktop program would go on with the empty start-up layer; a batch must not.
        fail(result, config::CannotOpenText(request.JobFile));
        return;
    }
    addLoadWarnings(report, result.Warnings);
    if (const base::TTextMessage noLayer = ncgen::CheckBatchJob(report, request.JobFile);
        !noLayer.Empty()) {
        fail(result, texts.Message(noLayer));
        return;
    }

    // The window after loading: layer 1 shown, the profile's R and Z in their fields.
    if (request.Surface) job.Surface = *request.Surface;
    ncgen::TGenerateFields fields{job.Layers.SelectLayer(1).Fields, result.Profile.SafetyDistance,
                                  result.Profile.InfeedDepth, readback::JobSurface(job)};
    if (request.Text) fields.Layer.EText = base::SplitLines(*request.Text);
    if (request.Content) fields.Layer.Content = *request.Content;

    ncgen::TGenerateCommandResult generated =
        ncgen::GenerateCommand(job.Layers, fields, result.Profile, profileName);
    switch (generated.Outcome) {
    case ncgen::TGenerateOutcome::Refused:
        fail(result, texts.Message(generated.Message));
        return;
    case ncgen::TGenerateOutcome::NoText:
        fail(result, "Layer 1 of the job has no text to encode");
        return;
    case ncgen::TGenerateOutcome::Generated:
        break;
    }
    // The desktop program shows this in red in the preview caption.
    if (generated.PreferredFormat != datamatrix::AUTO &&
        generated.CalculatedFormat != generated.PreferredFormat)
        result.Warnings.push_back("the text does not fit " +
                                  std::string(datamatrix::FormatName(generated.PreferredFormat)) +
                                  "; the symbol is " +
                                  std::string(datamatrix::FormatName(generated.CalculatedFormat)));
    for (const base::TTextMessage& warning : generated.ContentWarnings)
        result.Warnings.push_back(texts.Message(warning));
    result.NCLines = std::move(generated.NCLines);
    result.SimulationLines = std::move(generated.SimulationLines);
    result.Content = base::JoinLines(fields.Layer.EText);
    result.SymbolSize = datamatrix::FormatName(generated.CalculatedFormat);
    const auto encoding = static_cast<datamatrix::TEncoding>(fields.Layer.CurrentEncodation);
    if (encoding <= datamatrix::E_AUTO) result.Encodation = datamatrix::EncodingName(encoding);
    result.Status = TGenerateStatus::Ok;
}

} // namespace

TGenerateResult RunGeneratePipeline(const TGenerateRequest& request) {
    TGenerateResult result;
    try {
        ncgen::TProfileTable profiles;
        result.Warnings = config::LoadSettings(request.ConfigFolder, result.Settings, profiles);

        config::TLanguageTexts& texts = result.Texts;
        texts.Load(request.DataFolder / config::LanguageFileName(result.Settings.Language));

        const std::string choice =
            request.Profile.value_or(std::to_string(result.Settings.DefaultProfile));
        const auto takeTool = [&request, &result] {
            if (request.Tool) {
                result.Profile.Tool = *request.Tool;
                result.Profile.ToolProblem.clear();
            } else if (!result.Profile.ToolProblem.empty()) {
                result.Warnings.push_back("the profile's tool is not used: " +
                                          result.Profile.ToolProblem);
            }
        };
        // A profile file named directly, such as one of the delivered examples.
        const fs::path named(choice);
        std::error_code ec;
        if (request.Profile && (choice.find('/') != choice.npos || named.extension() == ".ini") &&
            fs::is_regular_file(named, ec)) {
            const ncgen::TOutputProfile stored = config::LoadProfileFile(named);
            result.Profile = ncgen::ActivateProfile(stored);
            takeTool();
            result.ProfileName =
                stored.Name.empty() ? base::PathText(named.filename()) : stored.Name;
            if (const base::TTextMessage unreadable =
                    ncgen::CheckNumberFormat(result.Profile.Format, result.ProfileName);
                !unreadable.Empty())
                return fail(result, texts.Message(unreadable));
            generate(request, texts, result.ProfileName, result);
            return result;
        }
        const auto selection = ncgen::SelectProfile(profiles, choice);
        if (!selection)
            return fail(result, "no profile is named " + choice, TGenerateStatus::BadRequest);
        result.ProfileNumber = selection->Number;
        result.Profile = selection->Profile;
        takeTool();
        // A folder without the profile's file would give an empty program that looks like success.
        const fs::path profileFile = config::SettingsFile(
            request.ConfigFolder, "profil" + std::to_string(selection->Number));
        if (!fs::is_regular_file(profileFile))
            return fail(result, config::CannotOpenText(profileFile));

        // A profile without a name is named by its file.
        const std::string& name = profiles[static_cast<std::size_t>(selection->Number - 1)].Name;
        result.ProfileName = name.empty() ? base::PathText(profileFile.filename()) : name;
        generate(request, texts, result.ProfileName, result);
    } catch (const std::exception& e) {
        result.NCLines.clear();
        result.SimulationLines.clear();
        fail(result, e.what());
    }
    return result;
}

fs::path DefaultDataFolder() {
    const fs::path folder = base::ExecutableFolder();
    return folder.empty() ? fs::path("data") : folder / "data";
}

namespace {

std::filesystem::path utf8Path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

void printWindows1252(std::ostream& err, const std::string& message) {
    err << base::Windows1252ToUtf8(message) << '\n';
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

// Start-up of every command that reads the settings: the files the folder lacks come from the
// delivered defaults, and the user is told in the language those settings choose.
std::optional<int> fillConfigFolder(const fs::path& folder, const fs::path& data,
                                    std::ostream& err) {
    try {
        const config::TConfigFill fill = config::FillConfigFolder(folder, data);
        if (fill.AddedFiles.empty()) return std::nullopt;
        config::TSettings settings;
        ncgen::TProfileTable profiles;
        config::LoadSettings(folder, settings, profiles);
        config::TLanguageTexts texts;
        texts.Load(data / config::LanguageFileName(settings.Language));
        printWindows1252(err, "korvex-cli: " + config::ConfigFillMessage(fill, folder, texts));
        return std::nullopt;
    } catch (const std::exception& e) {
        printWindows1252(err, e.what());
        return ExitFailure;
    }
}

} // namespace

std::optional<int> MakeGenerateRequest(const TGenerateOptions& options, TGenerateRequest& request,
                                       std::ostream& err) {
    if (!toCodePage("--profile", options.Profile, request.Profile, err) ||
        !toCodePage("--text", options.Text, request.Text, err))
        return ExitUsage;
    if (options.Content) {
        request.Content = content::ContentKindFromName(*options.Content);
        if (!request.Content) {
            err << "korvex-cli: '" << *options.Content
                << "' is not a content kind (text, gs1, iso15434-05, iso15434-06, iso15434-12)\n";
            return ExitUsage;
        }
    }
    if (options.Surface) {
        request.Surface = ncgen::ReadSurfaceMode(*options.Surface);
        if (!request.Surface) {
            err << "korvex-cli: --surface: '" << *options.Surface
                << "' is none of flat, follow, rotary\n";
            return ExitUsage;
        }
    }
    if (options.Tool) {
        const ncgen::TToolReading tool = ncgen::ParseToolOption(*options.Tool);
        if (!tool.Problem.empty()) {
            err << "korvex-cli: " << tool.Problem << '\n';
            return ExitUsage;
        }
        request.Tool = tool.Tool;
    }
    if (options.Config) {
        request.ConfigFolder = utf8Path(*options.Config);
    } else {
        const config::TConfigFolder folder = config::DefaultConfigFolder();
        if (!folder.message.empty()) {
            // Without a documents folder the relative folder would depend on where we run.
            printWindows1252(err, folder.message);
            return ExitFailure;
        }
        request.ConfigFolder = folder.folder;
    }
    request.DataFolder = DefaultDataFolder();
    request.JobFile = utf8Path(options.Job);
    return fillConfigFolder(request.ConfigFolder, request.DataFolder, err);
}

std::optional<int> ReportGenerateResult(const TGenerateResult& result, std::string_view command,
                                        std::ostream& err) {
    for (const auto& warning : result.Warnings)
        printWindows1252(err, "korvex-cli: warning: " + warning);
    switch (result.Status) {
    case TGenerateStatus::Ok:
        return std::nullopt;
    case TGenerateStatus::BadRequest:
        printWindows1252(err, "korvex-cli " + std::string(command) + ": " + result.Message);
        return ExitUsage;
    case TGenerateStatus::Failed:
        break;
    }
    printWindows1252(err, result.Message);
    return ExitFailure;
}

int WriteCommandOutput(std::string_view bytes, const std::optional<std::string>& file,
                       const std::filesystem::path& jobFile, std::ostream& out, std::ostream& err) {
    if (!file) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        return out ? ExitOk : ExitFailure;
    }
    const auto path = utf8Path(*file);
    std::error_code ec;
    if (std::filesystem::equivalent(path, jobFile, ec)) {
        err << "korvex-cli: the output file is the job file itself; nothing was written\n";
        return ExitUsage;
    }
    if (!base::WriteFileAtomically(path, bytes)) {
        printWindows1252(err, config::CannotCreateText(path));
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace korvex::cli

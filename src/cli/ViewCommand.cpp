#include "cli/Commands.h"
#include "simulation/JobView.h"
#include "cli/GeneratePipeline.h"
#include "cli/OptionParser.h"
#include "job/NoteTexts.h"

#include "base/AtomicFile.h"
#include "base/TextNumbers.h"
#include "base/Windows1252.h"
#include "config/ConfigError.h"
#include "simulation/SimulationView.h"
#include "simulation/SvgCanvas.h"
#include "simulation/TMathImage.h"
#include "simulation/ViewCommands.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <ostream>

namespace korvex::cli {

namespace {

constexpr const char* VIEW_USAGE =
    "usage: korvex-cli view [--config DIR] [--profile N|NAME|FILE] [--text TEXT] [--content KIND]\n"
    "                       [--view XY|XZ|YZ|XYZ] [--surface flat|follow|rotary]\n"
    "                       [--width W] [--height H] [--tool none|cone:ANGLE[:TIP]|ball:RADIUS]\n"
    "                       [-o OUT.svg] JOB.ncm\n";

constexpr const char* VIEW_HELP =
    "Draws the tool path of a job's first layer with its blank as the window's graphic does,\n"
    "as SVG on standard output or into OUT.svg.\n"
    "\n"
    "  --config, --profile, --text, --surface, --tool  as for korvex-cli generate\n"
    "  --view XY|XZ|YZ|XYZ          a view preset instead of the job's own view\n"
    "  --width W, --height H        picture size in pixels (16-8192; 800 x 600)\n"
    "\n"
    "A symbol that does not fit the job's blank is reported as a warning, and so are dots the\n"
    "tool makes too small or so large that they merge.\n"
    "Exit status: 0 done, 1 failed or the drawing stopped, 2 bad arguments.\n";

constexpr int DEFAULT_WIDTH = 800;
constexpr int DEFAULT_HEIGHT = 600;
constexpr int MIN_SIZE = 16;
constexpr int MAX_SIZE = 8192;

struct TViewOptions {
    TParsedArgs args;
    std::optional<std::string> job;
    std::optional<simulation::ViewPreset> preset;
    int width = DEFAULT_WIDTH;
    int height = DEFAULT_HEIGHT;
    bool help = false;

    std::optional<std::string> value(std::string_view name) const { return args.Value(name); }
};

std::optional<simulation::ViewPreset> presetNamed(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (name == "XY") return simulation::ViewPreset::XY;
    if (name == "XZ") return simulation::ViewPreset::XZ;
    if (name == "YZ") return simulation::ViewPreset::YZ;
    if (name == "XYZ") return simulation::ViewPreset::XYZ;
    return std::nullopt;
}

bool readSize(const std::string& text, int& size) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), size);
    return ec == std::errc() && end == text.data() + text.size() && size >= MIN_SIZE &&
           size <= MAX_SIZE;
}

// An error text when the arguments are not usable.
std::string parseView(const std::vector<std::string>& args, TViewOptions& options) {
    static const TOptionRules rules{{"--help", "-h"},
                                    {"--config", "--profile", "--text", "--content", "--view",
                                     "--width", "--height", "-o", "--surface", "--tool"},
                                    true,
                                    true,
                                    false};
    if (const auto problem = ParseArguments(args, rules, options.args)) return problem->Text();
    options.help = options.args.Has("--help") || options.args.Has("-h");
    const std::vector<std::string>& jobs = options.args.Positionals;
    if (jobs.size() > 1) return "only one job file can be viewed";
    if (!jobs.empty()) options.job = jobs.front();
    if (options.help) return {};
    if (!options.job) return "no job file given";
    if (const auto view = options.value("--view")) {
        options.preset = presetNamed(*view);
        if (!options.preset) return "unknown view '" + *view + "' (XY, XZ, YZ or XYZ)";
    }
    const std::string range = " must be a whole number of pixels from " + std::to_string(MIN_SIZE) +
                              " to " + std::to_string(MAX_SIZE);
    if (const auto w = options.value("--width"); w && !readSize(*w, options.width))
        return "--width" + range;
    if (const auto h = options.value("--height"); h && !readSize(*h, options.height))
        return "--height" + range;
    return {};
}

// The graphic's first view, then the job's box and angles, then the preset asked for.
void applyView(simulation::TMathImage& grafik, const ncgen::TJob& job,
               std::optional<simulation::ViewPreset> preset) {
    simulation::SetInitialView(grafik);
    grafik.SetWorldBox(job.D3WorldX1, job.D3WorldY1, job.D3WorldZ1, job.D3WorldX2, job.D3WorldY2,
                       job.D3WorldZ2);
    grafik.SetD3Zrotation(job.D3Zrotation);
    grafik.SetD3Yrotation(job.D3Yrotation);
    if (preset) simulation::ApplyViewPreset(grafik, *preset);
}

// The warnings a program of the window would show in its status bar.
void printWarnings(const job::TOpenJob& opened, const job::TProgram& program, std::ostream& err) {
    const config::TLanguageTexts& texts = opened.Session.Texts;
    if (program.Misfit)
        Print(err, opened, {text::WarningText, 0, {}, {texts.Message(*program.Misfit)}});
    if (program.Notes.EndsWithLineBreak)
        Print(err, opened, {text::WarningText, 0, {}, {texts.Text(text::NoteEndsWithLineBreak)}});
    if (const std::string blank = job::BlankFitWords(program.Notes.BlankFit, texts); !blank.empty())
        Print(err, opened, {text::WarningText, 0, {}, {blank}});
    for (const std::string& round : job::RoundWords(program.Notes.Round, texts))
        Print(err, opened, {text::WarningText, 0, {}, {round}});
    for (const base::TTextMessage& warning : program.Warnings)
        Print(err, opened, {text::WarningText, 0, {}, {texts.Message(warning)}});
    if (program.Notes.Dots)
        if (const std::string dots = job::DotWarningWords(*program.Notes.Dots, texts);
            !dots.empty())
            Print(err, opened, {text::WarningText, 0, {}, {dots}});
}

struct TDrawing {
    std::string Svg;
    simulation::DrawPassResult Pass;
};

// The program's tool path over its blank, as the window's graphic draws it.
TDrawing draw(const TViewOptions& options, const ncgen::TJob& jobData,
              const config::TSettings& settings, const std::vector<std::string>& lines) {
    simulation::TMathImage grafik(options.width, options.height);
    applyView(grafik, jobData, options.preset);
    simulation::SvgCanvas canvas(options.width, options.height, base::Windows1252ToUtf8);
    grafik.SetFont({"Arial", 9, 0x000000}); // 12 pixels high, in the window-text colour
    grafik.SetCanvas(&canvas);
    simulation::SimulationView view(grafik);
    view.colors = {settings.Background, settings.Axes, settings.Feed, settings.Rapid,
                   settings.Blank};
    view.showAxes = settings.ShowAxes;
    view.showRapidMoves = settings.ShowRapidMoves;
    const simulation::DrawPassResult pass =
        view.Drawsimulation(lines, jobData.BlankDefinition, false);
    return {canvas.document(), pass};
}

} // namespace

int RunView(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TViewOptions options;
    if (const std::string problem = parseView(args, options); !problem.empty()) {
        err << "korvex-cli view: " << problem << '\n' << VIEW_USAGE;
        return ExitUsage;
    }
    if (options.help) {
        out << VIEW_USAGE << '\n' << VIEW_HELP;
        return ExitOk;
    }
    const TGenerateOptions generateOptions{options.value("--config"),  options.value("--profile"),
                                           options.value("--text"),    *options.job,
                                           options.value("--content"), options.value("--surface"),
                                           options.value("--tool")};
    // The figures are what tells dots that are too small or merge.
    job::TJobOptions jobOptions;
    jobOptions.Stats = true;
    job::TOpenJob opened;
    if (const auto status = OpenCommandJob(generateOptions, "view", jobOptions, opened, err))
        return *status;
    job::TProgram program;
    if (const job::TOutcome generated = job::Generate(opened, jobOptions, program); !generated.Ok())
        return Print(err, opened, generated.Message, ""), ExitStatus(generated);
    printWarnings(opened, program, err);
    const std::vector<std::string>& lines = program.Generated.SimulationLines;
    const TDrawing drawn = draw(options, opened.Job, opened.Session.Settings, lines);
    if (const auto output = options.value("-o")) {
        const std::filesystem::path file = Utf8Path(*output);
        if (job::IsJobFile(opened, file))
            return Print(err, opened, {text::OutputIsJobFile, 0, {}, {}}), ExitUsage;
        if (!base::WriteFileAtomically(file, drawn.Svg))
            return Print(err, opened, {0, 0, config::CannotCreateText(file), {}}, ""), ExitFailure;
    } else {
        out << drawn.Svg;
        out.flush();
        if (!out) return ExitFailure;
    }
    // The window ends such a pass quietly; a batch must not call a partial picture a success.
    if (drawn.Pass.stoppedByError) {
        Print(err, opened,
              {text::DrawingStopped,
               0,
               {},
               {std::to_string(drawn.Pass.linesEvaluated), std::to_string(lines.size())}},
              "korvex-cli view: ");
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace korvex::cli

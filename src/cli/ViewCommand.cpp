#include "cli/Commands.h"
#include "cli/GeneratePipeline.h"
#include "readback/ProgramNotes.h"

#include "base/Windows1252.h"
#include "simulation/SimulationView.h"
#include "simulation/SvgCanvas.h"
#include "simulation/TMathImage.h"
#include "simulation/ViewCommands.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
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
    std::map<std::string, std::string> values; // by option name
    std::optional<std::string> job;
    std::optional<simulation::ViewPreset> preset;
    int width = DEFAULT_WIDTH;
    int height = DEFAULT_HEIGHT;
    bool help = false;

    std::optional<std::string> value(const std::string& name) const {
        const auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
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
    static const char* const NAMES[] = {"--config", "--profile", "--text", "--content", "--view",
                                        "--width",  "--height",  "-o",     "--surface", "--tool"};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (std::find(std::begin(NAMES), std::end(NAMES), arg) != std::end(NAMES)) {
            if (i + 1 >= args.size()) return "option " + arg + " needs a value";
            if (!options.values.emplace(arg, args[++i]).second)
                return "option " + arg + " given twice";
        } else if (arg.size() > 1 && arg.front() == '-') {
            return "unknown option '" + arg + "'";
        } else if (options.job) {
            return "only one job file can be viewed";
        } else {
            options.job = arg;
        }
    }
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
    grafik.SetWorldBox(-80, -80, -80, 80, 80, 80);
    grafik.SetD3ViewDist(3);
    grafik.SetD3ViewAngle(6);
    grafik.SetD3AspectRatio(true);
    grafik.SetWorldBox(job.D3WorldX1, job.D3WorldY1, job.D3WorldZ1, job.D3WorldX2, job.D3WorldY2,
                       job.D3WorldZ2);
    grafik.SetD3Zrotation(job.D3Zrotation);
    grafik.SetD3Yrotation(job.D3Yrotation);
    if (preset) simulation::ApplyViewPreset(grafik, *preset);
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
    TGenerateRequest request;
    if (const auto status = MakeGenerateRequest(generateOptions, request, err)) return *status;
    const TGenerateResult result = RunGeneratePipeline(request);
    if (const auto status = ReportGenerateResult(result, "view", err)) return *status;
    const readback::TProgramNotes notes =
        readback::NotesFor(result.SimulationLines, result.Job.Layers.Layer(1), result.Profile,
                           result.Job.BlankDefinition, true, false, result.Settings.RapidRate);
    if (notes.EndsWithLineBreak)
        err << "korvex-cli: warning: " << readback::LineBreakWarning << '\n';
    if (!notes.BlankWarning.empty())
        err << "korvex-cli: warning: " << base::Windows1252ToUtf8(notes.BlankWarning) << '\n';
    for (const std::string& warning : notes.RoundWarnings)
        err << "korvex-cli: warning: " << base::Windows1252ToUtf8(warning) << '\n';
    if (!notes.DotsWarning.empty())
        err << "korvex-cli: warning: " << base::Windows1252ToUtf8(notes.DotsWarning) << '\n';

    simulation::TMathImage grafik(options.width, options.height);
    applyView(grafik, result.Job, options.preset);
    simulation::SvgCanvas canvas(options.width, options.height, base::Windows1252ToUtf8);
    grafik.SetFont({"Arial", 9, 0x000000}); // 12 pixels high, in the window-text colour
    grafik.SetCanvas(&canvas);
    simulation::SimulationView view(grafik);
    const config::TSettings& settings = result.Settings;
    view.colors = {settings.Background, settings.Axes, settings.Feed, settings.Rapid,
                   settings.Blank};
    view.showAxes = settings.ShowAxes;
    view.showRapidMoves = settings.ShowRapidMoves;
    const simulation::DrawPassResult pass =
        view.Drawsimulation(result.SimulationLines, result.Job.BlankDefinition, false);

    if (const int status =
            WriteCommandOutput(canvas.document(), options.value("-o"), request.JobFile, out, err);
        status != ExitOk)
        return status;
    // The window ends such a pass quietly; a batch must not call a partial picture a success.
    if (pass.stoppedByError) {
        err << "korvex-cli view: the drawing stopped after " << pass.linesEvaluated << " of "
            << result.SimulationLines.size() << " simulation lines\n";
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace korvex::cli

#include "base/AtomicFile.h"
#include "base/TextLines.h"
#include "base/TextNumbers.h"
#include "base/Windows1252.h"
#include "cli/Commands.h"
#include "cli/GeneratePipeline.h"
#include "cli/OptionParser.h"
#include "config/ConfigError.h"
#include "config/ConfigFolder.h"
#include "config/SettingsFile.h"
#include "ncgen/Coupon.h"
#include "base/DecimalText.h"
#include "ncgen/NumberReading.h"
#include "ncgen/ProfileSelection.h"
#ifdef KORVEX_VERIFY
#include "verify/CouponPhoto.h"
#endif

#include <ostream>

namespace korvex::cli {

namespace {

constexpr const char* COUPON_USAGE =
    "usage: korvex-cli coupon [--config DIR] [--profile N|NAME] [--tool TOOL] [--pitch P]\n"
    "                         [-o OUT]\n"
    "       korvex-cli coupon [--config DIR] [--profile N|NAME] [--tool TOOL]\n"
    "                         --measured DEPTH:DIAMETER [--save]\n"
    "       korvex-cli coupon [--config DIR] [--profile N|NAME] [--tool TOOL] [--pitch P]\n"
    "                         --photo PHOTO [--save]\n";

constexpr const char* COUPON_HELP =
    "Writes a calibration coupon with the profile's templates: a row of single dots along X\n"
    "from X0 Y0, 0.02 mm deeper each, around the depth the tool model gives an 80 % dot of\n"
    "the dot spacing, as many as reach from 60 % to 105 % (0.01 or 0.005 mm apart where 0.02\n"
    "cannot), and an index dot one spacing in +Y beside the first, so a photo tells the ends\n"
    "apart. Standard error lists each dot's depth and the diameter expected there; measure the\n"
    "real ones on the part or give a photo of it with --photo PHOTO.\n"
    "\n"
    "  --config, --profile, -o as for korvex-cli generate\n"
    "  --tool TOOL             none, cone:ANGLE[:TIP] or ball:RADIUS instead of the profile's\n"
    "  --pitch P               the dot spacing to aim at (mm); default: the settings' one\n"
    "  --measured DEPTH:DIAMETER\n"
    "                          a dot measured on the coupon: prints the tool that makes it (a\n"
    "                          cone's effective angle, a ball's effective radius); no program\n"
    "  --photo PHOTO           a photo of the coupon from above (PNG, JPEG, TIFF, BMP), with\n"
    "                          the --tool and --pitch it was made with: measures every dot and\n"
    "                          fits the tool to all of them (least squares), with the depth\n"
    "                          for an 80 % dot; no program\n"
    "  --save                  with --measured or --photo, store that tool in the profile's file\n"
    "Exit status: 0 done, 1 failed, 2 bad arguments.\n";

struct TCouponArgs {
    TGenerateOptions Options;
    std::optional<std::string> Output, Pitch, Measured, Photo;
    bool Save = false;
    bool Help = false;
};

std::string parse(const std::vector<std::string>& args, TCouponArgs& parsed) {
    static const TOptionRules rules{
        {"--save", "--help", "-h"},
        {"--config", "--profile", "--tool", "--pitch", "--measured", "--photo", "-o"},
        false,
        false,
        false};
    TParsedArgs read;
    if (const auto problem = ParseArguments(args, rules, read)) return problem->Text();
    parsed.Options.Config = read.Value("--config");
    parsed.Options.Profile = read.Value("--profile");
    parsed.Options.Tool = read.Value("--tool");
    parsed.Pitch = read.Value("--pitch");
    parsed.Measured = read.Value("--measured");
    parsed.Photo = read.Value("--photo");
    parsed.Output = read.Value("-o");
    parsed.Save = read.Has("--save");
    parsed.Help = read.Has("--help") || read.Has("-h");
    if (parsed.Save && !parsed.Measured && !parsed.Photo)
        return "--save needs --measured or --photo";
    if (parsed.Measured && parsed.Photo) return "--measured and --photo are two ways of one thing";
    if (parsed.Photo && parsed.Output) return "--photo writes no program: -o does not apply";
    if (parsed.Measured && (parsed.Output || parsed.Pitch))
        return "--measured writes no program: -o and --pitch do not apply";
    return {};
}

bool positive(std::string_view text, long double& value) {
    const ncgen::TNumberReading reading = ncgen::ReadNumber(text);
    value = reading.value;
    return reading.ok && reading.value > 0;
}

std::string toolOption(const ncgen::TTool& tool) {
    switch (tool.Kind) {
    case ncgen::TToolKind::None:
        break;
    case ncgen::TToolKind::Cone:
        return "cone:" + base::GeneralText(tool.Angle, 6) + ":" + base::GeneralText(tool.Tip, 6);
    case ncgen::TToolKind::Ball:
        return "ball:" + base::GeneralText(tool.Radius, 6);
    }
    return "none";
}

int saveTool(const job::TSession& session, int number, const ncgen::TTool& tool,
             std::ostream& err) {
    ncgen::TOutputProfile stored = session.Profiles[static_cast<std::size_t>(number - 1)];
    stored.Tool = ncgen::ToolTexts(tool);
    try {
        config::SaveProfile(session.ConfigFolder, number, stored);
    } catch (const std::exception& e) {
        err << base::Windows1252ToUtf8(e.what()) << '\n';
        return ExitFailure;
    }
    err << "korvex-cli: saved in profile " << number << '\n';
    return ExitOk;
}

// Every dot of the photo against what the profile's tool expected, then the tool that fits.
// With a profile number, the fitted tool is stored there.
int calibrate(const job::TSession& session, const ncgen::TCoupon& coupon, const ncgen::TTool& tool,
              long double pitch, const std::string& photo, int saveIn, std::ostream& out,
              std::ostream& err) {
#ifdef KORVEX_VERIFY
    const verify::TCouponCalibration c =
        verify::CalibrateFromPhoto(Utf8Path(photo), coupon, tool.Kind, pitch);
    if (!c.Problem.Empty()) {
        err << "korvex-cli coupon: " << base::Windows1252ToUtf8(session.Texts.Message(c.Problem))
            << '\n';
        return ExitFailure;
    }
    for (std::size_t i = 0; i < coupon.Depths.size(); ++i)
        out << "dot " << i + 1 << ": depth " << base::FixedText(coupon.Depths[i], 3)
            << " mm, measured " << base::FixedText(c.Photo.Diameters[i], 3) << " mm, expected "
            << base::FixedText(coupon.Diameters[i], 3) << " mm\n";
    out << base::Windows1252ToUtf8(ncgen::DescribeTool(c.Fit.Tool)) << " (--tool "
        << toolOption(c.Fit.Tool) << "), residual " << base::FixedText(c.Fit.Residual, 4)
        << " mm over " << coupon.Depths.size() << " dots\n";
    if (c.Fit.IdealDepth)
        out << "80 % of " << base::GeneralText(pitch, 6) << " mm at depth "
            << base::FixedText(*c.Fit.IdealDepth, 3) << " mm\n";
    return saveIn > 0 ? saveTool(session, saveIn, c.Fit.Tool, err) : ExitOk;
#else
    (void)coupon, (void)tool, (void)pitch, (void)photo, (void)saveIn, (void)out;
    err << "korvex-cli coupon: "
        << base::Windows1252ToUtf8(session.Texts.Message({text::CouponPhotoNotBuilt})) << '\n';
    return ExitFailure;
#endif
}

// --measured DEPTH:DIAMETER: the tool that makes that dot, saved on request.
int correctFromDot(const job::TSession& session, const ncgen::TTool& tool, int number,
                   const TCouponArgs& parsed, std::ostream& out, std::ostream& err) {
    const std::string& m = *parsed.Measured;
    const auto colon = m.find(':');
    long double depth = 0, diameter = 0;
    if (colon == m.npos || !positive(std::string_view(m).substr(0, colon), depth) ||
        !positive(std::string_view(m).substr(colon + 1), diameter)) {
        err << "korvex-cli coupon: --measured takes DEPTH:DIAMETER in mm, both above 0\n";
        return ExitUsage;
    }
    const ncgen::TToolReading corrected = ncgen::CorrectTool(tool, depth, diameter);
    if (!corrected.Problem.Empty()) {
        err << "korvex-cli coupon: "
            << base::Windows1252ToUtf8(session.Texts.Message(corrected.Problem)) << '\n';
        return ExitFailure;
    }
    out << base::Windows1252ToUtf8(ncgen::DescribeTool(corrected.Tool)) << " (--tool "
        << toolOption(corrected.Tool) << ")\n";
    return parsed.Save ? saveTool(session, number, corrected.Tool, err) : ExitOk;
}

// Lists the coupon's dots on standard error and writes its program to -o or standard output.
int writeCoupon(const ncgen::TCoupon& coupon, const ncgen::TTool& tool,
                const std::optional<std::string>& output, std::ostream& out, std::ostream& err) {
    err << "korvex-cli: coupon for " << base::Windows1252ToUtf8(ncgen::DescribeTool(tool))
        << ", dots " << base::GeneralText(coupon.Spacing, 6) << " mm apart along X:\n";
    for (std::size_t i = 0; i < coupon.Depths.size(); ++i)
        err << "korvex-cli:   dot " << i + 1 << ": depth " << base::FixedText(coupon.Depths[i], 3)
            << " mm, expected diameter " << base::FixedText(coupon.Diameters[i], 3) << " mm\n";
    err << "korvex-cli:   index dot beside dot 1, at Y+" << base::GeneralText(coupon.Spacing, 6)
        << ": depth " << base::FixedText(coupon.IndexDepth, 3) << " mm\n";
    const std::string bytes = base::JoinLines(coupon.NCLines);
    if (!output) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        return out ? ExitOk : ExitFailure;
    }
    const std::filesystem::path file = Utf8Path(*output);
    if (!base::WriteFileAtomically(file, bytes)) {
        err << base::Windows1252ToUtf8(config::CannotCreateText(file)) << '\n';
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace

int RunCoupon(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TCouponArgs parsed;
    if (const std::string problem = parse(args, parsed); !problem.empty()) {
        err << "korvex-cli coupon: " << problem << '\n' << COUPON_USAGE;
        return ExitUsage;
    }
    if (parsed.Help) {
        out << COUPON_USAGE << '\n' << COUPON_HELP;
        return ExitOk;
    }
    job::TJobOptions options;
    job::TSession session;
    if (const auto status = OpenCommandSession(parsed.Options, options, session, err))
        return *status;
    const std::string choice = options.Profile.value_or(job::DefaultProfileChoice(session));
    const auto selection = job::ChooseProfile(session, choice);
    if (!selection) {
        err << "korvex-cli coupon: no profile is named " << base::Windows1252ToUtf8(choice) << '\n';
        return ExitUsage;
    }
    ncgen::TActiveProfile profile = selection->Profile;
    if (options.Tool) profile.Tool = *options.Tool;
    if (!options.Tool && !profile.ToolProblem.Empty()) {
        err << "korvex-cli coupon: "
            << base::Windows1252ToUtf8(session.Texts.Format(
                   text::ProfileToolUnusable, session.Texts.Message(profile.ToolProblem)))
            << '\n';
        return ExitFailure;
    }
    if (profile.Tool.Kind == ncgen::TToolKind::None) {
        err << "korvex-cli coupon: the profile has no tool; give one with --tool\n";
        return ExitUsage;
    }
    if (parsed.Measured)
        return correctFromDot(session, profile.Tool, selection->Number, parsed, out, err);

    long double pitch = 0;
    const std::string pitchText = parsed.Pitch.value_or(session.Settings.DotSpacing);
    if (!positive(pitchText, pitch)) {
        err << "korvex-cli coupon: the dot spacing \"" << pitchText << "\" is no length above 0\n";
        return parsed.Pitch ? ExitUsage : ExitFailure;
    }
    const auto coupon = ncgen::MakeCoupon(profile, profile.Tool, pitch);
    if (!coupon) {
        err << "korvex-cli coupon: " << base::Windows1252ToUtf8(ncgen::DescribeTool(profile.Tool))
            << " cannot make a dot of 80 % of " << pitchText << " mm\n";
        return ExitFailure;
    }
    if (parsed.Photo)
        return calibrate(session, *coupon, profile.Tool, pitch, *parsed.Photo,
                         parsed.Save ? selection->Number : 0, out, err);
    return writeCoupon(*coupon, profile.Tool, parsed.Output, out, err);
}

} // namespace korvex::cli

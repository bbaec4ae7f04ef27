#include "cli/Commands.h"

#include "cli/EncodeOutput.h"
#include "cli/GeneratePipeline.h"
#include "cli/OptionParser.h"
#include "config/LanguageTexts.h"
#include "content/SymbolContent.h"
#include "base/Windows1252.h"
#include "datamatrix/ERangeError.h"
#include "datamatrix/TDatamatrix.h"
#include "ncgen/NumberReading.h"
#include "ncgen/SymbolAdvice.h"

#include <optional>
#include <ostream>
#include <string_view>

namespace korvex::cli {

namespace {

const std::string ENCODE_USAGE =
    "usage: korvex-cli encode [--size AUTO|C10X10|...|C16X48|C8X48|...|C26X64]\n"
    "                         [--encoding ASCII|C40|TEXT|BINARY|NONE|AUTO]\n"
    "                         [--format matrix|codewords|svg|pbm]\n"
    "                         [--content " +
    content::ContentOptionList("|", "|") +
    "]\n"
    "                         [--advise DIAMETER [--spacing MM]] TEXT\n";

constexpr const char* ENCODE_HELP =
    "Encodes TEXT (UTF-8, characters of Windows-1252 only) as a DataMatrix ECC 200 symbol and\n"
    "prints its modules (matrix: one line per row, 1 dark), its codewords, or a picture.\n"
    "--content gs1 takes \"(01)09506000134352(17)261231\"; ISO/IEC 15434 one data element per\n"
    "line. Content that its kind refuses is not encoded (exit status 1).\n"
    "--advise prints instead which symbol fits a shaft of DIAMETER mm at the dot spacing\n"
    "(default 0.5): within 16 % of the diameter across the axis, else a smaller spacing or\n"
    "the rotary axis.\n"
    "Exit status: 0 done, 1 the text fits no symbol, 2 bad arguments.\n";

struct EncodeOptions {
    datamatrix::TFormat size = datamatrix::AUTO;
    datamatrix::TEncoding encoding = datamatrix::E_ASCII;
    EncodeFormat format = EncodeFormat::Matrix;
    content::TContentKind content = content::TContentKind::Text;
    std::vector<std::string> texts;
    std::optional<long double> advise; // the shaft's diameter
    long double spacing = 0.5L;
    bool help = false;
};

int usageError(std::ostream& err, const std::string& message) {
    err << "korvex-cli encode: " << message << '\n' << ENCODE_USAGE;
    return ExitUsage;
}

// Applies one option's value; false when the value is not one of the listed names.
bool applyOption(std::string_view name, std::string_view value, EncodeOptions& options) {
    if (name == "--size") {
        const auto size = datamatrix::FormatFromName(value);
        if (size) options.size = *size;
        return size.has_value();
    }
    if (name == "--encoding") {
        const auto encoding = datamatrix::EncodingFromName(value);
        if (encoding) options.encoding = *encoding;
        return encoding.has_value();
    }
    if (name == "--content") {
        const auto kind = content::ContentKindFromName(value);
        if (kind) options.content = *kind;
        return kind.has_value();
    }
    if (name == "--advise" || name == "--spacing") {
        const ncgen::TNumberReading number = ncgen::ReadNumber(value);
        if (!number.ok || number.value <= 0) return false;
        if (name == "--advise")
            options.advise = number.value;
        else
            options.spacing = number.value;
        return true;
    }
    const auto format = EncodeFormatFromName(value);
    if (format) options.format = *format;
    return format.has_value();
}

// Returns an empty string on success, else the complaint.
std::string parse(const std::vector<std::string>& args, EncodeOptions& options) {
    static const TOptionRules rules{
        {"--help", "-h"},
        {"--size", "--encoding", "--format", "--content", "--advise", "--spacing"}};
    TParsedArgs parsed;
    if (const auto problem = ParseArguments(args, rules, parsed))
        return problem->Kind == TArgumentProblem::NeedsValue
                   ? "option '" + problem->Argument + "' needs a value"
                   : problem->Text();
    for (const auto& [name, value] : parsed.Values)
        if (!applyOption(name, value, options)) return "'" + value + "' is not a value of " + name;
    options.help = parsed.Has("--help") || parsed.Has("-h");
    options.texts = std::move(parsed.Positionals);
    if (options.help) return {};
    if (options.texts.empty()) return "TEXT is missing";
    if (options.texts.size() > 1) return "only one TEXT is allowed (quote it if it has blanks)";
    if (options.texts.front().empty()) return "TEXT is empty";
    return {};
}

int printAdvice(const datamatrix::TDatamatrix& dm, const EncodeOptions& options,
                std::ostream& out) {
    const ncgen::TSymbolAdvice advice = ncgen::AdviseSymbol(dm, *options.advise, options.spacing);
    config::TLanguageTexts texts;
    texts.Load(DefaultDataFolder() / "english.txt");
    const std::vector<std::string_view> values(advice.Reason.Args.begin(),
                                               advice.Reason.Args.end());
    out << base::Windows1252ToUtf8(config::FormatText(texts.Text(advice.Reason.Text), values))
        << '\n';
    return out ? ExitOk : ExitFailure;
}

} // namespace

int RunEncode(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    EncodeOptions options;
    const std::string complaint = parse(args, options);
    if (!complaint.empty()) return usageError(err, complaint);
    if (options.help) {
        out << ENCODE_USAGE << '\n' << ENCODE_HELP;
        return ExitOk;
    }

    const auto converted = base::Utf8ToWindows1252(options.texts.front());
    if (!converted.ok)
        return usageError(err, "the character '" + converted.offending +
                                   "' has no code in Windows-1252");

    const content::TSymbolContent symbolContent =
        content::PrepareContent(options.content, converted.text);
    const auto refuse = [&err](const base::TTextMessage& refusal) {
        config::TLanguageTexts texts;
        texts.Load(DefaultDataFolder() / "english.txt");
        err << base::Windows1252ToUtf8(texts.Message(refusal)) << '\n';
        return ExitFailure;
    };
    if (!symbolContent.Ok()) return refuse(symbolContent.Refusal);
    datamatrix::TDatamatrix dm;
    content::ApplyContent(symbolContent, dm);
    dm.Encoding = options.encoding;
    dm.PreferredFormat = options.size;
    dm.rebuild = true;
    try {
        dm.paintBarcode(nullptr);
    } catch (const datamatrix::ERangeError& e) {
        if (const base::TTextMessage tooLong = content::TooLongForAnySymbol(options.content);
            !tooLong.Empty())
            return refuse(tooLong);
        err << base::Windows1252ToUtf8(e.what()) << '\n';
        return ExitFailure;
    }
    if (options.advise) return printAdvice(dm, options, out);
    out << FormatSymbol(dm, options.format);
    out.flush();
    return out ? ExitOk : ExitFailure;
}

} // namespace korvex::cli

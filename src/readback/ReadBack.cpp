#include "readback/ReadBack.h"

#include "base/Windows1252.h"
#include "content/SymbolContent.h"
#include "ncgen/NumberReading.h"
#include "ncgen/PointTemplate.h"
#include "readback/ModuleGrid.h"

#include <ZXing/BarcodeFormat.h>
#include <ZXing/Content.h>
#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/ReadBarcode.h>
#include <ZXing/Result.h>

#include <cmath>
#include <cstdint>
#include <optional>

namespace korvex::readback {

namespace {

// Whether the lines a template writes for a point carry that point's X and Y at all; a
// template without them moves the tool elsewhere or not at all, and the dot is not marked.
bool TemplateMarksPoint(const ncgen::TTemplate& lines, const ncgen::TActiveProfile& profile) {
    const std::string x = "\x01X\x01";
    const std::string y = "\x01Y\x01";
    const ncgen::TPointValues values{x,         y,         "Z",      "R", profile.FeedZ,
                                     profile.X, profile.Y, profile.Z};
    std::vector<std::string> written;
    std::int32_t counter = 0;
    for (const std::string& line : lines)
        if (!line.empty()) ncgen::WriteTemplateLine(line, values, profile, counter, written);
    bool hasX = false, hasY = false;
    for (const std::string& line : written) {
        hasX = hasX || line.find(x) != std::string::npos;
        hasY = hasY || line.find(y) != std::string::npos;
    }
    return hasX && hasY;
}

// The value the program writes: FormatNumber rounds half away from zero to its decimals.
long double AsWritten(long double value, int decimals) {
    const long double scale = std::pow(10.0L, decimals);
    return std::round(value * scale) / scale;
}

struct TMarks {
    std::vector<TViewPoint> Points;
    TReadBackProblem Problem;
};

TMarks MarkedPoints(const std::vector<std::string>& simulationLines,
                    const ncgen::TActiveProfile& profile) {
    TMarks marks;
    const bool lathe = profile.Y == "Z" && profile.J == "K";
    const bool firstMarked = TemplateMarksPoint(profile.FirstPoint, profile);
    const bool followingMarked = TemplateMarksPoint(profile.FollowingPoints, profile);
    const int decimals = profile.Format.Nachkommastellen;
    int dropped = 0;
    bool first = true;
    for (const std::string& line : simulationLines) {
        if (!line.starts_with("XY;")) continue;
        const std::string_view rest = std::string_view(line).substr(3);
        const auto split = rest.find(';');
        const auto x = ncgen::ReadNumber(rest.substr(0, split));
        const auto y = ncgen::ReadNumber(split == rest.npos ? "" : rest.substr(split + 1));
        if (!x.ok || !y.ok) {
            marks.Problem = {TProblem::BadLine, {line}};
            return marks;
        }
        const bool marked = first ? firstMarked : followingMarked;
        first = false;
        if (!marked) {
            ++dropped;
            continue;
        }
        // In lathe mode the program's X is turned round so that, seen from +Y, the symbol
        // reads the right way; undo it to look from there.
        const long double u = AsWritten(x.value, decimals);
        marks.Points.push_back({lathe ? -u : u, AsWritten(y.value, decimals)});
    }
    if (dropped > 0 && !firstMarked)
        marks.Problem = {TProblem::FirstNotMarked, {}};
    else if (dropped > 0)
        marks.Problem = {TProblem::FollowingNotMarked, {std::to_string(dropped)}};
    return marks;
}

std::optional<ZXing::Result> Decode(const TModuleGrid& grid) {
    // Two modules of quiet zone: ISO/IEC 16022 asks for one, a reader likes more.
    constexpr int quiet = 2;
    constexpr int scale = 3;
    const int width = (grid.Cols + 2 * quiet) * scale;
    const int height = (grid.Rows + 2 * quiet) * scale;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height, 255);
    for (int row = 0; row < grid.Rows; ++row)
        for (int col = 0; col < grid.Cols; ++col)
            if (grid.At(col, row))
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx)
                        pixels[static_cast<std::size_t>((row + quiet) * scale + dy) * width +
                               (col + quiet) * scale + dx] = 0;
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    hints.setIsPure(true);
    ZXing::Result result =
        ZXing::ReadBarcode({pixels.data(), width, height, ZXing::ImageFormat::Lum}, hints);
    if (!result.isValid()) return std::nullopt;
    return result;
}

std::string readerTypeName(content::TReaderContentType type) {
    switch (type) {
    case content::TReaderContentType::Text:
        break;
    case content::TReaderContentType::Gs1:
        return "GS1";
    case content::TReaderContentType::Iso15434:
        return "ISO15434";
    }
    return "Text";
}

// zxing-cpp's content types in the three kinds Korvex writes; binary and mixed content are text
// to a system that reads the bytes.
std::string readTypeName(ZXing::ContentType type) {
    if (type == ZXing::ContentType::GS1) return "GS1";
    if (type == ZXing::ContentType::ISO15434) return "ISO15434";
    return "Text";
}

// Why the read symbol is not what the content meant although its bytes are; None when it is.
TContentMismatch compareContent(const ZXing::Result& read, const content::TSymbolContent& expected,
                                std::vector<std::string>& values) {
    const std::string identifier = read.symbologyIdentifier();
    const bool wantsFnc1 = expected.SymbologyIdentifier == "]d2";
    const bool hasFnc1 = identifier == "]d2" || identifier == "]d5";
    if (wantsFnc1 && !hasFnc1 && !identifier.empty()) {
        if (identifier == "]d1") return TContentMismatch::GsForFnc1;
        values = {identifier, expected.SymbologyIdentifier};
        return TContentMismatch::Identifier;
    }
    if (!wantsFnc1 && hasFnc1) {
        values = {identifier, expected.SymbologyIdentifier};
        return TContentMismatch::Identifier;
    }
    const std::string type = readTypeName(read.contentType());
    const std::string want = readerTypeName(expected.ReaderType);
    if (expected.ReaderType != content::TReaderContentType::Text && type != want) {
        values = {type, want};
        return TContentMismatch::ContentType;
    }
    if (expected.Eci && read.text() != base::Windows1252ToUtf8(expected.ReaderBytes))
        return TContentMismatch::NoEci;
    return TContentMismatch::None;
}

} // namespace

std::string MismatchText(TContentMismatch mismatch, const std::vector<std::string>& values) {
    const auto value = [&values](std::size_t i) { return i < values.size() ? values[i] : ""; };
    switch (mismatch) {
    case TContentMismatch::None:
        break;
    case TContentMismatch::Identifier:
        return "symbology identifier " + value(0) + " instead of " + value(1);
    case TContentMismatch::GsForFnc1:
        return "identifier ]d1 instead of ]d2: GS written instead of FNC1";
    case TContentMismatch::ContentType:
        return "content type " + value(0) + " instead of " + value(1);
    case TContentMismatch::NoEci:
        return "read without ECI: the characters 0x80-0x9F come out as control characters";
    }
    return {};
}

std::string_view VerdictText(TReadBackVerdict verdict) {
    switch (verdict) {
    case TReadBackVerdict::ReadsAsText:
        return "reads as the text";
    case TReadBackVerdict::ReadsMirrored:
        return "reads as the text only mirrored";
    case TReadBackVerdict::DoesNotRead:
        break;
    case TReadBackVerdict::ReadsAsOther:
        return "reads as something else";
    }
    return "does not read";
}

bool ReadsAsIntended(const TReadBackResult& result) {
    return result.Verdict == TReadBackVerdict::ReadsAsText ||
           (result.Verdict == TReadBackVerdict::ReadsMirrored && result.MirrorAsked);
}

std::string Describe(const TReadBackResult& result) {
    std::string text(VerdictText(result.Verdict));
    if (result.Verdict == TReadBackVerdict::ReadsMirrored)
        text += result.MirrorAsked ? " (as one mirror asks)" : " (no mirror was asked for)";
    if (result.Verdict == TReadBackVerdict::ReadsAsOther &&
        result.Mismatch == TContentMismatch::None)
        text += ": \"" + result.Decoded + "\"";
    if (result.Mismatch != TContentMismatch::None)
        text += ": " + MismatchText(result.Mismatch, result.MismatchValues);
    if (!result.Detail.empty()) text += ": " + result.Detail;
    return text;
}

TReadBackResult CheckReadBack(const std::vector<std::string>& simulationLines,
                              const ncgen::TLayer& layer, const ncgen::TActiveProfile& profile,
                              std::string_view text) {
    TReadBackResult result;
    const content::TSymbolContent expected = content::PrepareContent(layer.Content, text);
    result.MirrorAsked = layer.XMirror != layer.YMirror;
    const TMarks marks = MarkedPoints(simulationLines, profile);
    if (!marks.Problem.Empty()) {
        result.Problem = marks.Problem;
        result.Detail = ProblemText(result.Problem);
        return result;
    }
    const TGridBuild build = BuildModuleGrid(marks.Points, ncgen::ReadNumber(layer.Size).value,
                                             ncgen::ReadNumber(layer.Angle).value);
    if (!build.Ok) {
        result.Problem = build.Problem;
        result.Detail = ProblemText(result.Problem);
        return result;
    }
    // A clean picture hides what a worn mark and a real scanner would not forgive: the finder
    // and clock patterns are what a reader finds the symbol by, so they must be whole.
    int fewestMismatches = -1;
    for (int way = 0; way < 8; ++way) {
        const TModuleGrid grid = Transformed(build.Grid, way);
        const datamatrix::TSizeInfo* size = SizeOfGrid(grid.Cols, grid.Rows);
        if (!size) continue;
        const int mismatches = FrameMismatches(grid, *size);
        if (fewestMismatches < 0 || mismatches < fewestMismatches) fewestMismatches = mismatches;
        if (mismatches != 0) continue;
        const auto decoded = Decode(grid);
        if (!decoded) continue;
        const auto& bytes = decoded->bytes();
        result.Decoded.assign(bytes.begin(), bytes.end());
        const bool mirrored = (way >= 4) != decoded->isMirrored();
        result.SymbologyIdentifier = decoded->symbologyIdentifier();
        if (result.Decoded == expected.ReaderBytes && expected.Ok())
            result.Mismatch = compareContent(*decoded, expected, result.MismatchValues);
        if (result.Decoded != expected.ReaderBytes || !expected.Ok() ||
            result.Mismatch != TContentMismatch::None)
            result.Verdict = TReadBackVerdict::ReadsAsOther;
        else
            result.Verdict =
                mirrored ? TReadBackVerdict::ReadsMirrored : TReadBackVerdict::ReadsAsText;
        return result;
    }
    if (fewestMismatches < 0)
        result.Problem = {TProblem::NoSize,
                          {std::to_string(build.Grid.Cols), std::to_string(build.Grid.Rows)}};
    else if (fewestMismatches > 0)
        result.Problem = {TProblem::FrameWrong, {std::to_string(fewestMismatches)}};
    else
        result.Problem = {TProblem::DoesNotDecode, {}};
    result.Detail = ProblemText(result.Problem);
    return result;
}

} // namespace korvex::readback

#include "readback/ReadBack.h"

#include "base/Cylinder.h"
#include "base/Windows1252.h"
#include "content/SymbolContent.h"
#include "base/DecimalText.h"
#include "ncgen/DotGeometry.h"
#include "ncgen/HrtLine.h"
#include "ncgen/NumberReading.h"
#include "ncgen/PointTemplate.h"
#include "ncgen/SimulationLine.h"
#include "readback/DotPicture.h"
#include "readback/ModuleGrid.h"

#if KORVEX_READBACK
#include <ZXing/BarcodeFormat.h>
#include <ZXing/Content.h>
#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/ReadBarcode.h>
#include <ZXing/Result.h>
#endif

#include <cmath>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace korvex::readback {

#if KORVEX_READBACK
namespace {

// Whether the lines a template writes for a point carry the values that place it at all
// (X and Y; on a rotary axis the one along the axis and the angle); a template without them
// moves the tool elsewhere or not at all, and the dot is not marked.
bool TemplateMarksPoint(const ncgen::TTemplate& lines, const ncgen::TActiveProfile& profile,
                        char rotaryAlong) {
    const std::string x = "\x01X\x01";
    const std::string y = "\x01Y\x01";
    const std::string a = "\x01A\x01";
    const ncgen::TPointValues values{x,         y,         "Z",       "R", profile.FeedZ,
                                     profile.X, profile.Y, profile.Z, a,   profile.A};
    std::vector<std::string> written;
    std::int32_t counter = 0;
    for (const std::string& line : lines)
        if (!line.empty()) ncgen::WriteTemplateLine(line, values, profile, counter, written);
    const auto writes = [&written](const std::string& marker) {
        for (const std::string& line : written)
            if (line.find(marker) != std::string::npos) return true;
        return false;
    };
    if (rotaryAlong == 'X') return writes(x) && writes(a);
    if (rotaryAlong == 'Y') return writes(y) && writes(a);
    return writes(x) && writes(y);
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
                    const ncgen::TActiveProfile& profile,
                    const std::optional<ncgen::TDotFigures>& dots) {
    TMarks marks;
    const bool lathe = profile.Y == "Z" && profile.J == "K";
    const std::optional<ncgen::TSurfaceLine> surface = ncgen::ReadSurfaceLine(simulationLines);
    const char rotaryAlong = surface && surface->Rotary ? surface->Cylinder.Along : 0;
    const bool firstMarked = TemplateMarksPoint(profile.FirstPoint, profile, rotaryAlong);
    const bool followingMarked = TemplateMarksPoint(profile.FollowingPoints, profile, rotaryAlong);
    long double depth = 0; // the height of the dot's bottom, from its "ZR" line
    // The generator's aim: a follow program moves each plunge downhill of its dot.
    const ncgen::TTool aim = ncgen::CheckedTool(profile);
    const int decimals = profile.Format.Nachkommastellen;
    int dropped = 0;
    bool first = true;
    std::size_t index = 0;
    for (const std::string& line : simulationLines) {
        // A reader decodes the symbol; the text beside it lies outside its quiet zone.
        if (line == ncgen::HrtSimulationMark) break;
        const ncgen::TSimulationLine read = ncgen::ReadSimulationLine(line);
        if (read.Kind == ncgen::TSimulationLine::Level) {
            depth = read.B;
            continue;
        }
        if (read.Kind != ncgen::TSimulationLine::Point) continue;
        const float fill = dots ? static_cast<float>(dots->Diameters[index] / dots->Pitch) : 1.0f;
        ++index;
        if (!read.Ok) {
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
        const long double u = AsWritten(read.A, decimals);
        TViewPoint point{lathe ? -u : u, AsWritten(read.B, decimals), fill};
        if (surface) {
            // A reader looks at the mark laid flat: arc length across, position along.
            const base::TCylinder& c = surface->Cylinder;
            long double& across = c.Along == 'X' ? point.V : point.U;
            across = c.Axis + ncgen::DotCentreArc(*surface, aim, across, depth);
        }
        marks.Points.push_back(point);
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

// About a fifth of a cell, as the closing of DPM readers; see DotPicture.
constexpr int ClosingRadius = 1;
constexpr float MarginCentreError = 0.10f;
constexpr unsigned MarginSeed = 20;

// The program's own dots as the reader sees them after its closing.
TDotPicture closedDots(const TModuleGrid& grid) {
    TDotPicture picture = RenderDots(grid);
    CloseDots(picture, ClosingRadius);
    return picture;
}

// `own` is the program's picture, `ownReads` whether it read as the text, `largestFill` its
// largest dot.
TDotMargin dotMargin(const TModuleGrid& grid, const TDotPicture& own, bool ownReads,
                     float largestFill, std::string_view text) {
    TDotMargin margin;
    const auto reads = [&](const TDotPicture& closed, TDotDecoder decoder) {
        const auto decoded = DecodeDots(closed, decoder);
        return decoded && decoded->Bytes == text;
    };
    // Fills 40-110 % in 5 % steps; a mark that reads at one fill reads at every larger one up
    // to merging, so halving the steps finds the smallest, and where the program's own dots
    // read, every step from their largest fill does. Every step has one fill for all dots, so
    // the dots are measured once and only shaded again.
    constexpr int Steps = 15;
    const auto fillOf = [](int step) { return 0.40f + 0.05f * step; };
    const TDotDistances distances = DotDistances(grid, fillOf(Steps - 1));
    TDotPicture picture;
    const auto readsAt = [&](int step) {
        RenderUniformDots(distances, fillOf(step), picture);
        CloseDots(picture, ClosingRadius);
        return reads(picture, TDotDecoder::ZXing);
    };
    int low = -1, high = Steps - 1;
    bool highReads = false;
    if (ownReads) {
        for (int step = 0; step < Steps && !highReads; ++step)
            if (fillOf(step) >= largestFill) {
                high = step;
                highReads = true;
            }
    }
    if (highReads || readsAt(high)) {
        while (high - low > 1) {
            const int mid = (low + high) / 2;
            (readsAt(mid) ? high : low) = mid;
        }
        margin.ReadsFrom = fillOf(high);
    }
    picture = RenderDots(grid, MarginCentreError, MarginSeed);
    CloseDots(picture, ClosingRadius);
    margin.ReadsWithCentreError = reads(picture, TDotDecoder::ZXing);
    if (DecoderReadsSize(TDotDecoder::Dmtx, grid.Cols, grid.Rows))
        margin.SecondOpinion = reads(own, TDotDecoder::Dmtx);
    return margin;
}

} // namespace
#endif

namespace {

std::string percentText(float fill) {
    return base::FixedText(fill * 100.0L, 0);
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

std::string DescribeMargin(const TDotMargin& margin) {
    std::string text = margin.ReadsFrom ? "reads from " + percentText(*margin.ReadsFrom) + " %"
                                        : std::string("reads at no fill of 40-110 %");
    text += ", with 10 % centre error: ";
    text += margin.ReadsWithCentreError ? "reads" : "does not read";
    if (margin.SecondOpinion) {
        text += ", libdmtx: ";
        text += *margin.SecondOpinion ? "reads" : "does not read";
    }
    return text;
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
    if (result.Dots && result.Dots->Margin) text += "; " + DescribeMargin(*result.Dots->Margin);
    return text;
}

#if KORVEX_READBACK
namespace {

// The grid laid down the way a scanner would see it, as round dots; the verdict, and why not
// where the dots are out of a reader's reach.
TReadBackResult& readDots(const TModuleGrid& grid, int way, std::string_view text,
                          const ncgen::TDotFigures& dots, bool margin, TReadBackResult& result) {
    const TDotPicture own = closedDots(grid);
    const auto decoded = DecodeDots(own, TDotDecoder::ZXing);
    if (decoded) {
        result.Decoded = decoded->Bytes;
        const bool mirrored = (way >= 4) != decoded->Mirrored;
        if (result.Decoded != text)
            result.Verdict = TReadBackVerdict::ReadsAsOther;
        else
            result.Verdict =
                mirrored ? TReadBackVerdict::ReadsMirrored : TReadBackVerdict::ReadsAsText;
    }
    // Out of 60-105 % a clean picture may still read, a worn or badly lit part will not.
    if (!dots.InWindow()) {
        result.Verdict = TReadBackVerdict::DoesNotRead;
        result.Decoded.clear();
    }
    if (dots.TooSmall > 0)
        result.Problem = {TProblem::DotsTooSmall, {percentText(result.Dots->SmallestFill)}};
    else if (dots.Merging > 0)
        result.Problem = {TProblem::DotsMerge, {percentText(result.Dots->LargestFill)}};
    else if (!decoded)
        result.Problem = {
            TProblem::DotsDoNotDecode,
            {percentText(result.Dots->SmallestFill), percentText(result.Dots->LargestFill)}};
    result.Detail = ProblemText(result.Problem);
    if (margin)
        result.Dots->Margin =
            dotMargin(grid, own, decoded && decoded->Bytes == text, result.Dots->LargestFill, text);
    return result;
}

} // namespace
#endif

TReadBackResult CheckReadBack(const std::vector<std::string>& simulationLines,
                              const ncgen::TLayer& layer, const ncgen::TActiveProfile& profile,
                              std::string_view text, bool margin) {
#if !KORVEX_READBACK
    // Callers ask ReadBackAvailable first; a "does not read" here would be a false verdict.
    static_cast<void>(simulationLines), static_cast<void>(layer), static_cast<void>(profile),
        static_cast<void>(text), static_cast<void>(margin);
    throw std::logic_error(std::string(ReadBackMissing));
#else
    TReadBackResult result;
    const content::TSymbolContent expected = content::PrepareContent(layer.Content, text);
    result.MirrorAsked = layer.XMirror != layer.YMirror;
    const long double pitch = ncgen::ReadNumber(layer.Size).value;
    const auto dots = ncgen::DotFigures(simulationLines, ncgen::CheckedTool(profile), pitch);
    if (dots)
        result.Dots = TDotCheck{static_cast<float>(dots->SmallestFill),
                                static_cast<float>(dots->LargestFill), std::nullopt};
    const TMarks marks = MarkedPoints(simulationLines, profile, dots);
    if (!marks.Problem.Empty()) {
        result.Problem = marks.Problem;
        result.Detail = ProblemText(result.Problem);
        return result;
    }
    const TGridBuild build =
        BuildModuleGrid(marks.Points, pitch, ncgen::ReadNumber(layer.Angle).value);
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
        // Round dots are compared by their bytes, as a reader returns them for the content.
        if (dots) {
            readDots(grid, way, expected.Ok() ? std::string_view(expected.ReaderBytes) : text,
                     *dots, margin, result);
            const bool reads = result.Verdict == TReadBackVerdict::ReadsAsText ||
                               result.Verdict == TReadBackVerdict::ReadsMirrored;
            // Identifier, content type and ECI are in the codewords, not in the dots' shape:
            // the square picture of the same modules says what a scanner reports.
            if (reads && expected.Ok())
                if (const auto square = Decode(grid)) {
                    result.SymbologyIdentifier = square->symbologyIdentifier();
                    result.ContentType = readTypeName(square->contentType());
                    result.Eci = square->hasECI();
                    result.Mismatch = compareContent(*square, expected, result.MismatchValues);
                    if (result.Mismatch != TContentMismatch::None)
                        result.Verdict = TReadBackVerdict::ReadsAsOther;
                }
            return result;
        }
        const auto decoded = Decode(grid);
        if (!decoded) continue;
        const auto& bytes = decoded->bytes();
        result.Decoded.assign(bytes.begin(), bytes.end());
        const bool mirrored = (way >= 4) != decoded->isMirrored();
        result.SymbologyIdentifier = decoded->symbologyIdentifier();
        result.ContentType = readTypeName(decoded->contentType());
        result.Eci = decoded->hasECI();
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
#endif
}

} // namespace korvex::readback

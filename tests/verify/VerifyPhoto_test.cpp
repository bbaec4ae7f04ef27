#include "verify/VerifyPhoto.h"

#include "grade/GradeFormat.h"

#include "support/PhotoRender.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <set>

namespace korvex::verify {
namespace {

using phototest::EncodePhoto;
using phototest::RenderPhoto;
using phototest::TPhotoScene;
using phototest::TRenderedPhoto;

struct TSceneCase {
    const char* Name;
    TPhotoScene Scene;
    const char* Format = ".png";
};

void PrintTo(const TSceneCase& c, std::ostream* os) {
    *os << c.Name;
}

TPhotoScene scene(double fill, double angle = 0, bool mirrored = false, double tilt = 0) {
    TPhotoScene s;
    s.Fill = fill;
    s.AngleDegrees = angle;
    s.Mirrored = mirrored;
    s.TiltDegrees = tilt;
    return s;
}

TVerifyReport verify(const TRenderedPhoto& photo, const char* format = ".png") {
    return VerifyPhotoBytes(EncodePhoto(photo, format));
}

std::set<std::pair<int, int>> darkOf(const phototest::TPhotoTruth& t) {
    std::set<std::pair<int, int>> out;
    for (int r = 0; r < t.Rows; ++r)
        for (int c = 0; c < t.Cols; ++c)
            if (t.Dark[static_cast<std::size_t>(r) * t.Cols + c]) out.emplace(c, r);
    return out;
}

// Each dot's size is measured on the decoder's grid, whichever way the photo shows the mark.
class MeasuredDotSize : public testing::TestWithParam<TSceneCase> {};

TEST_P(MeasuredDotSize, IsTheRenderedOneWithinFivePoints) {
    const TRenderedPhoto photo = RenderPhoto(GetParam().Scene);
    const TVerifyReport report = verify(photo, GetParam().Format);
    ASSERT_TRUE(report.Ok()) << ProblemWords(report.Problem);
    EXPECT_EQ(report.Bytes, photo.Truth.Bytes);
    EXPECT_NEAR(report.As9132.DotMean, 100 * GetParam().Scene.Fill, 5)
        << VerifyJson(report).substr(0, 900);
    EXPECT_NEAR(report.PixelsPerCell, GetParam().Scene.PixelsPerCell,
                0.1 * GetParam().Scene.PixelsPerCell);
}

INSTANTIATE_TEST_SUITE_P(Fills, MeasuredDotSize,
                         testing::Values(TSceneCase{"Fill60", scene(0.6)},
                                         TSceneCase{"Fill80", scene(0.8)},
                                         TSceneCase{"Fill100", scene(1.0)},
                                         TSceneCase{"Fill60Turned", scene(0.6, 21)},
                                         TSceneCase{"Fill100TurnedMirrored", scene(1.0, 118, true)},
                                         TSceneCase{"Fill100Turned", scene(1.0, 118)},
                                         TSceneCase{"Fill95TurnedMirrored", scene(0.95, 118, true)},
                                         TSceneCase{"Fill80Tilted", scene(0.8, 305, false, 10)},
                                         TSceneCase{"Fill80Jpeg", scene(0.8, 62), ".jpg"},
                                         TSceneCase{"Fill80Tiff", scene(0.8, 180), ".tif"},
                                         TSceneCase{"Fill80Bmp", scene(0.8, 90, true), ".bmp"}),
                         [](const auto& c) { return std::string(c.param.Name); });

// The decoder's grid lies on the symbol as the encoder made it: every dark module, and only
// those, is a dot of the report, at any angle, mirrored, tilted or on a shaft.
class FoundGrid : public testing::TestWithParam<TSceneCase> {};

TEST_P(FoundGrid, HoldsTheEncodersModules) {
    const TRenderedPhoto photo = RenderPhoto(GetParam().Scene);
    const TVerifyReport report = verify(photo);
    ASSERT_TRUE(report.Ok()) << ProblemWords(report.Problem);
    EXPECT_EQ(report.Bytes, photo.Truth.Bytes);
    EXPECT_EQ(report.Cols, photo.Truth.Cols);
    EXPECT_EQ(report.Rows, photo.Truth.Rows);
    EXPECT_EQ(report.Mirrored, GetParam().Scene.Mirrored);
    std::set<std::pair<int, int>> seen;
    for (const TVerifiedDot& d : report.Dots)
        seen.emplace(d.Col, d.Row);
    EXPECT_EQ(seen, darkOf(photo.Truth)) << VerifyJson(report).substr(0, 900);
    EXPECT_DOUBLE_EQ(report.Iso.UnusedErrorCorrection, 1);
    EXPECT_EQ(report.Iso.DamagedPatternModules, 0);
}

TPhotoScene larger(TPhotoScene s, const char* text, double ppc) {
    s.Text = text;
    s.PixelsPerCell = ppc;
    return s;
}

TPhotoScene regions(int format, double angle) {
    TPhotoScene s = larger(scene(0.8, angle), "FOUR REGIONS", 8);
    s.SizeFormat = format;
    return s;
}

TPhotoScene shaft(double radiusCells) {
    TPhotoScene s = scene(0.8, 0);
    s.CylinderRadiusCells = radiusCells;
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Views, FoundGrid,
    testing::Values(
        TSceneCase{"Square", scene(0.8)}, TSceneCase{"Turned7", scene(0.8, 7)},
        TSceneCase{"Turned45", scene(0.7, 45)}, TSceneCase{"Turned200", scene(0.9, 200)},
        TSceneCase{"Mirrored", scene(0.8, 0, true)},
        TSceneCase{"MirroredTurned290", scene(0.8, 290, true)},
        TSceneCase{"Turned70", scene(0.8, 70)}, TSceneCase{"Tilted10", scene(0.8, 15, false, 10)},
        TSceneCase{"MirroredTilted10", scene(0.8, 160, true, 10)}, TSceneCase{"Shaft", shaft(14)},
        TSceneCase{"Larger", larger(scene(0.8, 33), "SN 4711-0815 / 2026-12-10 / KORVEX", 9)},
        TSceneCase{"FourRegions40", regions(12, 131)},
        TSceneCase{"Rectangle12x26", regions(27, 12)},
        TSceneCase{"TwoRegions8x32", regions(26, 250)}),
    [](const auto& c) { return std::string(c.param.Name); });

// AS9132 asks where the dots stand: the moved ones stand out, the others do not.
TEST(VerifyPhoto, FindsTheMovedDots) {
    TPhotoScene s = scene(0.75, 24);
    s.Text = "MOVED DOTS 0123456789";
    s.MovedShare = 0.05;
    const TRenderedPhoto photo = RenderPhoto(s);
    ASSERT_GE(photo.Truth.Moved.size(), 3u);
    const TVerifyReport report = verify(photo);
    ASSERT_TRUE(report.Ok()) << ProblemWords(report.Problem);
    std::set<std::pair<int, int>> off;
    for (const TVerifiedDot& d : report.Dots)
        if (d.Found && d.Offset > 0.15) off.emplace(d.Col, d.Row);
    const std::set<std::pair<int, int>> moved(photo.Truth.Moved.begin(), photo.Truth.Moved.end());
    EXPECT_EQ(off, moved);
    EXPECT_NEAR(report.As9132.CentreOffsetMax, 25, 5);
}

// A shaft makes the dots oval across its axis as the camera sees them.
TEST(VerifyPhoto, MeasuresTheOvalityOfDotsOnAShaft) {
    const TRenderedPhoto flat = RenderPhoto(scene(0.8, 0));
    const TRenderedPhoto round = RenderPhoto(shaft(12));
    ASSERT_GT(round.Truth.WorstOvality, 0.1);
    const TVerifyReport onFlat = verify(flat), onShaft = verify(round);
    ASSERT_TRUE(onFlat.Ok() && onShaft.Ok());
    EXPECT_LT(onFlat.As9132.OvalityMax, 8);
    EXPECT_NEAR(onShaft.As9132.OvalityMax, 100 * round.Truth.WorstOvality, 5);
}

// The report says what the symbol carries and that the grades are only indicative.
TEST(VerifyPhoto, ReportsContentAndTheNotCalibratedNote) {
    const TRenderedPhoto photo = RenderPhoto(scene(0.8));
    const std::string json = VerifyJson(verify(photo));
    EXPECT_NE(json.find("\"calibrated\":false"), std::string::npos);
    EXPECT_NE(
        json.find(
            "\"text\":\"KORVEX 4711\",\"symbology_identifier\":\"]d1\",\"content_kind\":\"TEXT\""),
        std::string::npos)
        << json.substr(0, 300);
}

// Photos that give no report say why.
struct TRefusalCase {
    const char* Name;
    std::string Bytes;
    TVerifyProblem Problem;
};

void PrintTo(const TRefusalCase& c, std::ostream* os) {
    *os << c.Name;
}

class RefusedPhoto : public testing::TestWithParam<TRefusalCase> {};

TEST_P(RefusedPhoto, SaysWhy) {
    const TVerifyReport report = VerifyPhotoBytes(GetParam().Bytes);
    EXPECT_EQ(report.Problem, GetParam().Problem);
    EXPECT_FALSE(ProblemWords(report.Problem).empty());
    EXPECT_NE(VerifyJson(report).find("\"error\":"), std::string::npos);
}

std::string cut(std::string bytes) {
    bytes.resize(bytes.size() / 2);
    return bytes;
}

// A little-endian TIFF directory that promises an 8000 x 6300 grey picture whose strip is missing.
std::string tiffPromising50Megapixels() {
    std::string b("II*\0\x08\0\0\0", 8);
    const auto put = [&b](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            b += static_cast<char>(v >> (8 * i) & 0xFF);
    };
    const std::vector<std::array<std::uint32_t, 3>> entries = {
        {256, 4, 8000}, {257, 4, 6300}, {258, 3, 8},    {259, 3, 1},
        {262, 3, 1},    {273, 4, 4096}, {278, 4, 6300}, {279, 4, 50'400'000}};
    put(static_cast<std::uint32_t>(entries.size()), 2);
    for (const auto& [tag, type, value] : entries) {
        put(tag, 2), put(type, 2), put(1, 4), put(value, 4);
    }
    put(0, 4);
    return b;
}

std::vector<TRefusalCase> refusals() {
    const TRenderedPhoto mark = RenderPhoto(scene(0.8));
    TPhotoScene bare = scene(0);
    TPhotoScene blurred = scene(0.8);
    blurred.PixelsPerCell = 3;
    blurred.BlurPixels = 2.5;
    return {
        {"BareMetal", EncodePhoto(RenderPhoto(bare), ".png"), TVerifyProblem::NoSymbol},
        {"TooBlurred", EncodePhoto(RenderPhoto(blurred), ".png"), TVerifyProblem::NoSymbol},
        {"FiftyMegapixelPng", phototest::EncodeBlank(8000, 6300, ".png"), TVerifyProblem::TooLarge},
        {"FiftyMegapixelJpeg", phototest::EncodeBlank(8000, 6300, ".jpg"),
         TVerifyProblem::TooLarge},
        {"FiftyMegapixelTiff", phototest::EncodeBlank(8000, 6300, ".tif"),
         TVerifyProblem::TooLarge},
        // Refused from the header alone: the rest of the file is not even there.
        {"FiftyMegapixelPngHeader", phototest::EncodeBlank(8000, 6300, ".png").substr(0, 200),
         TVerifyProblem::TooLarge},
        {"FiftyMegapixelTiffHeader", tiffPromising50Megapixels(), TVerifyProblem::TooLarge},
        {"FiftyMegapixelBmpHeader", phototest::EncodeBlank(8000, 6300, ".bmp").substr(0, 200),
         TVerifyProblem::TooLarge},
        {"CutOffPng", cut(EncodePhoto(mark, ".png")), TVerifyProblem::Damaged},
        {"CutOffJpeg", cut(EncodePhoto(mark, ".jpg")), TVerifyProblem::Damaged},
        {"CutOffTiff", cut(EncodePhoto(mark, ".tif")), TVerifyProblem::Damaged},
        {"Text", "G0 X0 Y0\nM30\n", TVerifyProblem::NotImage},
        {"Empty", "", TVerifyProblem::NotImage},
    };
}

INSTANTIATE_TEST_SUITE_P(Photos, RefusedPhoto, testing::ValuesIn(refusals()),
                         [](const auto& c) { return std::string(c.param.Name); });

TEST(VerifyPhoto, MissingFileIsRefused) {
    EXPECT_EQ(VerifyPhoto("/nonexistent/photo.png").Problem, TVerifyProblem::Missing);
}

} // namespace
} // namespace korvex::verify

namespace korvex::verify {
namespace {

std::set<std::string> keysOf(const std::string& json) {
    std::set<std::string> keys;
    for (std::size_t at = json.find('"'); at != std::string::npos; at = json.find('"', at + 1)) {
        const std::size_t end = json.find('"', at + 1);
        if (end == std::string::npos) break;
        if (end + 1 < json.size() && json[end + 1] == ':')
            keys.insert(json.substr(at + 1, end - at - 1));
        at = end;
    }
    return keys;
}

// A script that reads the predicted grade reads the measured one with the same keys; only
// what a prediction alone has (the readers' verdict, what it cannot predict) is not there.
TEST(VerifyPhoto, JsonUsesThePredictedGradesKeys) {
    grade::TGradeReport predicted;
    predicted.Depths.emplace_back();
    predicted.Depths.front().As9132.QuietZone = 2.0;
    std::set<std::string> expected = keysOf(grade::ReportJson(predicted));
    expected.erase("verdict");
    expected.erase("not_predicted");
    ASSERT_GT(expected.size(), 10u);
    const std::set<std::string> measured = keysOf(VerifyJson(verify(RenderPhoto(scene(0.8)))));
    for (const std::string& key : expected)
        EXPECT_TRUE(measured.contains(key)) << key;
}

} // namespace
} // namespace korvex::verify

// The human-readable line in dots beside the symbol: where its dots go, what it says, how the
// job file keeps it.

#include "ncgen/NCGenerateCommand.h"
#include "ncgen/SimulationLine.h"
#include "ncgen/TemplateFile.h"

#include "base/TextNumbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

using namespace korvex::ncgen;
namespace text = korvex::text;
using korvex::content::TContentKind;

namespace {

TActiveProfile plungeProfile() {
    TActiveProfile profile;
    profile.FirstPoint[0] = "G0 X[#XVAL] Y[#YVAL] Z[#RVAL]";
    profile.FirstPoint[1] = "G1 Z[#ZVAL]";
    profile.FollowingPoints = profile.FirstPoint;
    profile.End[0] = "M30";
    profile.SafetyDistance = "2";
    profile.InfeedDepth = "-0.1";
    return profile;
}

struct TWindow {
    TLayerTable layers;
    TGenerateFields fields;
    TActiveProfile profile = plungeProfile();

    explicit TWindow(std::string code = "123456") {
        layers.AddLayer("Ebene 1", 0, 0);
        fields.Layer = layers.SelectLayer(1).Fields;
        fields.Layer.EText = {std::move(code)};
        fields.Layer.EGroesse = "0.5";
        fields.REbeneauswahl = profile.SafetyDistance;
        fields.ZEbeneauswahl = profile.InfeedDepth;
        fields.Now = TMoment{2026, 12, 10, 21, 5, 0};
    }
    TGenerateCommandResult Generate() { return GenerateCommand(layers, fields, profile, "Eigen"); }
};

struct TPoint {
    long double x, y;
};

// The "XY" dots of the simulation lines, before and after the text's mark.
std::pair<std::vector<TPoint>, std::vector<TPoint>> dotsOf(const std::vector<std::string>& lines) {
    std::pair<std::vector<TPoint>, std::vector<TPoint>> dots;
    bool text = false;
    for (const std::string& line : lines) {
        if (line == "HT;") text = true;
        const TSimulationLine read = ReadSimulationLine(line);
        if (read.Kind == TSimulationLine::Point && read.Ok)
            (text ? dots.second : dots.first).push_back({read.A, read.B});
    }
    return dots;
}

struct TBox {
    long double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
};
TBox boxOf(const std::vector<TPoint>& points) {
    TBox box;
    for (const TPoint& p : points) {
        box.x0 = std::min(box.x0, p.x), box.x1 = std::max(box.x1, p.x);
        box.y0 = std::min(box.y0, p.y), box.y1 = std::max(box.y1, p.y);
    }
    return box;
}

// The dots drawn into a grid of the text's dot spacing, read as rows of '#' and '.'.
std::vector<std::string> picture(const std::vector<TPoint>& dots, long double pitch) {
    const TBox box = boxOf(dots);
    const int cols = static_cast<int>(std::lround((box.x1 - box.x0) / pitch)) + 1;
    const int rows = static_cast<int>(std::lround((box.y1 - box.y0) / pitch)) + 1;
    std::vector<std::string> grid(static_cast<std::size_t>(rows), std::string(cols, '.'));
    for (const TPoint& p : dots)
        grid[std::lround((box.y1 - p.y) / pitch)][std::lround((p.x - box.x0) / pitch)] = '#';
    return grid;
}

// How the characters look, drawn by hand: seven rows of five.
const std::map<char, std::vector<std::string>> LOOKS = {
    {'(', {"...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."}},
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {')', {".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#..."}},
    {'A', {".###.", "#...#", "#...#", "#...#", "#####", "#...#", "#...#"}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
    {'/', {".....", "....#", "...#.", "..#..", ".#...", "#....", "....."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
    {':', {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
};

TEST(DotLine, ProgramMarksTheSymbolUnchangedThenTheTextReadableGlyphByGlyph) {
    TWindow plain;
    const TGenerateCommandResult without = plain.Generate();
    ASSERT_EQ(without.Outcome, TGenerateOutcome::Generated);

    TWindow marked;
    // Lower case is marked as upper case. The K's left column and rows fix the picture's frame.
    marked.fields.Layer.Hrt = {THrtPosition::Below, "1.5", "", "k(01)a-/7.:z"};
    const TGenerateCommandResult with = marked.Generate();
    ASSERT_EQ(with.Outcome, TGenerateOutcome::Generated) << with.Message.Text;

    // Same points in the same order, the end block after the text.
    const std::size_t symbolLines = without.NCLines.size() - 1;
    ASSERT_GT(with.NCLines.size(), without.NCLines.size());
    EXPECT_TRUE(std::equal(without.NCLines.begin(), without.NCLines.begin() + symbolLines,
                           with.NCLines.begin()));
    EXPECT_EQ(with.NCLines.back(), without.NCLines.back());
    const auto [symbol, textDots] = dotsOf(with.SimulationLines);
    EXPECT_EQ(symbol.size(), dotsOf(without.SimulationLines).first.size());
    ASSERT_EQ(with.PointLines.size(), symbol.size() + textDots.size());

    const std::vector<std::string> grid = picture(textDots, 0.25L);
    const std::string expected = "K(01)A-/7.:Z";
    ASSERT_EQ(grid.size(), 7u);
    // Every character in a cell of six columns; the last one's blank column is not marked.
    ASSERT_GE(grid[0].size(), expected.size() * 6 - 2);
    for (std::size_t k = 0; k < expected.size(); ++k)
        for (std::size_t row = 0; row < 7; ++row)
            EXPECT_EQ(grid[row].substr(k * 6, 5), LOOKS.at(expected[k])[row])
                << "character " << expected[k] << " row " << row;
}

TEST(DotLine, TextStandsOnItsSideCentredAndClearOfTheQuietZone) {
    const struct {
        THrtPosition position;
        const char* angle;
    } rows[] = {{THrtPosition::Below, "0"},  {THrtPosition::Above, "0"},
                {THrtPosition::Left, "0"},   {THrtPosition::Right, "0"},
                {THrtPosition::Below, "90"}, {THrtPosition::Right, "90"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(HrtPositionName(row.position)) + " at " + row.angle);
        TWindow window;
        window.fields.Layer.EDrehWinkel = row.angle;
        window.fields.Layer.EXVersatz = "10";
        window.fields.Layer.Hrt = {row.position, "1.2", "", "SN 10"};
        const TGenerateCommandResult result = window.Generate();
        ASSERT_EQ(result.Outcome, TGenerateOutcome::Generated);
        const auto [symbolDots, textDots] = dotsOf(result.SimulationLines);
        const TBox s = boxOf(symbolDots);
        const TBox t = boxOf(textDots);
        const long double module = 0.5L, half = 0.1L; // the text's dot is 0.2 mm
        // Turned by 90 the symbol's bottom lies at its right, its right side on top.
        const bool turned = std::string(row.angle) == "90";
        THrtPosition side = row.position;
        if (turned) side = side == THrtPosition::Below ? THrtPosition::Right : THrtPosition::Above;
        long double gap = 0, offCentre = 0;
        switch (side) {
        case THrtPosition::Below:
            gap = (s.y0 - module / 2) - (t.y1 + half);
            offCentre = (t.x0 + t.x1) / 2 - (s.x0 + s.x1) / 2;
            break;
        case THrtPosition::Above:
            gap = (t.y0 - half) - (s.y1 + module / 2);
            offCentre = (t.x0 + t.x1) / 2 - (s.x0 + s.x1) / 2;
            break;
        case THrtPosition::Left:
            gap = (s.x0 - module / 2) - (t.x1 + half);
            offCentre = (t.y0 + t.y1) / 2 - (s.y0 + s.y1) / 2;
            break;
        default:
            gap = (t.x0 - half) - (s.x1 + module / 2);
            offCentre = (t.y0 + t.y1) / 2 - (s.y0 + s.y1) / 2;
            break;
        }
        EXPECT_NEAR(static_cast<double>(gap), 0.5, 0.002); // one module of quiet zone
        EXPECT_NEAR(static_cast<double>(offCentre), 0, 0.002);
    }
}

TEST(DotLine, TextComesFromTheContentOrTheFreeTextWithItsPlaceholders) {
    const struct {
        const char* what;
        TContentKind kind;
        std::vector<std::string> code;
        const char* freeText;
        const char* expected;
    } rows[] = {
        {"GS1 with brackets",
         TContentKind::Gs1,
         {"(01)09506000134352(10)AB1"},
         "",
         "(01)09506000134352(10)AB1"},
        {"the UII of format 06",
         TContentKind::Iso15434Format06,
         {"17V0CVA5", "1P1234", "S786950"},
         "",
         "D0CVA51234786950"},
        {"a text's lines side by side", TContentKind::Text, {"SN 12", "LOT 7"}, "", "SN 12 LOT 7"},
        {"free text with the symbol's text and the date",
         TContentKind::Text,
         {"4711"},
         "{line}/{date:YYMMDD}",
         "4711/261210"},
        {"free text with the time", TContentKind::Text, {"4711"}, "T{time:HHMM}", "T2105"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TWindow window;
        window.fields.Layer.Content = row.kind;
        window.fields.Layer.EText = row.code;
        window.fields.Layer.Hrt = {THrtPosition::Below, "1.5", "", row.freeText};
        const TGenerateCommandResult result = window.Generate();
        ASSERT_EQ(result.Outcome, TGenerateOutcome::Generated) << result.Message.Text;
        EXPECT_EQ(result.HrtText, row.expected);
    }
}

TEST(DotLine, CharacterTheFontLacksOrNoSizeIsRefusedNamingIt) {
    const struct {
        const char* freeText;
        const char* height;
        const char* pitch;
        int message;
        const char* named;
    } rows[] = {
        {"SN_1", "1.5", "", text::HrtUnknownCharacter, "_"},
        {"M\xC4RZ", "1.5", "", text::HrtUnknownCharacter, "\xC4"},
        {"A\tB", "1.5", "", text::HrtUnknownCharacter, "0x09"},
        {"N{n}", "1.5", "", text::HrtUnknownCharacter, "{"}, // only a run knows its number
        {"SN1", "0", "", text::HrtBadHeight, "0"},
        {"SN1", "1.5", "-0.2", text::HrtBadHeight, "1.5"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.freeText);
        TWindow window;
        window.fields.Layer.Hrt = {THrtPosition::Left, row.height, row.pitch, row.freeText};
        const TGenerateCommandResult result = window.Generate();
        EXPECT_EQ(result.Outcome, TGenerateOutcome::Refused);
        EXPECT_EQ(result.Message.Text, row.message);
        ASSERT_FALSE(result.Message.Values.empty());
        EXPECT_EQ(result.Message.Values[0], row.named);
        EXPECT_TRUE(result.NCLines.empty());
    }
}

TEST(DotLine, DotsPastTheCylindersSideAreRefusedLikeTheSymbols) {
    // The symbol fits on the top of a 6 mm shaft along X; the text above it, across the axis,
    // reaches past the side where the tool cannot reach from above.
    for (const THrtPosition position : {THrtPosition::None, THrtPosition::Above}) {
        TWindow window;
        window.fields.Layer.EYVersatz = "-2";
        window.fields.Layer.Hrt = {position, "3", "", "1"};
        window.fields.Surface.Mode = TSurfaceMode::Follow;
        window.fields.Surface.Cylinder = {'X', 0, -3, 3};
        const TGenerateCommandResult result = window.Generate();
        SCOPED_TRACE(std::string(HrtPositionName(position)));
        if (position == THrtPosition::None) {
            EXPECT_EQ(result.Outcome, TGenerateOutcome::Generated) << result.Message.Text;
        } else {
            EXPECT_EQ(result.Outcome, TGenerateOutcome::Refused);
            EXPECT_EQ(result.Message.Text, text::SymbolPastCylinderSide);
        }
    }
}

TJob readJob(std::string_view bytes) {
    TJob job;
    TLoadReport report;
    ReadVorlage(bytes, job, report, {3, 5, "Ebene 1"});
    return job;
}

TEST(DotLine, LayerLineIsReadAndWrittenBackAndFilesWithoutItStayAsTheyWere) {
    const std::string older = "LAYER A\r\nSHOW\r\nSIZE 0.5\r\nDMFORM 0\r\nDMENC 0\r\nANGLE 0\r\n"
                              "XDIS 0\r\nYDIS 0\r\nDATA\r\n/x\r\nBLANK \r\n";
    EXPECT_EQ(VorlageText(readJob(older)).substr(0, older.size()), older);
    const struct {
        const char* lines;
        THrtLine expected;
        const char* written; // empty: none
    } rows[] = {
        {"HRT BELOW 1.5\r\n", {THrtPosition::Below, "1.5", "", ""}, "HRT BELOW 1.5\r\n"},
        {"HRT RIGHT 2 0.3\r\nHRTTEXT SN {line}\r\n",
         {THrtPosition::Right, "2", "0.3", "SN {line}"},
         "HRT RIGHT 2 0.3\r\nHRTTEXT SN {line}\r\n"},
        {"HRTTEXT X-{line}\r\nHRT ABOVE 1\r\n",
         {THrtPosition::Above, "1", "", "X-{line}"},
         "HRT ABOVE 1\r\nHRTTEXT X-{line}\r\n"},
        {"HRT SIDEWAYS 1.5\r\n", {}, ""},
        {"HRTTEXT KEPT\r\n", {THrtPosition::None, "1.5", "", "KEPT"}, "HRTTEXT KEPT\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.lines);
        std::string file = older;
        file.insert(file.find("ANGLE"), row.lines);
        const TJob job = readJob(file);
        EXPECT_EQ(job.Layers.Layer(1).Hrt, row.expected);
        std::string expected = older;
        expected.insert(expected.find("ANGLE"), row.written);
        const std::string written = VorlageText(job);
        EXPECT_EQ(written.substr(0, expected.size()), expected);
        EXPECT_EQ(readJob(written).Layers.Layer(1).Hrt, row.expected);
    }
}

} // namespace

#include "readback/ReadBack.h"

#include "datamatrix/SizeTable.h"
#include "datamatrix/TDatamatrix.h"
#include "ncgen/GenerateLayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace korvex;
using readback::TReadBackVerdict;

namespace {

// A layer generated the way the generate command does it, with a plain milling profile.
struct TMarking {
    std::string text = "SN-2026-000123";
    datamatrix::TFormat size = datamatrix::AUTO;
    datamatrix::TCodewordMarks marks; // what the symbol is written with besides the text
    ncgen::TLayer layer;
    ncgen::TActiveProfile profile;

    TMarking() {
        layer.Size = "0.5";
        layer.XDis = "12.5";
        layer.YDis = "-4";
        profile.FirstPoint[0] = "G0 X[#XVAL] Y[#YVAL]";
        profile.FirstPoint[1] = "G1 Z[#ZVAL] F[#FVAL]";
        profile.FollowingPoints = profile.FirstPoint;
    }

    std::vector<std::string> simulationLines() const {
        datamatrix::TDatamatrix symbol;
        symbol.Code = text;
        symbol.Marks = marks;
        symbol.PreferredFormat = size;
        symbol.paintBarcode(nullptr);
        const datamatrix::TIArray matrix = symbol.Matrix();
        ncgen::TGenerateOutput output;
        ncgen::GenerateLayer({layer,
                              matrix,
                              symbol.MatrixCols(),
                              symbol.MatrixRows(),
                              profile,
                              "2",
                              "-0.1",
                              false,
                              {}},
                             output);
        return output.SimulationLines;
    }

    readback::TReadBackResult check() const {
        return readback::CheckReadBack(simulationLines(), layer, profile, text);
    }
};

TEST(ReadBack, EverySizeReadsAsItsText) {
    for (int format = datamatrix::C10X10; format < datamatrix::FORMAT_COUNT; ++format) {
        TMarking marking;
        marking.size = static_cast<datamatrix::TFormat>(format);
        // Digit pairs fill every data codeword, so every data module is a real one.
        const int capacity = datamatrix::SizeInfo(marking.size).dataCodewords;
        marking.text.clear();
        for (int i = 0; i < 2 * capacity; ++i)
            marking.text += static_cast<char>('0' + (i * 7 + format) % 10);
        const auto result = marking.check();
        EXPECT_EQ(result.Verdict, TReadBackVerdict::ReadsAsText)
            << datamatrix::FormatName(marking.size) << ": " << result.Detail;
    }
}

TEST(ReadBack, MirrorsRotationsAndLatheModeReadAsAsked) {
    struct Row {
        bool xMirror, yMirror;
        TReadBackVerdict expected;
    };
    const Row mirrors[] = {
        {false, false, TReadBackVerdict::ReadsAsText},
        {true, false, TReadBackVerdict::ReadsMirrored},
        {false, true, TReadBackVerdict::ReadsMirrored},
        {true, true, TReadBackVerdict::ReadsAsText}, // a half turn
    };
    // A negative spacing turns the symbol half round about the origin.
    for (const char* size : {"0.5", "-0.5"})
        for (const char* angle : {"0", "90", "33", "360"})
            for (const bool lathe : {false, true})
                for (const Row& row : mirrors) {
                    TMarking marking;
                    marking.layer.Size = size;
                    marking.layer.Angle = angle;
                    marking.layer.XMirror = row.xMirror;
                    marking.layer.YMirror = row.yMirror;
                    if (lathe) {
                        marking.profile.Y = "Z";
                        marking.profile.Z = "Y";
                        marking.profile.J = "K";
                    }
                    const auto result = marking.check();
                    const std::string where = std::string("spacing ") + size + " angle " + angle +
                                              (lathe ? " lathe" : "") + " mirror " +
                                              std::to_string(row.xMirror) +
                                              std::to_string(row.yMirror);
                    EXPECT_EQ(result.Verdict, row.expected) << where << ": " << result.Detail;
                    EXPECT_TRUE(readback::ReadsAsIntended(result)) << where;
                }
}

TEST(ReadBack, LatheProgramWithoutTheSignChangeReadsMirrored) {
    TMarking marking;
    marking.profile.Y = "Z";
    marking.profile.J = "K";
    std::vector<std::string> lines = marking.simulationLines();
    // The same points as a milling profile writes them: X not turned round.
    marking.profile.J = "J";
    const auto milled = marking.simulationLines();
    marking.profile.J = "K";
    const auto result =
        readback::CheckReadBack(milled, marking.layer, marking.profile, marking.text);
    EXPECT_EQ(result.Verdict, TReadBackVerdict::ReadsMirrored);
    EXPECT_FALSE(readback::ReadsAsIntended(result));
    EXPECT_EQ(readback::CheckReadBack(lines, marking.layer, marking.profile, marking.text).Verdict,
              TReadBackVerdict::ReadsAsText);
}

TEST(ReadBack, MarkingsThatDoNotScanAreCaught) {
    struct Row {
        const char* what;
        void (*spoil)(TMarking&, std::vector<std::string>&);
        const char* detail;
    };
    const Row rows[] = {
        {"first-point template without the point",
         [](TMarking& m, std::vector<std::string>& lines) {
             m.profile.FirstPoint = {"G17 G90", "G0 Z[#RVAL]"};
             lines = m.simulationLines();
         },
         "first point is not marked"},
        {"following-points template without Y",
         [](TMarking& m, std::vector<std::string>& lines) {
             m.profile.FollowingPoints = {"G0 X[#XVAL]", "G1 Z[#ZVAL]"};
             lines = m.simulationLines();
         },
         "following-points template"},
        {"spacing changed after the program was written",
         [](TMarking& m, std::vector<std::string>&) { m.layer.Size = "0.6"; },
         "off the module grid"},
        {"spacing doubled after the program was written",
         [](TMarking& m, std::vector<std::string>&) { m.layer.Size = "0.25"; },
         "no DataMatrix size"},
        {"rotation changed after the program was written",
         [](TMarking& m, std::vector<std::string>&) { m.layer.Angle = "33"; },
         "off the module grid"},
        {"whole millimetres for a half-millimetre spacing",
         [](TMarking& m, std::vector<std::string>& lines) {
             m.profile.Format.Nachkommastellen = 0;
             lines = m.simulationLines();
         },
         "two points fall on one module"},
        {"one corner dot lost",
         [](TMarking&, std::vector<std::string>& lines) {
             lines.erase(lines.begin() + 1); // the bottom-right module, right after "ZR;"
         },
         "1 module of the finder"},
        {"one dot too many in the clock track",
         [](TMarking&, std::vector<std::string>& lines) {
             // The top-right module of the clock track is light; the symbol is 16 x 16.
             lines.push_back("XY;20.000;3.500");
         },
         "1 module of the finder"},
        {"no points", [](TMarking&, std::vector<std::string>& lines) { lines = {"ZR;2;-0.1"}; },
         "no point is marked"},
    };
    for (const Row& row : rows) {
        TMarking marking;
        std::vector<std::string> lines = marking.simulationLines();
        row.spoil(marking, lines);
        const auto result =
            readback::CheckReadBack(lines, marking.layer, marking.profile, marking.text);
        EXPECT_EQ(result.Verdict, TReadBackVerdict::DoesNotRead) << row.what;
        EXPECT_NE(result.Detail.find(row.detail), std::string::npos)
            << row.what << ": " << result.Detail;
        EXPECT_FALSE(readback::ReadsAsIntended(result)) << row.what;
    }
}

TEST(ReadBack, AProgramOfAnotherTextReadsAsSomethingElse) {
    TMarking marking;
    const auto lines = marking.simulationLines();
    const auto result =
        readback::CheckReadBack(lines, marking.layer, marking.profile, "SN-2026-000124");
    EXPECT_EQ(result.Verdict, TReadBackVerdict::ReadsAsOther);
    EXPECT_EQ(result.Decoded, marking.text);
    EXPECT_EQ(readback::Describe(result), "reads as something else: \"SN-2026-000123\"");
}

TEST(ReadBack, RightBytesWithoutWhatAScannerReportsReadAsSomethingElse) {
    using content::TContentKind;
    using readback::TContentMismatch;
    const std::string gs1 = "(01)09506000134352(10)ABC(21)7";
    const std::string gs1Bytes = std::string("010950600013435210ABC") + '\x1D' + "217";
    struct Row {
        const char* name;
        TContentKind kind;
        std::string layerText;
        std::string symbolText;
        datamatrix::TCodewordMarks marks;
        TContentMismatch expected;
    };
    const Row rows[] = {
        {"GS1 as meant", TContentKind::Gs1, gs1, gs1Bytes, {{232}, {}}, TContentMismatch::None},
        {"GS1 with GS but no FNC1",
         TContentKind::Gs1,
         gs1,
         gs1Bytes,
         {},
         TContentMismatch::GsForFnc1},
        {"text with FNC1",
         TContentKind::Text,
         gs1Bytes,
         gs1Bytes,
         {{232}, {}},
         TContentMismatch::Identifier},
        {"euro without ECI",
         TContentKind::Text,
         "Preis 5 \x80",
         "Preis 5 \x80",
         {},
         TContentMismatch::NoEci},
        {"format 06 spelled out",
         TContentKind::Iso15434Format06,
         "18S0CVA5786950",
         std::string("[)>\x1E") + "06\x1D" + "18S0CVA5786950\x1E\x04",
         {},
         TContentMismatch::None},
    };
    // Square modules, and round dots of 80 % from a tool (0.2 tip + 0.2 at 0.1 deep, 0.5 pitch).
    for (const bool dots : {false, true})
        for (const Row& row : rows) {
            TMarking marking;
            marking.layer.Content = row.kind;
            marking.text = row.symbolText;
            marking.marks = row.marks;
            if (dots) {
                marking.profile.Tool = {ncgen::TToolKind::Cone, 90, 0.2L, 0};
                marking.profile.InfeedDepth = "-0.1";
            }
            const auto result = readback::CheckReadBack(marking.simulationLines(), marking.layer,
                                                        marking.profile, row.layerText);
            EXPECT_EQ(result.Dots.has_value(), dots) << row.name;
            EXPECT_EQ(result.Mismatch, row.expected)
                << row.name << (dots ? " (dots): " : ": ") << readback::Describe(result);
            EXPECT_EQ(result.Verdict, row.expected == TContentMismatch::None
                                          ? TReadBackVerdict::ReadsAsText
                                          : TReadBackVerdict::ReadsAsOther)
                << row.name << (dots ? " (dots)" : "");
        }
}

} // namespace

// On a d10 shaft a 7 mm symbol laid by arc length sits up to 0.28 mm off its flat grid when
// seen from above; a reader of the mark looks at it unrolled.
TEST(ReadBack, SymbolFollowingAShaftReadsUnrolled) {
    for (const char along : {'X', 'Y'}) {
        TMarking marking;
        marking.layer.XDis = along == 'X' ? "0" : "-3.5";
        marking.layer.YDis = along == 'X' ? "-3.5" : "0";
        datamatrix::TDatamatrix symbol;
        symbol.Code = marking.text;
        symbol.paintBarcode(nullptr);
        ncgen::TGenerateOutput output;
        const ncgen::TSurface surface{ncgen::TSurfaceMode::Follow, {along, 0, -5, 5}, {}};
        ncgen::GenerateLayer({marking.layer, symbol.Matrix(), symbol.MatrixCols(),
                              symbol.MatrixRows(), marking.profile, "2", "-0.1", false, surface},
                             output);
        const auto result = readback::CheckReadBack(output.SimulationLines, marking.layer,
                                                    marking.profile, marking.text);
        EXPECT_EQ(result.Verdict, TReadBackVerdict::ReadsAsText)
            << along << ": " << readback::Describe(result);
    }
}

// A cone's plunge is aimed downhill of its dot on the tilted surface; the dot, not the plunge,
// sits on the arc grid. On a d8 shaft the outer plunges of a 10 x 10 at 0.2 mm lie a tenth of
// the pitch and more off it.
TEST(ReadBack, AimedConeDotsOnAThinShaftReadAtTheirCentres) {
    const struct {
        long double angle;
        const char* depth; // about 80 % of the pitch
    } cones[] = {{90, "-0.08"}, {120, "-0.046"}};
    for (const char along : {'X', 'Y'})
        for (const auto& cone : cones) {
            TMarking marking;
            marking.text = "12345";
            marking.layer.Size = "0.2";
            marking.layer.XDis = along == 'X' ? "0" : "-0.9";
            marking.layer.YDis = along == 'X' ? "-0.9" : "0";
            marking.profile.Tool = {ncgen::TToolKind::Cone, cone.angle, 0, 0};
            marking.profile.InfeedDepth = cone.depth;
            datamatrix::TDatamatrix symbol;
            symbol.Code = marking.text;
            symbol.PreferredFormat = datamatrix::C10X10;
            symbol.paintBarcode(nullptr);
            ASSERT_EQ(symbol.MatrixCols(), 10);
            ncgen::TGenerateOutput output;
            const ncgen::TSurface surface{
                ncgen::TSurfaceMode::Follow, {along, 0, -4, 4}, marking.profile.Tool};
            ncgen::GenerateLayer({marking.layer, symbol.Matrix(), symbol.MatrixCols(),
                                  symbol.MatrixRows(), marking.profile, "2", cone.depth, false,
                                  surface},
                                 output);
            const auto result = readback::CheckReadBack(output.SimulationLines, marking.layer,
                                                        marking.profile, marking.text);
            EXPECT_EQ(result.Verdict, TReadBackVerdict::ReadsAsText)
                << along << " cone " << static_cast<double>(cone.angle) << ": "
                << readback::Describe(result);
        }
}

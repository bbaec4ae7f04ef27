#include "ncgen/NCGenerateCommand.h"

#include "base/EKorvexError.h"
#include "base/TextNumbers.h"
#include "datamatrix/ERangeError.h"
#include "base/ENumberFormatError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

using namespace korvex::ncgen;
namespace text = korvex::text;
using korvex::base::TTextMessage;

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

// The window after start-up: one layer, the profile's R and Z in their fields.
struct TWindow {
    TLayerTable layers;
    TGenerateFields fields;
    TActiveProfile profile = plungeProfile();

    TWindow() {
        layers.AddLayer("Ebene 1", 0, 0);
        fields.Layer = layers.SelectLayer(1).Fields;
        fields.Layer.EText = {"123456"};
        fields.REbeneauswahl = profile.SafetyDistance;
        fields.ZEbeneauswahl = profile.InfeedDepth;
    }
    TGenerateCommandResult Generate() { return GenerateCommand(layers, fields, profile, "Eigen"); }
};

TEST(GenerateCommand, RefusesBadFieldsInOrderWithTheirTextsAndGeneratesNothing) {
    using Edit = std::function<void(TWindow&)>;
    const struct {
        const char* what;
        Edit edit;
        TTextMessage message;
        bool resetX = false;
        bool resetY = false;
    } rows[] = {
        {"angle outside 0-360",
         [](TWindow& w) { w.fields.Layer.EDrehWinkel = "361"; },
         {text::AngleOutOfRange, 0, ""}},
        // Read as their digits these would turn the symbol 125 and 1 degrees.
        {"angle with a degree sign",
         [](TWindow& w) { w.fields.Layer.EDrehWinkel = "12.5\xB0"; },
         {text::AngleOutOfRange, 0, ""}},
        {"angle with a comma",
         [](TWindow& w) { w.fields.Layer.EDrehWinkel = "1,5"; },
         {text::AngleOutOfRange, 0, ""}},
        // The program would get the profile's 2 while the graphic showed 0.
        {"R with a comma",
         [](TWindow& w) { w.fields.REbeneauswahl = "-0,2"; },
         {text::InvalidInput, text::SafetyDistanceLabel, ""}},
        {"Z with a comma",
         [](TWindow& w) { w.fields.ZEbeneauswahl = "-0,2"; },
         {text::InvalidInput, text::InfeedDepthLabel, ""}},
        {"angle before spacing",
         [](TWindow& w) {
             w.fields.Layer.EDrehWinkel = "x";
             w.fields.Layer.EGroesse = "0";
         },
         {text::AngleOutOfRange, 0, ""}},
        {"spacing 0",
         [](TWindow& w) { w.fields.Layer.EGroesse = "0"; },
         {text::InvalidInput, text::InvalidDotSpacing, ""}},
        {"X offset",
         [](TWindow& w) { w.fields.Layer.EXVersatz = "1,5"; },
         {text::InvalidInput, text::InvalidXOffset, ""},
         true},
        {"Y offset",
         [](TWindow& w) { w.fields.Layer.EYVersatz = "1e"; },
         {text::InvalidInput, text::InvalidYOffset, ""},
         false,
         true},
        {"profile without template lines",
         [](TWindow& w) { w.profile = TActiveProfile{}; },
         {text::ProfileHasNoTemplate, 0, "Eigen"}},
        // 10.000 would be written "1", like 0.001.
        {"numbers without point, trailing and leading zeros",
         [](TWindow& w) {
             w.profile.Format.Dezipunkt = w.profile.Format.NNullen = false;
             w.profile.Format.VNullen = false;
         },
         {text::UnreadableNumberFormat, 0, "Eigen"}},
    };
    for (const auto& row : rows) {
        TWindow window;
        row.edit(window);
        const TLayer before = window.layers.Layer(1);
        const TGenerateCommandResult result = window.Generate();
        EXPECT_EQ(result.Outcome, TGenerateOutcome::Refused) << row.what;
        EXPECT_EQ(result.Message, row.message) << row.what;
        EXPECT_EQ(result.EXVersatz.has_value(), row.resetX) << row.what;
        EXPECT_EQ(result.EYVersatz.has_value(), row.resetY) << row.what;
        EXPECT_TRUE(result.NCLines.empty()) << row.what;
        EXPECT_TRUE(result.SimulationLines.empty()) << row.what;
        EXPECT_EQ(window.layers.Layer(1), before) << row.what << ": the layer is not stored";
    }
}

TEST(GenerateCommand, EveryNumberFormatWithoutPointAndTrailingZerosIsRefused) {
    // A point or trailing zeros make 10 mm readable; leading zeros alone pad the stripped digits,
    // so 10 and 0.001 would both be "000001".
    for (int flags = 0; flags < 8; ++flags) {
        TWindow window;
        TNCFormat& format = window.profile.Format;
        format.Dezipunkt = (flags & 1) != 0;
        format.NNullen = (flags & 2) != 0;
        format.VNullen = (flags & 4) != 0;
        format.Stellen = 6;
        window.fields.Layer.EXVersatz = "10";
        const TGenerateCommandResult result = window.Generate();
        EXPECT_EQ(result.Outcome,
                  (flags & 3) == 0 ? TGenerateOutcome::Refused : TGenerateOutcome::Generated)
            << flags;
    }
}

TEST(GenerateCommand, NoTextIsNoMessageAndNoProgram) {
    TWindow window;
    window.fields.Layer.EText.clear();
    const TGenerateCommandResult result = window.Generate();
    EXPECT_EQ(result.Outcome, TGenerateOutcome::NoText);
    EXPECT_TRUE(result.Message.Empty());
    EXPECT_TRUE(result.NCLines.empty());
}

TEST(GenerateCommand, StoresTheWindowAndWritesProgramAndGraphicFromTheSameLevels) {
    TWindow window;
    window.fields.Layer.EXVersatz = "10";
    window.fields.Layer.EText = {"AB", "12"};
    window.fields.REbeneauswahl = "2.5";
    window.fields.ZEbeneauswahl = "-0.2";
    const TGenerateCommandResult result = window.Generate();
    ASSERT_EQ(result.Outcome, TGenerateOutcome::Generated);
    EXPECT_EQ(window.layers.Layer(1).XDis, "10");
    EXPECT_EQ(window.layers.Layer(1).LineCount, 2);
    ASSERT_GE(result.NCLines.size(), 3u);
    EXPECT_TRUE(result.NCLines[0].ends_with(" Z2.5")) << result.NCLines[0];
    EXPECT_EQ(result.NCLines[1], "G1 Z-0.2");
    EXPECT_EQ(result.NCLines.back(), "M30");
    EXPECT_EQ(result.SimulationLines.front(), "ZR;2.500;-0.200");
    EXPECT_EQ(result.SimulationLines.size(), 1 + (result.NCLines.size() - 1) / 2);

    // A controller parameter in the profile reaches the program as it stands.
    window.profile.InfeedDepth = window.fields.ZEbeneauswahl = "Q201";
    const TGenerateCommandResult verbatim = window.Generate();
    ASSERT_EQ(verbatim.Outcome, TGenerateOutcome::Generated);
    EXPECT_EQ(verbatim.NCLines[1], "G1 ZQ201");
}

TEST(GenerateCommand, ReportsTheSymbolSizeTheTextNeeded) {
    TWindow window;
    window.fields.Layer.CurrentSymbolSize = 1; // C10X10
    window.fields.Layer.EText = {std::string(20, '7') + "ABC"};
    const TGenerateCommandResult result = window.Generate();
    ASSERT_EQ(result.Outcome, TGenerateOutcome::Generated);
    EXPECT_EQ(result.PreferredFormat, korvex::datamatrix::C10X10);
    EXPECT_EQ(result.CalculatedFormat, korvex::datamatrix::C18X18);
}

TEST(GenerateCommand, ATextNoSymbolHoldsIsAUserFacingError) {
    TWindow window;
    window.fields.Layer.EText = {std::string(1600, 'A')};
    EXPECT_THROW(window.Generate(), korvex::datamatrix::ERangeError);
    EXPECT_THROW(window.Generate(), korvex::EKorvexError) << "the general handler's base";
}

TEST(GenerateCommand, AnErrorDuringTheWalkLeavesWhatWasWrittenInTheCallersResult) {
    TWindow window;
    // Rows higher up overflow the extended range once rotated; the bottom rows still fit.
    window.fields.Layer.EGroesse = "1e4931";
    window.fields.Layer.EDrehWinkel = "45";
    window.profile.Format.Nachkommastellen = 0;
    window.profile.Format.Satzzeichen = "P";
    TGenerateCommandResult result;
    EXPECT_THROW(GenerateCommand(window.layers, window.fields, window.profile, "Eigen", result),
                 korvex::base::ENumberFormatError);
    EXPECT_FALSE(result.NCLines.empty());
    EXPECT_FALSE(result.SimulationLines.empty());
    EXPECT_EQ(result.LastUsedFormat.Satzzeichen, "P");
    EXPECT_EQ(window.layers.Layer(1).Size, "1e4931") << "the layer was stored before";
}

TEST(CheckBatchJob, AFileWithoutALayerIsRefusedNamingTheFile) {
    std::mt19937 random(9);
    std::string noise;
    for (int i = 0; i < 300; ++i)
        noise += static_cast<char>(random() & 0xFF);
    const struct {
        const char* what;
        std::string bytes;
        bool refused;
    } rows[] = {
        {"empty file", "", true},
        {"an NC program", "%\r\nN10 G0 X1 Y2\r\nN20 G1 Z-0.1\r\nM30\r\n", true},
        {"random bytes", noise, true},
        {"layer keywords without LAYER", "SIZE 1\r\nDATA\r\n/ABC\r\n", true},
        {"a template", "LAYER L\r\nDATA\r\n/ABC\r\n", false},
    };
    for (const auto& row : rows) {
        TJob job;
        TLoadReport report;
        ReadVorlage(row.bytes, job, report, {0, 0, "Ebene 1"});
        EXPECT_EQ(job.Layers.LayerCount, 1) << row.what << ": the window keeps a layer";
        const TTextMessage message = CheckBatchJob(report, "/tmp/job.ncm");
        if (row.refused)
            EXPECT_EQ(message, (TTextMessage{text::TemplateHoldsNoLayer, 0, "/tmp/job.ncm"}))
                << row.what;
        else
            EXPECT_TRUE(message.Empty()) << row.what;
    }
}

} // namespace

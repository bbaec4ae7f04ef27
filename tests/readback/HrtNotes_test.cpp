// What is said about a program with a human-readable line: the blank's edges, the cycle time
// and the read-back see it as the marks a machine and a reader meet.

#include "readback/ProgramNotes.h"

#include "base/DecimalText.h"
#include "ncgen/NCGenerateCommand.h"
#include "ncgen/SimulationLine.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace korvex;
using ncgen::THrtPosition;

namespace {

struct TProgram {
    ncgen::TLayerTable layers;
    ncgen::TActiveProfile profile;
    ncgen::TGenerateCommandResult result;

    explicit TProgram(THrtPosition position) {
        profile.FirstPoint[0] = "G0 X[#XVAL] Y[#YVAL] Z[#RVAL]";
        profile.FirstPoint[1] = "G1 Z[#ZVAL] F[#FVAL]";
        profile.FollowingPoints = profile.FirstPoint;
        profile.FeedZ = "100";
        profile.SafetyDistance = "2";
        profile.InfeedDepth = "-0.1";
        layers.AddLayer("Ebene 1", 0, 0);
        ncgen::TGenerateFields fields;
        fields.Layer = layers.SelectLayer(1).Fields;
        fields.Layer.EText = {"SN-2026-000123"};
        fields.Layer.EGroesse = "0.4";
        fields.Layer.EXVersatz = "10";
        fields.Layer.EYVersatz = "8";
        fields.Layer.Hrt = {position, "1.5", "", ""};
        fields.REbeneauswahl = profile.SafetyDistance;
        fields.ZEbeneauswahl = profile.InfeedDepth;
        result = ncgen::GenerateCommand(layers, fields, profile, "Eigen");
    }
    readback::TProgramNotes Notes(const std::string& blank) const {
        return readback::NotesFor(result.SimulationLines, layers.Layer(1), profile, blank, true,
                                  readback::ReadBackAvailable, "5000");
    }
};

// A box whose top face holds the symbol with its quiet zone and `margin` more on every side.
std::string blankAround(const std::vector<std::string>& lines, long double margin) {
    long double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
    for (const ncgen::TSimPoint& p : ncgen::SimulationPoints(lines)) {
        x0 = std::min(x0, p.X), x1 = std::max(x1, p.X);
        y0 = std::min(y0, p.Y), y1 = std::max(y1, p.Y);
    }
    const long double reach = 0.6L + margin; // half a module and its quiet zone: 1.5 x 0.4
    const auto t = [](long double v) { return base::FixedText(v, 3); };
    return "ROHDEF QUAD XM" + t(x0 - reach) + " YP" + t(y1 + reach) + " ZP0 XP" + t(x1 + reach) +
           " YM" + t(y0 - reach) + " ZM-5";
}

TEST(DotLineNotes, BlankEdgeCycleTimeAndReadBackSeeTheTextBesideTheSymbol) {
    const TProgram plain(THrtPosition::None);
    const TProgram marked(THrtPosition::Below);
    ASSERT_EQ(plain.result.Outcome, ncgen::TGenerateOutcome::Generated);
    ASSERT_EQ(marked.result.Outcome, ncgen::TGenerateOutcome::Generated);
    // A blank that just holds the plain symbol and its quiet zone.
    const std::string blank = blankAround(plain.result.SimulationLines, 0.1L);
    const readback::TProgramNotes without = plain.Notes(blank);
    const readback::TProgramNotes with = marked.Notes(blank);
    EXPECT_EQ(without.BlankFit.Result, simulation::TBlankFit::Fits);
    EXPECT_EQ(with.BlankFit.Result, simulation::TBlankFit::Outside) << with.BlankWarning;
    // The blank grown round the text as well holds both again.
    const std::string larger = blankAround(marked.result.SimulationLines, 0.1L);
    EXPECT_EQ(marked.Notes(larger).BlankFit.Result, simulation::TBlankFit::Fits);

    ASSERT_TRUE(without.Stats && with.Stats && without.Cycle && with.Cycle);
    const std::size_t textDots = marked.result.PointLines.size() - plain.result.PointLines.size();
    EXPECT_GT(textDots, 100u);
    EXPECT_EQ(with.Stats->Points, without.Stats->Points + textDots);
    EXPECT_GT(with.Cycle->Blocks, without.Cycle->Blocks);
    EXPECT_GT(with.Cycle->Seconds, without.Cycle->Seconds + 0.02L * textDots);

    if (!readback::ReadBackAvailable) GTEST_SKIP() << "no read-back in this build";
    ASSERT_TRUE(with.Check.has_value());
    EXPECT_EQ(with.Check->Verdict, readback::TReadBackVerdict::ReadsAsText) << with.Check->Detail;
}

} // namespace

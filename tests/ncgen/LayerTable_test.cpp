#include "ncgen/LayerTable.h"
#include "ncgen/StepButton.h"

#include <gtest/gtest.h>

#include <array>

using namespace korvex::ncgen;

namespace {

TLayerTable startedTable() {
    TLayerTable table;
    table.LayerCount = 0;
    table.AddLayer("Beschriftungsebene 1", 7, 5);
    table.SelectLayer(1);
    table.CurrentLayer = 1;
    return table;
}

TEST(LayerTable, StartUpGivesOneShownDefaultLayerWithTheCurrentIndexes) {
    const TLayerTable table = startedTable();
    EXPECT_EQ(table.LayerCount, 1);
    EXPECT_EQ(table.CurrentLayer, 1);
    TLayer expected;
    expected.Name = "Beschriftungsebene 1";
    expected.DMForm = "7";
    expected.DMEnc = "5";
    EXPECT_EQ(table.Layer(1), expected);
    EXPECT_TRUE(table.Layer(1).Shown);
    EXPECT_EQ(table.Layer(1).Size, "0.5");
}

TEST(LayerTable, FiftyFirstLayerIsRefusedAndChangesNothing) {
    TLayerTable table;
    for (int i = 1; i <= MaxLayers; ++i) {
        ASSERT_TRUE(table.AddLayer("L" + std::to_string(i), 0, 0));
        table.Layer(i).XDis = std::to_string(i);
    }
    const TLayerTable before = table;
    EXPECT_FALSE(table.AddLayer("too many", 3, 3));
    EXPECT_EQ(table.LayerCount, MaxLayers);
    EXPECT_EQ(table.Layers, before.Layers);
}

TEST(LayerTable, ClearLayersHidesAndResetsUsedLayersButKeepsCurrentLayer) {
    TLayerTable table = startedTable();
    table.AddLayer("B", 1, 1);
    table.Layer(2).Lines[0] = "text";
    table.Layer(2).LineCount = 1;
    table.Layer(2).Size = "3";
    table.CurrentLayer = 2;
    table.ClearLayers();
    EXPECT_EQ(table.LayerCount, 0);
    EXPECT_EQ(table.CurrentLayer, 2);
    const TLayer& cleared = table.Layer(2);
    EXPECT_FALSE(cleared.Shown);
    EXPECT_TRUE(cleared.Name.empty());
    EXPECT_EQ(cleared.LineCount, 0);
    EXPECT_TRUE(cleared.Lines[0].empty());
    EXPECT_EQ(cleared.Size, "0.5");
    EXPECT_EQ(cleared.DMForm, "0");
}

TEST(LayerTable, StoreThenSelectMovesEveryFieldUnchanged) {
    TLayerTable table = startedTable();
    TLayerFields fields;
    fields.EText = {" AB ", "", "1,5"};
    fields.EGroesse = "1,5"; // not a number: stored as typed
    fields.EXVersatz = "10";
    fields.EYVersatz = "-2.5";
    fields.EDrehWinkel = "90";
    fields.EXSpiegel = true;
    fields.EYSPiegel = false;
    fields.CurrentSymbolSize = 30;
    fields.CurrentEncodation = 2;
    EXPECT_EQ(table.StoreCurrentLayer(fields), 0);
    const TLayer& layer = table.Layer(1);
    EXPECT_EQ(layer.LineCount, 3);
    EXPECT_EQ(layer.Lines[0], " AB ");
    EXPECT_EQ(layer.Size, "1,5");
    EXPECT_EQ(layer.DMForm, "30");
    EXPECT_EQ(layer.Name, "Beschriftungsebene 1"); // not touched

    const TSelectedLayer selected = table.SelectLayer(1);
    EXPECT_FALSE(selected.IndexFallback);
    TLayerFields expected = fields;
    expected.LText = "Beschriftungsebene 1";
    EXPECT_EQ(selected.Fields, expected);
}

TEST(LayerTable, EmptyTextStoresNoLinesAndSurplusLinesAreCountedNotStored) {
    TLayerTable table = startedTable();
    TLayerFields fields;
    EXPECT_EQ(table.StoreCurrentLayer(fields), 0);
    EXPECT_EQ(table.Layer(1).LineCount, 0);

    fields.EText.assign(MaxLayerLines + 3, "x");
    fields.EText[MaxLayerLines - 1] = "last kept";
    EXPECT_EQ(table.StoreCurrentLayer(fields), 3);
    EXPECT_EQ(table.Layer(1).LineCount, MaxLayerLines);
    EXPECT_EQ(table.Layer(1).Lines[MaxLayerLines - 1], "last kept");

    // Fewer lines afterwards leave no stale entries behind.
    fields.EText = {"one"};
    table.StoreCurrentLayer(fields);
    EXPECT_TRUE(table.Layer(1).Lines[1].empty());
}

TEST(LayerTable, UnusableIndexTextsSelectAsZeroAndSaySo) {
    // Symbol sizes are 0-48 (AUTO, the 30 classic sizes and the 18 DMRE ones), encodations 0-5.
    const struct {
        const char* form;
        const char* enc;
        bool usable;
    } cases[] = {{"12", "3", true},   {"30", "5", true},   {" 3", "0", true},   {"49", "0", false},
                 {"255", "0", false}, {"0", "6", false},   {"0", "255", false}, {"256", "0", false},
                 {"-1", "0", false},  {"abc", "0", false}, {"", "0", false}};
    for (const auto& c : cases) {
        TLayerTable table = startedTable();
        table.Layer(1).DMForm = c.form;
        table.Layer(1).DMEnc = c.enc;
        const TSelectedLayer selected = table.SelectLayer(1);
        EXPECT_EQ(selected.IndexFallback, !c.usable) << c.form << " / " << c.enc;
        if (!c.usable) {
            EXPECT_EQ(selected.Fields.CurrentSymbolSize + selected.Fields.CurrentEncodation, 0)
                << c.form << " / " << c.enc;
        }
    }
}

TEST(LayerTable, LayerNumbersOutsideOneToFiftyAreRejected) {
    TLayerTable table;
    EXPECT_THROW(table.Layer(0), std::out_of_range);
    EXPECT_THROW(table.SelectLayer(51), std::out_of_range);
}

struct TStepCase {
    TStepButton button;
    const char* before;
    bool changed;
    const char* after;
    bool endsPick;
};

TEST(StepField, StepsAndLimitsOfEveryButtonPair) {
    const std::array<TStepCase, 16> cases = {{
        {TStepButton::GMinus, "0.1", false, "", false},
        {TStepButton::GMinus, "0.25", true, "0.15", true},
        {TStepButton::GPlus, "0.5", true, "0.60", true},
        {TStepButton::DPlus, "355", true, "360.00", true},
        {TStepButton::DPlus, "356", false, "", false},
        {TStepButton::DMinus, "5", true, "0.00", true},
        {TStepButton::DMinus, "4.9", false, "", false},
        {TStepButton::XMinus, "0", true, "-0.10", true},
        {TStepButton::Xplus, "14.9", true, "15.00", true},
        {TStepButton::YMinus, "-2", true, "-2.10", true},
        {TStepButton::YPlus, "abc", false, "", false},
        {TStepButton::RMinus, "2", true, "1.90", false},
        {TStepButton::RPlus, "-0.1", true, "0.00", false},
        {TStepButton::ZMinus, "-0.1", true, "-0.20", false},
        {TStepButton::ZPlus, "Q200", false, "", false},
        {TStepButton::Xplus, "1,5", false, "", false},
    }};
    for (const TStepCase& c : cases) {
        const TStepResult result = StepField(c.button, c.before);
        EXPECT_EQ(result.Changed, c.changed) << c.before;
        if (c.changed) {
            EXPECT_EQ(result.Text, c.after) << c.before;
            EXPECT_EQ(result.EndsPickMode, c.endsPick) << c.before;
        }
    }
}

} // namespace

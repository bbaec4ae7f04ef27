#include "ncgen/SerialRun.h"

#include "base/TextNumbers.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace korvex::ncgen;

namespace {

TEST(SerialRun, PatternsTakeNumbersPaddingAndText) {
    struct Row {
        const char* pattern;
        TPatternValues values;
        const char* expected;
    };
    const Row rows[] = {
        {"SN-{n:06}", {42, 1, ""}, "SN-000042"},
        {"SN-{n}", {-7, 1, ""}, "SN--7"},
        {"{n:04}", {-7, 1, ""}, "-007"},
        {"[{n:5}]", {42, 1, ""}, "[   42]"},
        {"out/{i:03}-{line}.nc", {0, 9, "AB 12"}, "out/009-AB 12.nc"},
        {"{n}{n}", {3, 1, ""}, "33"},
        {"{N} {x} {n:ab} {", {3, 1, ""}, "{N} {x} {n:ab} {"},
        {"no placeholder", {3, 1, ""}, "no placeholder"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ExpandPattern(row.pattern, row.values), row.expected) << row.pattern;
}

TEST(SerialRun, RangeIsStartCountAndStep) {
    struct Row {
        const char* text;
        bool ok;
        std::int64_t start, count, step;
    };
    const Row rows[] = {
        {"100", true, 100, 1, 1},
        {"100:1000", true, 100, 1000, 1},
        {"100:5:-10", true, 100, 5, -10},
        {"100:0", false, 0, 0, 0},
        {"100:5:0", false, 0, 0, 0},
        {"", false, 0, 0, 0},
        {"1e3", false, 0, 0, 0},
        {"1:2:3:4", false, 0, 0, 0},
        {"x:2", false, 0, 0, 0},
        {"1:1000000", true, 1, 1000000, 1},
        {"1:1000001", false, 0, 0, 0},
        {"9223372036854775807", true, INT64_MAX, 1, 1},
        {"9223372036854775807:2", false, 0, 0, 0},
        {"-9223372036854775807:2:-1", true, -INT64_MAX, 2, -1},
        {"-9223372036854775807:3:-1", false, 0, 0, 0},
        {"0:3:4611686018427387904", false, 0, 0, 0},
    };
    for (const Row& row : rows) {
        const auto range = ReadSerialRange(row.text);
        ASSERT_EQ(range.has_value(), row.ok) << row.text;
        if (!range) continue;
        EXPECT_EQ(range->Start, row.start) << row.text;
        EXPECT_EQ(range->Count, row.count) << row.text;
        EXPECT_EQ(range->Step, row.step) << row.text;
    }
}

std::vector<TRunItem> items(const fs::path& folder, int count) {
    std::vector<TRunItem> list;
    for (int n = 1; n <= count; ++n)
        list.push_back({"SN-" + std::to_string(n), folder / ("SN-" + std::to_string(n) + ".nc")});
    return list;
}

TRunProgram program(const TRunItem& item) {
    // Large enough that a cut-off write would show.
    TRunProgram made;
    made.Ok = true;
    made.Bytes = std::string(50000, 'x') + item.Text;
    return made;
}

std::vector<std::string> names(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        found.push_back(fs::relative(entry.path(), folder).string());
    std::sort(found.begin(), found.end());
    return found;
}

TEST(SerialRun, CounterRangesOnlyCountUpAndEndWithinSixtyFourBits) {
    struct Row {
        TSerialRange range;
        int refusal;
    } const rows[] = {
        {{1, 2, 1}, 0},
        {{INT64_MAX - 10, 5, 2}, 0}, // the next value is INT64_MAX itself
        {{3, 3, -1}, korvex::text::CounterStepNotPositive},
        {{1, 1, INT64_MAX}, korvex::text::CounterWouldOverflow},
        {{INT64_MAX - 10, 6, 2}, korvex::text::CounterWouldOverflow},
        {{0, 2, INT64_MAX / 2 + 1}, korvex::text::CounterWouldOverflow},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CheckCounterRange(row.range).Text, row.refusal)
            << row.range.Start << ":" << row.range.Count << ":" << row.range.Step;
}

TEST(SerialRun, WritesEveryProgramWholeIntoNewFolders) {
    TempFolder temp;
    const auto list = items(temp / "out" / "run", 12);
    std::size_t reported = 0;
    const TRunOutcome outcome = RunPrograms(list, program, [&](const TRunStep& step) {
        EXPECT_EQ(step.Index, reported++);
        EXPECT_TRUE(step.Written);
        return true;
    });
    EXPECT_EQ(outcome.Stop, TRunStop::None);
    EXPECT_EQ(outcome.Written, 12u);
    for (const auto& item : list)
        EXPECT_EQ(readBytes(item.Output), program(item).Bytes) << item.Output;
    EXPECT_EQ(names(temp / "out" / "run").size(), 12u);
}

TEST(SerialRun, AFolderInTheWayStopsTheRunAndKeepsEarlierFilesWhole) {
    TempFolder temp;
    const auto list = items(temp.path(), 10);
    // Root writes through read-only files, not through a folder standing in the name's way.
    fs::create_directory(list[5].Output);
    // An earlier run's file further on must survive unchanged.
    writeBytes(list[7].Output, "from an earlier run");
    const TRunOutcome outcome = RunPrograms(list, program, [](const TRunStep&) { return true; });
    EXPECT_EQ(outcome.Stop, TRunStop::Write);
    EXPECT_EQ(outcome.FailedItem, 5u);
    EXPECT_EQ(outcome.Written, 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(readBytes(list[i].Output), program(list[i]).Bytes) << i;
    EXPECT_TRUE(fs::is_directory(list[5].Output));
    EXPECT_FALSE(fs::exists(list[6].Output));
    EXPECT_EQ(readBytes(list[7].Output), "from an earlier run");
    const std::vector<std::string> expected = {"SN-1.nc", "SN-2.nc", "SN-3.nc", "SN-4.nc",
                                               "SN-5.nc", "SN-6.nc", "SN-8.nc"};
    EXPECT_EQ(names(temp.path()), expected); // no temporary file left behind
}

TEST(SerialRun, FailingGenerationAndCancelStopAtThatItem) {
    TempFolder temp;
    const auto list = items(temp.path(), 6);
    const TRunOutcome failed = RunPrograms(
        list,
        [](const TRunItem& item) {
            TRunProgram made = program(item);
            if (item.Text == "SN-3") {
                made = TRunProgram{};
                made.Message = "does not fit";
            }
            return made;
        },
        [](const TRunStep&) { return true; });
    EXPECT_EQ(failed.Stop, TRunStop::Generation);
    EXPECT_EQ(failed.FailedItem, 2u);
    EXPECT_EQ(failed.Message, "does not fit");
    EXPECT_EQ(names(temp.path()), (std::vector<std::string>{"SN-1.nc", "SN-2.nc"}));

    TempFolder again;
    const auto second = items(again.path(), 6);
    const TRunOutcome cancelled =
        RunPrograms(second, program, [](const TRunStep& step) { return step.Index < 1; });
    EXPECT_EQ(cancelled.Stop, TRunStop::Cancelled);
    EXPECT_EQ(cancelled.Written, 2u);
    EXPECT_EQ(names(again.path()), (std::vector<std::string>{"SN-1.nc", "SN-2.nc"}));
}

TEST(SerialRun, TwoItemsForOneFileWriteNothing) {
    TempFolder temp;
    auto list = items(temp.path(), 4);
    list[3].Output = temp.path() / "." / "SN-2.nc";
    const TRunOutcome outcome = RunPrograms(list, program, [](const TRunStep&) { return true; });
    EXPECT_EQ(outcome.Stop, TRunStop::DuplicateOutput);
    EXPECT_EQ(outcome.FailedItem, 3u);
    EXPECT_TRUE(names(temp.path()).empty());
}

TEST(SerialRun, EachTextGoesThroughTheGenerateCommand) {
    TempFolder temp;
    TLayerTable layers;
    layers.AddLayer("Ebene 1", 0, 0);
    TGenerateFields fields{layers.SelectLayer(1).Fields, "2", "-0.1", {}};
    fields.Layer.EGroesse = "0.5";
    TActiveProfile profile;
    profile.FirstPoint[0] = "G0 X[#XVAL] Y[#YVAL]";
    profile.FollowingPoints[0] = "G0 X[#XVAL] Y[#YVAL]";
    const std::vector<TRunItem> list = {
        {"A1", temp / "1.nc"}, {"B22", temp / "2.nc"}, {"", temp / "3.nc"}, {"D4", temp / "4.nc"}};
    std::vector<std::string> inspected;
    const TRunOutcome outcome = RunSerial(
        layers, fields, profile, "P", list,
        [&](const TGenerateCommandResult& generated, TRunProgram& made) {
            inspected.push_back(generated.SimulationLines.at(1));
            made.Summary = "seen";
        },
        [](const TRunStep& step) {
            EXPECT_EQ(step.Program.Summary, step.Program.Ok ? "seen" : "");
            return true;
        });
    EXPECT_EQ(outcome.Stop, TRunStop::Generation);
    EXPECT_EQ(outcome.FailedItem, 2u);
    EXPECT_EQ(outcome.Message, "the text is empty");
    EXPECT_EQ(inspected.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        TLayerTable alone;
        alone.AddLayer("Ebene 1", 0, 0);
        TGenerateFields own = fields;
        own.Layer.EText = {list[i].Text};
        const auto expected = GenerateCommand(alone, own, profile, "P");
        std::string bytes;
        for (std::size_t k = 0; k < expected.NCLines.size(); ++k)
            bytes += (k ? "\r\n" : "") + expected.NCLines[k];
        EXPECT_EQ(readBytes(list[i].Output), bytes) << list[i].Text;
    }
    EXPECT_NE(readBytes(list[0].Output), readBytes(list[1].Output));
    EXPECT_FALSE(fs::exists(list[2].Output));
}

// A serial run's dot line says the same number as its symbol, not a literal "{n}".
TEST(SerialRun, DotLineFreeTextCarriesEachItemsNumbers) {
    TempFolder temp;
    TLayerTable layers;
    layers.AddLayer("Ebene 1", 0, 0);
    TGenerateFields fields{layers.SelectLayer(1).Fields, "2", "-0.1", {}};
    fields.Layer.EGroesse = "0.5";
    fields.Layer.Hrt.Position = THrtPosition::Below;
    fields.Layer.Hrt.Text = "SN {n:03}-{i} {line}";
    TActiveProfile profile;
    profile.FirstPoint[0] = "G0 X[#XVAL] Y[#YVAL]";
    profile.FollowingPoints[0] = "G0 X[#XVAL] Y[#YVAL]";
    const std::vector<TRunItem> list = {{"A7", temp / "1.nc", 7, 1}, {"A9", temp / "2.nc", 9, 2}};
    std::vector<std::string> said;
    const TRunOutcome outcome = RunSerial(
        layers, fields, profile, "P", list,
        [&](const TGenerateCommandResult& generated, TRunProgram&) {
            said.push_back(generated.HrtText);
        },
        [](const TRunStep&) { return true; });
    EXPECT_EQ(outcome.Stop, TRunStop::None) << outcome.Message;
    EXPECT_EQ(said, (std::vector<std::string>{"SN 007-1 A7", "SN 009-2 A9"}));
}

} // namespace

#include "base/TextNumbers.h"
#include "ncgen/Tool.h"

#include <gtest/gtest.h>

using namespace korvex::ncgen;

namespace {

TEST(Tool, ProfileKeysAndOptionGiveTheToolOrSayWhyNot) {
    struct Row {
        TToolReading reading;
        TToolKind kind;
        double measure; // angle of a cone, radius of a ball
        bool problem;
    };
    const Row rows[] = {
        {ReadTool({"", "", "", ""}), TToolKind::None, 0, false},
        {ReadTool({"0", "90", "", ""}), TToolKind::None, 0, false},
        {ReadTool({"1", "118", "", ""}), TToolKind::Cone, 118, false},
        {ReadTool({"2", "", "", "0.5"}), TToolKind::Ball, 0.5, false},
        {ReadTool({"1", "180", "", ""}), TToolKind::None, 0, true},
        {ReadTool({"1", "9O", "", ""}), TToolKind::None, 0, true},
        {ReadTool({"2", "", "", "0"}), TToolKind::None, 0, true},
        {ReadTool({"3", "", "", ""}), TToolKind::None, 0, true},
        {ReadTool({" 1 ", "90", "", ""}), TToolKind::Cone, 90, false},
        // Not a kind: said so, naming the key, neither a cone nor silently no tool.
        {ReadTool({"1.5", "90", "", ""}), TToolKind::None, 0, true},
        {ReadTool({"abc", "90", "", ""}), TToolKind::None, 0, true},
        {ReadTool({"0x1", "90", "", ""}), TToolKind::None, 0, true},
        {ParseToolOption("none"), TToolKind::None, 0, false},
        {ParseToolOption("cone:90:0.05"), TToolKind::Cone, 90, false},
        {ParseToolOption("ball:0.25"), TToolKind::Ball, 0.25, false},
        {ParseToolOption("cone:0"), TToolKind::None, 0, true},
        {ParseToolOption("cone:90:-1"), TToolKind::None, 0, true},
        {ParseToolOption("drill:90"), TToolKind::None, 0, true},
        {ParseToolOption("ball:"), TToolKind::None, 0, true},
    };
    for (const char* kind : {"1.5", "abc"})
        EXPECT_EQ(ReadTool({kind, "90", "", ""}).Problem,
                  (korvex::base::TTextMessage{korvex::text::ToolKindUnknown, 0, {}, {kind}}));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(row.reading.Tool.Kind, row.kind);
        EXPECT_EQ(!row.reading.Problem.Empty(), row.problem) << row.reading.Problem.Text;
        if (row.kind == TToolKind::Cone)
            EXPECT_DOUBLE_EQ(static_cast<double>(row.reading.Tool.Angle), row.measure);
        if (row.kind == TToolKind::Ball)
            EXPECT_DOUBLE_EQ(static_cast<double>(row.reading.Tool.Radius), row.measure);
    }
    EXPECT_EQ(ParseToolOption("cone:90:0.05").Tool.Tip, 0.05L);
    // What the profile stores reads back as the same tool.
    const TTool tool = ParseToolOption("cone:86.3048:0.02").Tool;
    const TTool again = ReadTool(ToolTexts(tool)).Tool;
    EXPECT_EQ(again.Kind, TToolKind::Cone);
    EXPECT_NEAR(static_cast<double>(again.Angle), 86.3048, 1e-9);
    EXPECT_NEAR(static_cast<double>(again.Tip), 0.02, 1e-9);
}

} // namespace

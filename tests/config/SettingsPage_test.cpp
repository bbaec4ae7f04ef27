#include "config/SettingsPage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace korvex;
using config::TNumberToggle;
using config::TPointAndZeros;

TEST(SettingsPage, StartWithoutANumberFallsBackToTheStepWithoutLooping) {
    struct Row {
        const char* start;
        const char* step;
        std::optional<std::string> after;
    };
    const Row rows[] = {
        {"100x", "5", "5"}, {"", "5", "5"},           {"100", "5", std::nullopt},
        {"y", "?", "?"},    {"?", "?", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(config::StartAfterEdit(row.start, row.step), row.after)
            << row.start << " / " << row.step;
}

TEST(SettingsPage, BlockStepPressCopiesTheStepIntoTheStartAlsoAtItsLimit) {
    struct Row {
        const char* step;
        bool plus;
        std::optional<config::TNumbering> after;
    };
    const Row rows[] = {
        {"99", true, config::TNumbering{"99", "99"}},
        {"99", false, config::TNumbering{"98", "98"}},
        {"1", false, config::TNumbering{"1", "1"}},
        {"abc", true, std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(config::StepNumbering(row.plus, {row.step, "10"}), row.after) << row.step;
}

TEST(SettingsPage, PointAndTrailingZerosCannotBothBeOff) {
    using P = TPointAndZeros;
    EXPECT_EQ(config::AfterToggle(P{false, false}, TNumberToggle::TrailingZeros), (P{true, false}));
    EXPECT_EQ(config::AfterToggle(P{false, false}, TNumberToggle::Point), (P{false, true}));
    EXPECT_EQ(config::AfterToggle(P{true, false}, TNumberToggle::TrailingZeros), (P{true, false}));
    EXPECT_EQ(config::AfterToggle(P{false, true}, TNumberToggle::TrailingZeros), (P{false, true}));
}

TEST(SettingsPage, ToolKindAndKeysFollowWhatTheProfileHad) {
    // An unusable cone still shows as a cone, so the user sees what to correct.
    EXPECT_EQ(config::ShownToolKind({"1", "90", "0", ""}), 1);
    EXPECT_EQ(config::ShownToolKind({"1", "500", "", ""}), 1);
    EXPECT_EQ(config::ShownToolKind({"7", "", "", ""}), 2);
    EXPECT_EQ(config::ShownToolKind({}), 0);

    EXPECT_EQ(config::KeptToolTexts({"0", "", "", ""}, {}).Kind, "");
    EXPECT_EQ(config::KeptToolTexts({"0", "", "", ""}, {"0", "", "", ""}).Kind, "0");
    EXPECT_EQ(config::KeptToolTexts({"0", "45", "", ""}, {}).Kind, "0");
    EXPECT_EQ(config::KeptToolTexts({"2", "", "", "0.5"}, {}).Radius, "0.5");
}

TEST(SettingsPage, TemplatesCloseUpTheirGapsAndKeepTwentyLines) {
    ncgen::TTemplate lines;
    lines[0] = "G0 A";
    lines[3] = "G1 C";
    EXPECT_EQ(config::ShownTemplate(lines), (std::vector<std::string>{"G0 A", "G1 C"}));

    std::vector<std::string> typed;
    for (int n = 1; n <= 22; ++n)
        typed.push_back("N" + std::to_string(n));
    const ncgen::TTemplate taken = config::TypedTemplate(typed);
    EXPECT_EQ(taken[19], "N20");
    EXPECT_EQ(config::TypedTemplate({"G0"})[1], "");
}

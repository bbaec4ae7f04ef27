#include "ncgen/PointTemplate.h"
#include "ncgen/ProfileSelection.h"

#include "base/TextNumbers.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

using namespace korvex::ncgen;

namespace {

TActiveProfile numberedProfile(bool numbering) {
    TActiveProfile profile;
    profile.BlockNumbering = numbering;
    profile.Format.Satzzeichen = "N";
    profile.Format.Start = 10;
    profile.Format.Schritt = 10;
    return profile;
}

struct TEmitCase {
    const char* line;
    bool numbering;
    const char* feed;
    const char* written;
    std::int32_t counterAfter;
};

TEST(WriteTemplateLine, ReplacesTwiceNumbersBlocksAndHonoursTheTemplatesLeadingMinus) {
    const std::array<TEmitCase, 12> cases = {{
        {"G0 X[#XVAL] Y[#YVAL]", true, "", "N10 G0 X1.5 Y0", 20},
        {"-G0 Z[#RVAL]", true, "", "G0 Z2", 10},
        {"-G0 Z[#RVAL]", false, "", "-G0 Z2", 10},
        {"[#XVAL] [#XVAL] [#XVAL]", false, "", "1.5 1.5 [#XVAL]", 10},
        {"[#FVAL]", false, "", "", 10},
        {"[#FVAL]", true, "", "N10 ", 20},
        {"[#xval] X[#XVAL]", false, "", "[#xval] X1.5", 10},
        {"G1 [#ZAXIS][#ZVAL] [#FVAL]", false, "F[#ZVAL]", "G1 Z-0.1 F-0.1", 10},
        {"[#XAXIS][#XVAL][#YAXIS][#YVAL]", false, "", "X1.5Y0", 10},
        {"[#ZVAL] [#XVAL]", true, "", "N10 -0.1 1.5", 20}, // a value's sign is no marker
        {"[#FVAL] M3", true, "-S500", "N10 -S500 M3", 20},
        {"-[#ZVAL]", true, "", "-0.1", 10},
    }};
    for (const TEmitCase& c : cases) {
        const TActiveProfile profile = numberedProfile(c.numbering);
        const TPointValues values{"1.5", "0", "-0.1", "2", c.feed, "X", "Y", "Z", "", ""};
        std::vector<std::string> program;
        std::int32_t counter = 10;
        WriteTemplateLine(c.line, values, profile, counter, program);
        ASSERT_EQ(program.size(), 1U) << c.line;
        EXPECT_EQ(program[0], c.written) << c.line;
        EXPECT_EQ(counter, c.counterAfter) << c.line;
    }
}

// The plan must write byte for byte what the two passes write, also for templates where
// placeholders form out of values and neighbouring text, or a value holds a placeholder.
TEST(TemplatePlan, WritesWhatTheReplacementPassesWriteForEveryPointText) {
    const std::array<std::string_view, 12> fragments = {
        "[#XVAL]", "[#YVAL]", "[#ZVAL]", "[#FVAL]", "[#XAXIS]", "[#",
        "XVAL]",   "VAL]",    "-",       " G0 ",    "]",        "[#RVAL]",
    };
    const std::array<std::string_view, 5> feeds = {"50", "", "[#XVAL]", "X", "[#YVAL]F[#ZVAL]"};
    const std::array<std::pair<std::string_view, std::string_view>, 4> points = {
        {{"1.5", "0"}, {"-12.25", "+3"}, {"0.", "-0"}, {"100", "-.5"}}};
    std::mt19937 random(9);
    for (int round = 0; round < 400; ++round) {
        TActiveProfile profile = numberedProfile(round % 2 == 0);
        profile.Format.Satzzeichen = round % 3 == 0 ? "" : "N";
        for (std::size_t line = 0; line < 4; ++line) {
            std::string text;
            for (int piece = static_cast<int>(random() % 6); piece > 0; --piece) {
                text += fragments[random() % fragments.size()];
            }
            profile.FollowingPoints[line * 2] = text; // leave gaps: empty lines are skipped
        }
        const std::string_view feed = feeds[random() % feeds.size()];
        const std::string_view xAxis = round % 5 == 0 ? "[#YVAL]" : "X";
        TPointValues values{"", "", "-0.1", "[#FVAL]2", feed, xAxis, "Y", "Z", "", ""};
        const TTemplatePlan plan(profile.FollowingPoints, values, profile);
        for (const auto& [x, y] : points) {
            ASSERT_TRUE(TTemplatePlan::Accepts(x, y));
            values.XVal = x;
            values.YVal = y;
            std::vector<std::string> expected;
            std::int32_t expectedCounter = 10;
            for (const std::string& line : profile.FollowingPoints) {
                if (!line.empty()) {
                    WriteTemplateLine(line, values, profile, expectedCounter, expected);
                }
            }
            std::vector<std::string> written;
            std::int32_t counter = 10;
            plan.Write(x, y, counter, written);
            ASSERT_EQ(written, expected) << "round " << round << ", X " << x << ", Y " << y;
            ASSERT_EQ(counter, expectedCounter);
            ASSERT_EQ(plan.LineCount(), written.size());
        }
    }
    EXPECT_FALSE(TTemplatePlan::Accepts("", "1"));
    EXPECT_FALSE(TTemplatePlan::Accepts("1", "X"));
}

TEST(FieldValueText, FormatsNumbersAndFallsBackToTheProfileTextVerbatim) {
    TNCFormat format; // format A
    EXPECT_EQ(FieldValueText("2.5", "Q200", format), "2.5");
    EXPECT_EQ(FieldValueText("Q1", "Q200", format), "Q200");
    EXPECT_EQ(FieldValueText("", "Q201", format), "Q201");
    EXPECT_EQ(FieldValueText("-0.10", "", format), "-0.1");
}

TOutputProfile storedProfile(const std::string& name) {
    TOutputProfile p;
    p.Name = name;
    p.Stellen = "7";
    p.Nachkommastellen = "$3";
    p.Schritt = "5x";
    p.Start = " -100";
    p.Satzzeichen = "N";
    p.REbene = "2";
    p.ZEbene = "-0.1";
    p.VorschubZ = "F50";
    p.Satznum = true;
    p.Dezipunkt = true;
    p.FirstPoint[0] = "G0 X[#XVAL]";
    return p;
}

TEST(SelectProfile, MatchesNameOrDigitAndTheLastMatchWins) {
    TProfileTable table;
    table[0] = storedProfile("DIN");
    table[1] = storedProfile("3"); // profile 2 is named like the digit of profile 3
    table[2] = storedProfile("Heidenhain");
    table[3] = storedProfile("DIN");
    const std::array<std::pair<const char*, int>, 6> cases = {
        {{"1", 1}, {"DIN", 4}, {"Heidenhain", 3}, {"3", 3}, {"2", 2}, {"4", 4}}};
    for (const auto& [text, number] : cases) {
        const auto selection = SelectProfile(table, text);
        ASSERT_TRUE(selection.has_value()) << text;
        EXPECT_EQ(selection->Number, number) << text;
    }
    EXPECT_FALSE(SelectProfile(table, "din").has_value());
    EXPECT_FALSE(SelectProfile(table, "5").has_value());
}

TEST(SelectProfile, RefusesAProfileWhoseNumbersCannotBeReadBack) {
    TProfileTable table;
    table[0] = storedProfile("DIN");
    table[1] = storedProfile("");
    for (TOutputProfile& profile : table) {
        profile.Dezipunkt = profile.NNullen = profile.VNullen = false;
    }
    table[2].VNullen = true; // pads what is left: 12.5, 1.25 and 0.125 alike "000125"
    table[3].NNullen = true; // the tape format: trailing zeros fix the point
    const auto din = SelectProfile(table, "DIN");
    ASSERT_TRUE(din.has_value());
    EXPECT_EQ(din->Refusal,
              (korvex::base::TTextMessage{korvex::text::UnreadableNumberFormat, 0, "DIN"}));
    const auto unnamed = SelectProfile(table, "2");
    ASSERT_TRUE(unnamed.has_value());
    EXPECT_EQ(unnamed->Refusal.Detail, "2"); // named by its number
    EXPECT_EQ(SelectProfile(table, "3")->Refusal.Detail, "3");
    EXPECT_TRUE(SelectProfile(table, "4")->Refusal.Empty());
}

TEST(SelectProfile, ConvertsNumbersAndDefaultsEmptyLetters) {
    TProfileTable table;
    table[1] = storedProfile("Drehen");
    table[1].Y = "Z";
    table[1].J = "K";
    table[1].Komende = "";
    const auto selection = SelectProfile(table, "2");
    ASSERT_TRUE(selection.has_value());
    const TActiveProfile& active = selection->Profile;
    EXPECT_EQ(active.Format.Stellen, 7);
    EXPECT_EQ(active.Format.Nachkommastellen, 3);
    EXPECT_EQ(active.Format.Schritt, 5);
    EXPECT_EQ(active.Format.Start, -100);
    EXPECT_EQ(active.Format.Komende, " ");
    EXPECT_TRUE(active.BlockNumbering);
    EXPECT_EQ(active.SafetyDistance, "2");
    EXPECT_EQ(active.InfeedDepth, "-0.1");
    EXPECT_EQ(active.FeedZ, "F50");
    EXPECT_EQ(active.FirstPoint[0], "G0 X[#XVAL]");
    EXPECT_EQ(active.X, "X");
    EXPECT_EQ(active.Y, "Z");
    EXPECT_EQ(active.Z, "Z");
    EXPECT_EQ(active.I, "I");
    EXPECT_EQ(active.J, "K");
    EXPECT_EQ(active.R, "R");
}

} // namespace

#include "base/TextLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using korvex::base::JoinLines;
using korvex::base::SplitLines;

namespace {

using Lines = std::vector<std::string>;

// Templates, INI files, language files and the --text option all go through this one splitter.
TEST(TextLines, SplitsAtEveryKindOfBreakAndKeepsEmptyLines) {
    const struct {
        std::string text;
        Lines lines;
    } rows[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\r", {"a", ""}},
        {"\r\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SplitLines(row.text), row.lines) << testing::PrintToString(row.text);
}

TEST(TextLines, JoinPutsCrLfBetweenLinesOnly) {
    EXPECT_EQ(JoinLines({}), "");
    EXPECT_EQ(JoinLines({"a"}), "a");
    EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb");
    for (const std::string text : {"a\r\nb", "a\r\n\r\nb", "x"})
        EXPECT_EQ(JoinLines(SplitLines(text)), text);
}

} // namespace

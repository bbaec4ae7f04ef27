#include "datamatrix/LookAhead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvex::datamatrix {
namespace {

TEST(LookAhead, ChoosesByTheCountsOfAnnexP) {
    struct Row {
        std::string text;
        EncodationMode current;
        EncodationMode expected;
    };
    const std::vector<Row> rows = {
        {"123456", EncodationMode::Ascii, EncodationMode::Ascii},
        {"ABCDEFGHIJKLMNOP", EncodationMode::Ascii, EncodationMode::C40},
        {"Hello World", EncodationMode::Ascii, EncodationMode::Text},
        {std::string(9, '\xFC'), EncodationMode::Ascii, EncodationMode::Base256},
        // End of data: the current mode counts 0 and wins ties against the others.
        {"", EncodationMode::C40, EncodationMode::C40},
        {"", EncodationMode::Text, EncodationMode::Text},
        {"", EncodationMode::Base256, EncodationMode::Base256},
        {"", EncodationMode::Ascii, EncodationMode::Ascii},
        // Four letters are below the five-character threshold: decided at the end.
        {"ABCD", EncodationMode::Ascii, EncodationMode::Ascii},
        // Rows that tell the rule from its near neighbours. Six single C40 values cost 3.96, so
        // C40 + 1 = 5.96 is below ASCII's 6 at the sixth character; at 2/3 each it would be a
        // tie and ASCII would win at the end.
        {"Z AA  \xE4", EncodationMode::Ascii, EncodationMode::C40},
        // Base256 + 1 <= ASCII holds after four characters; tested only from the fifth on.
        {"A00z", EncodationMode::Base256, EncodationMode::Ascii},
        // End of data, halves upward: ASCII 1 + 1 = 2 against C40 0 + 1.33 = 1.33 rounds to 1.
        {"z", EncodationMode::C40, EncodationMode::C40},
        // End of data rounds all four: C40 2.66 is 3, ASCII 1 + 2 = 3 wins the tie.
        {"\xE4", EncodationMode::C40, EncodationMode::Ascii},
    };
    for (const Row& row : rows)
        EXPECT_EQ(LookAhead(row.text, 0, row.current), row.expected) << row.text;
}

} // namespace
} // namespace korvex::datamatrix

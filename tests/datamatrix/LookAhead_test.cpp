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
    };
    for (const Row& row : rows)
        EXPECT_EQ(LookAhead(row.text, 0, row.current), row.expected) << row.text;
}

} // namespace
} // namespace korvex::datamatrix

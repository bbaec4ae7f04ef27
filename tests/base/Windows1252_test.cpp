#include "base/Windows1252.h"

#include <gtest/gtest.h>

using korvex::base::Utf8ToWindows1252;
using korvex::base::Windows1252ToUtf8;

TEST(Windows1252, EveryByteSurvivesARoundTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const auto back = Utf8ToWindows1252(Windows1252ToUtf8(all));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.text, all);
}

TEST(Windows1252, MapsTheHighControlRangeToItsOwnCharacters) {
    struct Row {
        const char* utf8;
        const char* bytes;
    };
    const Row rows[] = {
        {"\u20AC", "\x80"}, {"\u201E", "\x84"},   {"\u0178", "\x9F"},
        {"\u00E4", "\xE4"}, {"A\u00DF", "A\xDF"}, {"", ""},
    };
    for (const auto& row : rows) {
        const auto r = Utf8ToWindows1252(row.utf8);
        ASSERT_TRUE(r.ok) << row.utf8;
        EXPECT_EQ(r.text, row.bytes) << row.utf8;
    }
}

// A refusal that ended in a thin space named nothing a reader could see.
TEST(Windows1252, RefusedInvisibleCharactersAreNamedByTheirCodePoint) {
    const std::pair<const char*, const char*> rows[] = {
        {"a\u2009b", "U+2009"}, {"\u200Bx", "U+200B"}, {"x\uFEFF", "U+FEFF"},
        {"\u3000", "U+3000"},   {"e\u0301", "U+0301"}, {"\U000E0041", "U+E0041"},
        {"\u2192", "\u2192"},   {"\u4E2D", "\u4E2D"},
    };
    for (const auto& [text, named] : rows)
        EXPECT_EQ(Utf8ToWindows1252(text).offending, named) << text;
}

TEST(Windows1252, RefusesCharactersWithoutASingleByteCode) {
    const char* refused[] = {"\u4E2D",   "ok \U0001F600", "\u0100", "\xC3",
                             "\xE2\x82", "\xC0\xAF",      "\xFF"};
    for (const char* text : refused) {
        const auto r = Utf8ToWindows1252(text);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_FALSE(r.offending.empty()) << text;
        EXPECT_TRUE(r.text.empty());
    }
}

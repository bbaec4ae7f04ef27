#include "base/PathText.h"

#include <gtest/gtest.h>

#include <filesystem>

using korvex::base::PathText;

namespace {

std::filesystem::path fromUtf8(const char* utf8) {
    const std::string text(utf8);
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Messages are Windows-1252 and the command line turns them back into UTF-8, so a character
// without a code must become one byte, never its UTF-8 bytes read as three Latin characters.
TEST(PathText, CharactersWithoutACodeBecomeAQuestionMark) {
    const struct {
        const char* utf8;
        const char* text;
        const char* comment;
    } rows[] = {
        {"/tmp/Pr\u00fcfung.ncm",
         "/tmp/Pr\xFC"
         "fung.ncm",
         "Latin-1 letter"},
        {"/tmp/\u20ac.nc", "/tmp/\x80.nc", "euro sign of the 0x80-0x9F block"},
        {"/tmp/\u4e2d\u6587.ncm", "/tmp/??.ncm", "each character without a code is one ?"},
        {"/tmp/a\U0001F600b", "/tmp/a?b", "four-byte character"},
        {"/tmp/\u00e4\u4e2d\u00f6", "/tmp/\xE4?\xF6", "mixed"},
#ifndef _WIN32
        // Only POSIX names may hold such bytes; Windows names are UTF-16.
        {"/tmp/x\xFFy", "/tmp/x?y", "a byte that is no UTF-8"},
#endif
    };
    for (const auto& row : rows)
        EXPECT_EQ(PathText(fromUtf8(row.utf8)), row.text) << row.comment;
}

} // namespace

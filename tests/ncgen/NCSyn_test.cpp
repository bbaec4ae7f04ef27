#include "ncgen/NCSyn.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace korvex::ncgen;

namespace {

// Each token as a letter and its characters: "N:N10 |L:G|#:1", so a failure reads like the
// painted line. N block number, L address letter, # number, _ blank, C comment, ? other,
// ) comment-closing character.
std::string paint(std::string_view line, const std::vector<TNCToken>& tokens) {
    std::string text;
    std::size_t expectedStart = 0;
    for (const TNCToken& token : tokens) {
        if (!text.empty()) {
            text += '|';
        }
        if (static_cast<std::size_t>(token.Start) != expectedStart || token.Length <= 0) {
            text += "<gap or empty token>";
        }
        constexpr std::string_view Letters = "CL#_N?)";
        text += Letters[static_cast<std::size_t>(token.Kind)];
        text += ':';
        text += line.substr(static_cast<std::size_t>(token.Start),
                            static_cast<std::size_t>(token.Length));
        expectedStart = static_cast<std::size_t>(token.Start + token.Length);
    }
    return text;
}

struct TScanCase {
    std::string_view komstart;
    std::string_view komende;
    std::string_view line;
    std::string_view painted;
};

TEST(NCSyn, PaintsEveryKindOfNCWordAsTheEditorShowsIt) {
    using namespace std::string_view_literals;
    const std::array<TScanCase, 23> cases = {{
        {"(", ")", "N10 G1 X12.5 (DOT)", "N:N10 |L:G|#:1|_: |L:X|#:12.5|_: |C:(DOT)"},
        {"(", ")", "N10", "N:N10"},
        {"(", ")", "N 10 X5", "N:N 10 |L:X|#:5"},
        {"(", ")", "x5", "?:x|#:5"},
        {"(", ")", "-0.5,1", "#:-0.5,1"},
        // A profile without closing text closes with the blank, which then closes comments and
        // is painted plainly outside them.
        {";", " ", "G0 ;rapid move", "L:G|#:0|): |C:;rapid |?:m|?:o|?:v|?:e"},
        {";", " ", "G0\t ;x", "L:G|#:0|_:\t |C:;x"},
        // The same character for both: closing is tested first, so no comment ever opens.
        {"%", "%", "%G1 %X", "):%|L:G|#:1|_: |):%|L:X"},
        {"(", ")", "G1 (DOT", "L:G|#:1|_: |C:(DOT"},
        {"(", ")", "(A)(B)", "C:(A)|C:(B)"},
        {"(", ")", "X1)", "L:X|#:1|):)"},
        // A comment stops before a line break; CR LF is one blank, a lone LF another.
        {"(", ")", "(A\r\nB", "C:(A|_:\r\n|L:B"},
        {"(", ")", "\r\r\n\n", "_:\r|_:\r\n|_:\n"},
        {"(", ")", "\x01\x0b\x0c\x1f \t", "_:\x01\x0b\x0c\x1f \t"},
        {"(", ")", "O1000/Mz", "L:O|#:1000|?:/|L:M|?:z"},
        {"(", ")", "N5N6", "N:N5|N:N6"},
        // Empty comment texts: the brackets are ordinary characters.
        {"", "", "(X)", "?:(|L:X|?:)"},
        {"", " ", "X1 Y2", "L:X|#:1|): |L:Y|#:2"},
        // Characters above 127 are other characters unless they open or close a comment.
        {"\xa7", " ", "X\xe4 \xa7\xe4 Y", "L:X|?:\xe4|): |C:\xa7\xe4 |L:Y"},
        // A NUL ends the line as the end of the text does, unless it is the closing character;
        // the scan never reads past the text.
        {"(", ")", "G1\0X2"sv, "L:G|#:1"},
        {"(", "\0"sv, "(A\0B"sv, "C:(A|):\0|L:B"sv},
        {"(", "\0"sv, "X1"sv, "L:X|#:1"},
        {"(", ")", "", ""},
    }};
    for (const TScanCase& c : cases) {
        TNCFormat format;
        format.Komstart = std::string(c.komstart);
        format.Komende = std::string(c.komende);
        const TNCSyn syn(format);
        EXPECT_EQ(paint(c.line, syn.Scan(c.line)), c.painted)
            << "line \"" << c.line << "\", comments \"" << c.komstart << "\" \"" << c.komende
            << "\"";
    }
}

} // namespace

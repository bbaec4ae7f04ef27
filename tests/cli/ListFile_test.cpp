#include "cli/GenerateSeries.h"

#include <gtest/gtest.h>

#include <random>

using korvex::cli::ReadListFile;
using korvex::cli::TListLine;

namespace {

TEST(ListFile, ReadsEitherCodePageLineByLine) {
    struct Row {
        std::string bytes;
        std::vector<std::pair<std::int64_t, std::string>> lines;
        const char* problem;
    };
    const Row rows[] = {
        {"A\r\nB\nC\rD", {{1, "A"}, {2, "B"}, {3, "C"}, {4, "D"}}, ""},
        {"\n\nA\r\n\r\nB\n", {{3, "A"}, {5, "B"}}, ""},
        {"Pr\xC3\xBC"
         "fung\n\xE2\x82\xAC 5",
         {{1, "Pr\xFC"
              "fung"},
          {2, "\x80 5"}},
         ""},
        {"\xEF\xBB\xBF"
         "A\n",
         {{1, "A"}},
         ""},
        // Not UTF-8 anywhere in the file: every byte is Windows-1252.
        {"Pr\xFC"
         "fung\n\xC3\xBC",
         {{1, "Pr\xFC"
              "fung"},
          {2, "\xC3\xBC"}},
         ""},
        {"A\n\xCE\xA9 3\n", {}, "line 2: the character '\xCE\xA9' has no Windows-1252 code"},
        {"", {}, ""},
    };
    for (const Row& row : rows) {
        std::string problem;
        const std::vector<TListLine> lines = ReadListFile(row.bytes, problem);
        EXPECT_EQ(problem, row.problem) << row.bytes;
        ASSERT_EQ(lines.size(), row.lines.size()) << row.bytes;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].Number, row.lines[i].first) << row.bytes;
            EXPECT_EQ(lines[i].Text, row.lines[i].second) << row.bytes;
        }
    }
}

TEST(ListFile, AnyBytesGiveLinesOrAProblem) {
    std::mt19937 random(13);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 64, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() % 4 == 0 ? "\r\n\xC3\xE2"[random() % 4]
                                                    : random() % 256);
        std::string problem;
        const auto lines = ReadListFile(bytes, problem);
        if (!problem.empty()) {
            EXPECT_TRUE(lines.empty());
            continue;
        }
        std::int64_t previous = 0;
        for (const TListLine& line : lines) {
            EXPECT_FALSE(line.Text.empty());
            EXPECT_EQ(line.Text.find_first_of("\r\n"), std::string::npos);
            EXPECT_GT(line.Number, previous);
            previous = line.Number;
        }
    }
}

} // namespace

#include "base/TextNumbers.h"
#include "config/CaptionTable.h"
#include "config/ConfigError.h"
#include "config/LanguageTexts.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <span>
#include <vector>

using korvex::config::EConfigError;
using korvex::config::LanguageFileName;
using korvex::config::TLanguageTexts;

namespace {

const std::filesystem::path SOURCE = KORVEX_SOURCE_DIR;

TEST(LanguageTexts, LookupIsAPrefixTestOnTheLinesInOrder) {
    struct Row {
        const char* file;
        int number;
        const char* text;
        const char* comment;
    };
    const Row rows[] = {
        {"1001Rohteil", 1001, "Rohteil", "number directly followed by the text"},
        {"1001 Rohteil", 1001, " Rohteil", "a blank after the number is kept"},
        {"10010 mm\r\n1001Rohteil", 1001, "0 mm", "a longer number shadows a later line"},
        {"1001Rohteil\r\n10010 mm", 1001, "Rohteil", "the first matching line wins"},
        {" 1001Rohteil", 1001, "", "a blank before the number is never found"},
        {"", 1001, "", "empty file"},
        {"; Kommentar\n\n9008Ung\xFCltige Eingabe", 9008, "Ung\xFCltige Eingabe", "comments, LF"},
        {"9107a\r9108b\r", 9108, "b", "CR line ends"},
        {"9107a\r\n9107b", 91, "07a", "91 accepts the line of 9107"},
        {"1001", 1001, "", "number without text"},
        {"1001Rohteil  \t", 1001, "Rohteil  \t", "nothing is trimmed"},
        {"5007Ebene 1\r\n", 500, "7Ebene 1", "a shorter number matches a longer line"},
    };
    TLanguageTexts texts;
    for (const auto& row : rows) {
        texts.SetContent(row.file);
        EXPECT_EQ(texts.Text(row.number), row.text) << row.comment;
    }
}

TEST(LanguageTexts, RandomFilesGiveSuffixesOfTheirLines) {
    std::mt19937 random(815);
    std::uniform_int_distribution<int> byte(0, 255);
    const char alphabet[] = "0123456789\r\n x";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 2);
    TLanguageTexts texts;
    for (int round = 0; round < 200; ++round) {
        std::string content;
        for (int i = 0; i < 200; ++i)
            content += round % 2 ? static_cast<char>(byte(random)) : alphabet[pick(random)];
        texts.SetContent(content);
        for (int n : {0, 1, 9, 10, 91, 1001, 9999}) {
            const std::string text = texts.Text(n);
            const bool fromALine =
                std::any_of(texts.Lines().begin(), texts.Lines().end(), [&](const auto& l) {
                    return l.starts_with(std::to_string(n)) && l.ends_with(text);
                });
            EXPECT_TRUE(text.empty() || fromALine) << round << " " << n;
        }
    }
}

TEST(LanguageTexts, ALookupSeesOnly4096CharactersOfALine) {
    TLanguageTexts texts;
    texts.SetContent("1001" + std::string(5000, 'x'));
    EXPECT_EQ(texts.Text(1001), std::string(4092, 'x'));
    texts.SetContent(std::string(4094, 'x') + "\r\n" + std::string(4094, '1') + "42");
    EXPECT_EQ(texts.Text(42), "") << "digits beyond 4096 characters are not seen";
}

TEST(LanguageTexts, EmptyLastLineIsNotCounted) {
    TLanguageTexts texts;
    texts.SetContent("1a\r\n2b\r\n");
    EXPECT_EQ(texts.Lines().size(), 2u);
    texts.SetContent("1a\r\n\r\n");
    EXPECT_EQ(texts.Lines().size(), 2u);
}

TEST(LanguageTexts, MessageAddsTheDetailAfterAColon) {
    TLanguageTexts texts;
    texts.SetContent("9008Ung\xFCltige Eingabe\r\n9010Verschiebung X\r\n9014Editor fehlt");
    EXPECT_EQ(texts.Message(9014, ""), "Editor fehlt");
    EXPECT_EQ(texts.Message(9008, texts.Text(9010)), "Ung\xFCltige Eingabe: Verschiebung X");
    EXPECT_EQ(texts.Message(1234, "detail"), ": detail") << "missing text, detail kept";
}

TEST(LanguageTexts, FileNamesByLanguageNumber) {
    const std::pair<int, const char*> rows[] = {
        {1, "german.txt"}, {2, "english.txt"}, {3, "english.txt"}, {4, "english.txt"},
        {0, "german.txt"}, {5, "german.txt"},  {-1, "german.txt"}};
    for (const auto& [number, name] : rows)
        EXPECT_EQ(LanguageFileName(number), name) << number;
}

TEST(LanguageTexts, FailedLoadKeepsThePreviousTexts) {
    TempFolder dir;
    TLanguageTexts texts;
    texts.SetContent("1001Rohteil");
    const auto missing = dir / "english.txt";
    try {
        texts.Load(missing);
        FAIL() << "loading a missing file succeeded";
    } catch (const EConfigError& e) {
        EXPECT_EQ(std::string(e.what()), "Datei " + missing.string() +
                                             " kann nicht ge\xF6"
                                             "ffnet werden");
    }
    EXPECT_THROW(texts.Load(dir.path()), EConfigError) << "a folder is no language file";
    EXPECT_EQ(texts.Text(1001), "Rohteil");

    writeBytes(dir / "english.txt", "1001Blank\r\n");
    texts.Load(dir / "english.txt");
    EXPECT_EQ(texts.Text(1001), "Blank");
}

TEST(LanguageTexts, CaptionTableNamesEachControlOnce) {
    std::set<std::pair<std::string, std::string>> seen;
    for (const auto& row : korvex::config::CaptionTable()) {
        EXPECT_TRUE(seen.emplace(row.window, row.objectName).second)
            << row.window << " " << row.objectName;
        EXPECT_GE(row.number, 1001);
        EXPECT_LE(row.number, 4233);
    }
    const auto first = korvex::config::CaptionTable().front();
    EXPECT_EQ(first.number, 1001);
    EXPECT_STREQ(first.objectName, "BBlank");
}

// The four-digit numbers that follow each occurrence of `before` in the text, where only
// blanks may stand between them (a std::regex would do, but warns under the sanitizer build).
std::vector<int> numbersAfter(const std::string& text, const std::string& before) {
    std::vector<int> numbers;
    for (auto at = text.find(before); at != std::string::npos; at = text.find(before, at + 1)) {
        auto digits = text.find_first_not_of(" \t", at + before.size());
        if (digits == std::string::npos) break;
        auto end = digits;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
            ++end;
        if (end - digits == 4) numbers.push_back(std::stoi(text.substr(digits, 4)));
    }
    return numbers;
}

// Every language number the code names: the registry, its ranges and the tables.
std::set<int> numbersUsedByTheCode() {
    using namespace korvex::text;
    std::set<int> numbers(std::begin(REGISTERED), std::end(REGISTERED));
    for (int n = FirstGraphicTooltip; n <= LastGraphicTooltip; ++n)
        numbers.insert(n);
    for (int n = FirstProblemText; n <= LastProblemText; ++n)
        numbers.insert(n);
    for (int n = FirstDotProblemText; n <= LastDotProblemText; ++n)
        numbers.insert(n);
    for (const auto& table :
         {std::span<const int>(INFORMATION_DIALOG_TEXTS), std::span<const int>(ToolCaptionTexts),
          std::span<const int>(SURFACE_CHOICE_TEXTS)})
        numbers.insert(table.begin(), table.end());
    for (const auto& row : korvex::config::CaptionTable())
        numbers.insert(row.number);
    return numbers;
}

// A number written directly into a lookup anywhere in src/ must be registered too.
TEST(LanguageTexts, EveryNumberLookedUpInTheSourcesIsRegistered) {
    const std::set<int> registered = numbersUsedByTheCode();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(SOURCE / "src")) {
        const auto extension = entry.path().extension();
        if (extension != ".cpp" && extension != ".h") continue;
        const std::string text = readBytes(entry.path());
        for (const char* call : {"Text(", "Message(", "Format("})
            for (int n : numbersAfter(text, call))
                EXPECT_TRUE(registered.contains(n)) << entry.path() << " looks up " << n;
    }
}

TEST(LanguageTexts, NumberCollectionFindsConstantsAndLiteralLookups) {
    const std::string code =
        "inline constexpr int A = 9002;\nint B = 40960;\nt.Text(9203); m.Message( 9008, x);"
        "Text(k); Text(12)";
    EXPECT_EQ(numbersAfter(code, "="), (std::vector<int>{9002}));
    EXPECT_EQ(numbersAfter(code, "Text("), (std::vector<int>{9203}));
    EXPECT_EQ(numbersAfter(code, "Message("), (std::vector<int>{9008}));
}

TEST(LanguageTexts, BothLanguageFilesHaveATextForEveryNumberTheCodeUses) {
    const auto numbers = numbersUsedByTheCode();
    EXPECT_GT(numbers.size(), 100u);
    for (const char* name : {"german.txt", "english.txt"}) {
        TLanguageTexts texts;
        texts.Load(SOURCE / "data" / name);
        for (int n : numbers)
            EXPECT_FALSE(texts.Text(n).empty()) << name << " lacks " << n;
        // No text of the program may be shadowed by a longer number written before it.
        for (const auto& line : texts.Lines()) {
            if (line.empty() || line[0] < '0' || line[0] > '9') continue;
            const int n = std::stoi(line.substr(0, 4));
            EXPECT_EQ(texts.Text(n), line.substr(4)) << name << ": " << line;
        }
    }
}

TEST(LanguageTexts, DeliveredFilesAreWindows1252WithCrLf) {
    for (const char* name : {"german.txt", "english.txt"}) {
        const std::string bytes = readBytes(SOURCE / "data" / name);
        ASSERT_FALSE(bytes.empty()) << name;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') {
                EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << name << " at " << i;
            }
            if (bytes[i] == '\r') {
                EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << name << " at " << i;
            }
        }
    }
    TLanguageTexts german;
    german.Load(SOURCE / "data" / "german.txt");
    EXPECT_EQ(german.Text(2006), "&Einf\xFCgen") << "umlauts are single bytes";
    EXPECT_EQ(german.Text(3015), "Symbolgr\xF6\xDF"
                                 "e und Kodierung");
}

TEST(LanguageTexts, HelpFileNamedByEachLanguageIsInstalled) {
    const std::filesystem::path executableFolder =
        std::filesystem::path(KORVEX_DATA_DIR).parent_path();
    for (const char* name : {"german.txt", "english.txt"}) {
        TLanguageTexts texts;
        texts.Load(SOURCE / "data" / name);
        const std::string help = texts.Text(9203);
        ASSERT_FALSE(help.empty()) << name;
        EXPECT_TRUE(std::filesystem::is_regular_file(executableFolder / help))
            << name << ": " << help;
    }
}

// The save dialog's one filter entry is text 4119 + suffix + "|*." + suffix, so the text must
// read as the start of a description that ends in the pattern, like the built-in "NC-Programm
// *.nc".
TEST(LanguageTexts, SaveFilterDescriptionEndsInTheSuffixPattern) {
    for (const char* name : {"german.txt", "english.txt"}) {
        TLanguageTexts texts;
        texts.Load(SOURCE / "data" / name);
        const std::string filter = texts.Text(4119) + "h|*.h";
        const std::string description = filter.substr(0, filter.find('|'));
        EXPECT_TRUE(description.ends_with(" *.h")) << name << ": " << description;
        EXPECT_GT(description.size(), 4u) << name << ": a description, not only the pattern";
    }
}

} // namespace

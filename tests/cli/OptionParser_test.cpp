#include "cli/OptionParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korvex::cli;

namespace {

const TOptionRules WORDS{{"--check", "-h"}, {"--size", "-o"}};
const TOptionRules STRICT{{"--save"}, {"--tool", "-o"}, false, false, false};
const TOptionRules TEXTS{{}, {"--text", "-o"}, true, false, false, {"--text"}};

// What the parse left: the refusal, or the values, flags and words it read.
std::string outcome(const std::vector<std::string>& args, const TOptionRules& rules) {
    TParsedArgs parsed;
    if (const auto problem = ParseArguments(args, rules, parsed)) return problem->Text();
    std::string read;
    for (const auto& [name, value] : parsed.Values)
        read += name + "=" + value + " ";
    for (const std::string& flag : parsed.Flags)
        read += flag + " ";
    for (const std::string& word : parsed.Positionals)
        read += "[" + word + "]";
    return read;
}

} // namespace

TEST(OptionParser, TakesApartWhatEachCommandAccepts) {
    const struct {
        std::vector<std::string> args;
        const TOptionRules& rules;
        std::string expected;
    } cases[] = {
        {{"--size", "C10X10", "A"}, WORDS, "--size=C10X10 [A]"},
        {{"--size=C10X10", "A"}, WORDS, "--size=C10X10 [A]"},
        {{"--size=", "A"}, WORDS, "--size= [A]"},
        {{"A", "--size", "-x", "--check"}, WORDS, "--size=-x --check [A]"},
        {{"-", "--", "--size", "-o"}, WORDS, "[-][--size][-o]"},
        {{"--", "--"}, WORDS, "[--]"},
        {{"--size", "1", "--size", "2"}, WORDS, "--size=1 --size=2 "},
        {{"-o=x"}, WORDS, "unknown option '-o=x'"},
        {{"--check=1"}, WORDS, "unknown option '--check=1'"},
        {{"-5"}, WORDS, "unknown option '-5'"},
        {{"A", "--size"}, WORDS, "option --size needs a value"},
        {{"--tool", "cone:90", "--save"}, STRICT, "--tool=cone:90 --save "},
        {{"--tool=cone:90"}, STRICT, "--tool=cone:90 "},
        {{"job.ncm"}, STRICT, "unknown argument 'job.ncm'"},
        {{"--"}, STRICT, "unknown argument '--'"},
        {{"--tool", ""}, STRICT, "option --tool needs a value"},
        {{"--tool="}, STRICT, "option --tool needs a value"},
        {{"--tool", "a", "--tool", "b"}, STRICT, "option --tool given twice"},
        {{"--text", "", "J"}, TEXTS, "--text= [J]"},
        {{"--text=", "J"}, TEXTS, "--text= [J]"},
        {{"-o", "", "J"}, TEXTS, "option -o needs a value"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(outcome(c.args, c.rules), c.expected) << testing::PrintToString(c.args);
}

TEST(OptionParser, TheLastValueOfARepeatedOptionCounts) {
    TParsedArgs parsed;
    ASSERT_FALSE(ParseArguments({"--size", "1", "--size=2"}, WORDS, parsed));
    EXPECT_EQ(parsed.Value("--size"), "2");
    EXPECT_EQ(parsed.Value("-o"), std::nullopt);
}

#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvex::cli {

// How one command takes its arguments apart.
struct TOptionRules {
    std::vector<std::string_view> Flags;  // options without a value ("--check", "-h")
    std::vector<std::string_view> Valued; // options with one: "--opt value" or "--opt=value"
    // Without positional arguments every word that is no option is an unknown argument.
    bool Positionals = true;
    bool EmptyValues = true;    // "--text ''" is a value; without, the option needs one
    bool RepeatsReplace = true; // a repeated option's last value counts; without, it is refused
};

struct TParsedArgs {
    std::vector<std::pair<std::string, std::string>> Values; // in their order, repeats too
    std::set<std::string, std::less<>> Flags;
    std::vector<std::string> Positionals; // in their order; after "--" every word is one

    bool Has(std::string_view flag) const { return Flags.contains(flag); }
    // The option's last value.
    std::optional<std::string> Value(std::string_view option) const;
};

struct TArgumentProblem {
    enum TKind { Unknown, NeedsValue, GivenTwice };
    TKind Kind = Unknown;
    std::string Argument; // the word as given (Unknown), else the option's name
    bool Positionals = true;

    // "unknown option '-x'" (or "unknown argument 'x'" where no positional is taken),
    // "option --x needs a value", "option --x given twice".
    std::string Text() const;
};

// Reads the arguments in their order and stops at the first that breaks the rules.
std::optional<TArgumentProblem> ParseArguments(const std::vector<std::string>& args,
                                               const TOptionRules& rules, TParsedArgs& parsed);

// The marking log for one run, instead of the one the settings name: a SQLite file or a
// "postgresql://..." URL. Every command that reads or writes the log takes it.
inline constexpr std::string_view LogOption = "--log";
// --log's value as a location; empty without it.
std::filesystem::path LogLocation(const TParsedArgs& parsed);

} // namespace korvex::cli

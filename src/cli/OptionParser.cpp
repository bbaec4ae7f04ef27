#include "cli/OptionParser.h"

#include "base/PathText.h"

#include <algorithm>

namespace korvex::cli {

namespace {

bool listed(const std::vector<std::string_view>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

std::optional<std::string> TParsedArgs::Value(std::string_view option) const {
    const auto it = std::find_if(Values.rbegin(), Values.rend(),
                                 [option](const auto& value) { return value.first == option; });
    return it == Values.rend() ? std::nullopt : std::optional<std::string>(it->second);
}

std::string TArgumentProblem::Text() const {
    switch (Kind) {
    case Unknown:
        return (Positionals ? "unknown option '" : "unknown argument '") + Argument + "'";
    case NeedsValue:
        return "option " + Argument + " needs a value";
    case GivenTwice:
        return "option " + Argument + " given twice";
    }
    return {};
}

std::optional<TArgumentProblem> ParseArguments(const std::vector<std::string>& args,
                                               const TOptionRules& rules, TParsedArgs& parsed) {
    const auto problem = [&rules](TArgumentProblem::TKind kind, std::string argument) {
        return TArgumentProblem{kind, std::move(argument), rules.Positionals};
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // A lone "-" is a word (standard input, a text), as is everything after "--".
        const bool optionLike = !optionsEnded && arg.size() > 1 && arg.front() == '-';
        if (rules.Positionals && !optionLike) {
            parsed.Positionals.push_back(arg);
            continue;
        }
        if (rules.Positionals && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (listed(rules.Flags, arg)) {
            parsed.Flags.insert(arg);
            continue;
        }
        const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, equals);
        if (!listed(rules.Valued, name)) return problem(TArgumentProblem::Unknown, arg);
        std::string value;
        if (equals != std::string::npos)
            value = arg.substr(equals + 1);
        else if (i + 1 < args.size())
            value = args[++i];
        else
            return problem(TArgumentProblem::NeedsValue, name);
        if (value.empty() && !rules.EmptyValues) return problem(TArgumentProblem::NeedsValue, name);
        if (!rules.RepeatsReplace && parsed.Value(name))
            return problem(TArgumentProblem::GivenTwice, name);
        parsed.Values.emplace_back(name, std::move(value));
    }
    return std::nullopt;
}

std::filesystem::path LogLocation(const TParsedArgs& parsed) {
    const auto given = parsed.Value(LogOption);
    return given ? base::Utf8Path(*given) : std::filesystem::path();
}

} // namespace korvex::cli

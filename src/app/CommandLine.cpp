#include "app/CommandLine.h"

#include <algorithm>
#include <string_view>

namespace korvex::app {

namespace {

std::string trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::string joined(std::vector<std::string>::const_iterator from,
                   std::vector<std::string>::const_iterator to) {
    std::string text;
    for (auto it = from; it != to; ++it) {
        if (it != from) text += ' ';
        text += *it;
    }
    return text;
}

} // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    TCommandLine result;
    if (arguments.empty()) return result;
    if (arguments.front().starts_with("/V")) {
        // "/" separates folders here, so a path may hold "/D" ("~/Documents"): a "/D" of its own
        // is the one that counts.
        const auto own = std::find(arguments.begin() + 1, arguments.end(), "/D");
        if (own != arguments.end()) {
            result.Kind = TCommandLine::Form::Batch;
            std::string templatePath = arguments.front().substr(2);
            if (own != arguments.begin() + 1)
                templatePath += ' ' + joined(arguments.begin() + 1, own);
            result.Template = trimmed(templatePath);
            result.Output = trimmed(joined(own + 1, arguments.end()));
            result.HasOutput = true;
            return result;
        }
        const std::string all = joined(arguments.begin(), arguments.end());
        const std::size_t d = all.find("/D");
        if (d == std::string::npos) {
            result.Kind = TCommandLine::Form::BatchNoOutput;
            return result;
        }
        result.Kind = TCommandLine::Form::Batch;
        result.Template = trimmed(std::string_view(all).substr(2, d - 2));
        result.Output = trimmed(d + 3 < all.size() ? std::string_view(all).substr(d + 3) : "");
        result.HasOutput = true;
        return result;
    }
    result.Kind = TCommandLine::Form::Open;
    result.Template = arguments.front();
    result.ClearText = arguments.size() > 1;
    if (arguments.size() > 2) {
        result.Output = arguments.at(2);
        result.HasOutput = true;
    }
    return result;
}

} // namespace korvex::app

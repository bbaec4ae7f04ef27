#include "log/LogTexts.h"

#include "base/PathText.h"
#include "base/TextNumbers.h"

namespace korvex::log {

std::string FillIn(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string filled;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t k = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '1') : 9;
        if (text[i] == '%' && k < values.size()) {
            filled += values.begin()[k];
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}

std::string DuplicateText(const config::TLanguageTexts& texts, const TMarkRecord& earlier,
                          bool question) {
    return FillIn(texts.Text(question ? text::DuplicateQuestion : text::DuplicateRefusal),
                  {earlier.Text, earlier.TimeLocal, base::PathText(earlier.Output)});
}

std::string LogErrorText(const config::TLanguageTexts& texts, const ELogError& error) {
    std::string words = texts.Text(error.Message.Text);
    if (error.Reason != 0) words += ": " + texts.Text(error.Reason);
    if (!error.Message.Detail.empty()) words += " (" + error.Message.Detail + ")";
    return words + ". " + texts.Text(text::LogWayOut);
}

std::string ContentKindWords(const config::TLanguageTexts& texts, std::string_view kind) {
    if (kind == "TEXT") return texts.Text(text::LogKindText);
    if (kind.starts_with("ISO15434-"))
        return FillIn(texts.Text(text::LogKindIso15434), {kind.substr(9)});
    return std::string(kind);
}

// The read-back check keeps its verdict in fixed English words; they lead the record's text.
std::string ReadBackWords(const config::TLanguageTexts& texts, std::string_view readBack) {
    struct TPhrase {
        std::string_view English;
        int Text;
    };
    // Longest first: "reads as the text only mirrored" begins with "reads as the text".
    static constexpr TPhrase verdicts[] = {
        {"reads as the text only mirrored", text::VerdictReadsMirrored},
        {"reads as the text", text::VerdictReads},
        {"reads as something else", text::VerdictReadsAsOther},
        {"does not read", text::VerdictDoesNotRead}};
    static constexpr TPhrase mirrors[] = {
        {" (as one mirror asks)", text::VerdictMirrorAsked},
        {" (no mirror was asked for)", text::VerdictNoMirrorAsked}};
    for (const TPhrase& verdict : verdicts) {
        if (!readBack.starts_with(verdict.English)) continue;
        std::string words = texts.Text(verdict.Text);
        std::string_view rest = readBack.substr(verdict.English.size());
        for (const TPhrase& mirror : mirrors)
            if (rest.starts_with(mirror.English)) {
                words += texts.Text(mirror.Text);
                rest.remove_prefix(mirror.English.size());
            }
        return words + std::string(rest);
    }
    return std::string(readBack);
}

std::string InterruptedRunText(const config::TLanguageTexts& texts, const TInterruptedRun& run) {
    return FillIn(texts.Text(text::InterruptedRun),
                  {std::to_string(run.Written), std::to_string(run.Count), run.Counter,
                   std::to_string(run.First)});
}

} // namespace korvex::log

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

std::string InterruptedRunText(const config::TLanguageTexts& texts, const TInterruptedRun& run) {
    return FillIn(texts.Text(text::InterruptedRun),
                  {std::to_string(run.Written), std::to_string(run.Count), run.Counter,
                   std::to_string(run.First)});
}

} // namespace korvex::log

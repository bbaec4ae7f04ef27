#include "config/LanguageTexts.h"

#include "base/AtomicFile.h"
#include "config/ConfigError.h"
#include "base/TextLines.h"

namespace korvex::config {

using base::ReadFileBytes;
using base::SplitLines;

void TLanguageTexts::Load(const std::filesystem::path& file) {
    std::string bytes;
    if (!ReadFileBytes(file, bytes)) throw EConfigError(CannotOpenText(file));
    SetContent(bytes);
}

void TLanguageTexts::SetContent(std::string_view content) {
    lines_ = SplitLines(content);
}

std::string TLanguageTexts::Text(int number) const {
    const std::string digits = std::to_string(number);
    for (const auto& line : lines_) {
        const std::string_view seen = std::string_view(line).substr(0, LookupWidth);
        if (seen.starts_with(digits)) return std::string(seen.substr(digits.size()));
    }
    return {};
}

std::string TLanguageTexts::Message(int number, std::string_view detail) const {
    std::string message = Text(number);
    if (!detail.empty()) {
        message += ": ";
        message += detail;
    }
    return message;
}

std::string TLanguageTexts::Message(const base::TTextMessage& message) const {
    const std::string detail = message.DetailText != 0 ? Text(message.DetailText) : message.Detail;
    if (message.Text == 0) return detail;
    std::vector<std::string_view> values(message.Values.begin(), message.Values.end());
    std::string words = FormatText(Text(message.Text), values);
    if (!detail.empty()) words += ": " + detail;
    return words;
}

std::string FormatText(std::string_view text, std::span<const std::string_view> values) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const std::size_t k = static_cast<std::size_t>(next - '1');
        if (text[i] == '%' && next >= '1' && next <= '9' && k < values.size()) {
            result += values[k];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::string LanguageFileName(int language) {
    return LanguageCode(language) == "en" ? "english.txt" : "german.txt";
}

std::string LanguageCode(int language) {
    return language >= 2 && language <= 4 ? "en" : "de";
}

} // namespace korvex::config

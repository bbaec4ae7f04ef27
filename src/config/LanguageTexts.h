#pragma once

#include "base/TextMessage.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::config {

// The text with "%1" ... "%9" replaced by the values in one pass.
std::string FormatText(std::string_view text, std::span<const std::string_view> values);

// The numbered texts of the loaded language file: each line is a decimal number followed
// immediately by its text. Only one language is loaded at a time.
class TLanguageTexts {
  public:
    static constexpr std::size_t LookupWidth = 4096; // a lookup sees this much of a line

    // Replaces the loaded lines by the file's lines (CR LF, CR or LF). When the file cannot
    // be opened, throws EConfigError "Datei <file> kann nicht geöffnet werden" and keeps the
    // previous lines.
    void Load(const std::filesystem::path& file);

    // Replaces the loaded lines by the lines of a text; an empty last line does not count.
    void SetContent(std::string_view content);

    const std::vector<std::string>& Lines() const { return lines_; }

    // Language text N: the rest of the first line that begins with the decimal digits of N,
    // or empty when no line does. A pure prefix test, so "10010 mm" answers 1001 with "0 mm".
    std::string Text(int number) const;

    // Text N, then ": " and the detail when the detail is not empty.
    std::string Message(int number, std::string_view detail = {}) const;

    // The words of a message the core handed up (see base::TTextMessage).
    std::string Message(const base::TTextMessage& message) const;

    // Text N with "%1" ... "%9" replaced by the arguments in one pass, so an argument that
    // holds "%2" stays as it is; a marker without its argument stays too, as the window's
    // texts behave.
    template <typename... Args> std::string Format(int number, const Args&... args) const {
        const std::string_view values[] = {std::string_view(args)..., std::string_view()};
        return FormatText(Text(number), {values, sizeof...(Args)});
    }

  private:
    std::vector<std::string> lines_;
};

// "german.txt" for language 1, "english.txt" for 2 to 4, German for anything else.
std::string LanguageFileName(int language);
// The ISO 639-1 code of that language ("de" or "en"), for the translations of Qt's own dialogs.
std::string LanguageCode(int language);

} // namespace korvex::config

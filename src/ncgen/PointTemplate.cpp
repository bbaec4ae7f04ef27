#include "ncgen/PointTemplate.h"

#include "ncgen/NumberReading.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace korvex::ncgen {

namespace {

constexpr std::array<std::string_view, 10> Placeholders = {
    "[#XVAL]",  "[#YVAL]",  "[#ZVAL]",  "[#RVAL]", "[#FVAL]",
    "[#XAXIS]", "[#YAXIS]", "[#ZAXIS]", "[#AVAL]", "[#AAXIS]",
};

std::array<std::string_view, 10> valuesInOrder(const TPointValues& values) {
    return {values.XVal,  values.YVal,  values.ZVal,  values.RVal, values.FVal,
            values.XAxis, values.YAxis, values.ZAxis, values.AVal, values.AAxis};
}

// Wraps at 32 bits instead of overflowing.
std::int32_t nextBlockNumber(std::int32_t counter, std::int32_t step) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(counter) +
                                     static_cast<std::uint32_t>(step));
}

char* put(char* out, std::string_view text) {
    return std::copy(text.begin(), text.end(), out);
}

} // namespace

void SubstitutePlaceholders(std::string& line, const TPointValues& values) {
    if (line.find("[#") == std::string::npos) {
        return; // the common case: a line without placeholders
    }
    const auto texts = valuesInOrder(values);
    for (std::size_t i = 0; i < Placeholders.size(); ++i) {
        if (const auto at = line.find(Placeholders[i]); at != std::string::npos) {
            line.replace(at, Placeholders[i].size(), texts[i]);
        }
    }
}

void EmitLine(std::string line, const TPointValues& values, const TActiveProfile& profile,
              std::int32_t& blockCounter, std::vector<std::string>& program, bool minusMarked) {
    SubstitutePlaceholders(line, values);
    if (!profile.BlockNumbering) {
        program.push_back(std::move(line));
        return;
    }
    // Decided on the template, not on the filled line: a negative coordinate written first
    // would otherwise lose its sign.
    if (minusMarked && !line.empty() && line.front() == '-') {
        line.erase(0, 1);
        program.push_back(std::move(line));
        return;
    }
    std::array<char, 16> number{};
    const auto end = std::to_chars(number.data(), number.data() + number.size(), blockCounter).ptr;
    const std::string_view digits(number.data(), static_cast<std::size_t>(end - number.data()));
    const std::string& letter = profile.Format.Satzzeichen;
    std::string numbered(letter.size() + digits.size() + 1 + line.size(), '\0');
    char* out = put(numbered.data(), letter);
    out = put(out, digits);
    *out++ = ' ';
    put(out, line);
    program.push_back(std::move(numbered));
    blockCounter = nextBlockNumber(blockCounter, profile.Format.Schritt);
}

void WriteTemplateLine(const std::string& templateLine, const TPointValues& values,
                       const TActiveProfile& profile, std::int32_t& blockCounter,
                       std::vector<std::string>& program) {
    std::string line = templateLine;
    SubstitutePlaceholders(line, values);
    const bool minusMarked = templateLine.starts_with('-');
    EmitLine(std::move(line), values, profile, blockCounter, program, minusMarked);
}

namespace {

// One replacement of the first occurrence on a line whose X and Y texts are left open; an
// occurrence never reaches across them, so the first one lies in the first fixed piece that
// holds it.
template <typename TPiece>
void replaceFirst(std::vector<TPiece>& pieces, std::string_view placeholder, char value,
                  std::string_view text) {
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        std::string& fixed = pieces[i].Text;
        const auto at = pieces[i].Value == 0 ? fixed.find(placeholder) : std::string::npos;
        if (at == std::string::npos) {
            continue;
        }
        if (value == 0) {
            fixed.replace(at, placeholder.size(), text);
            return;
        }
        std::string after = fixed.substr(at + placeholder.size());
        fixed.erase(at);
        const auto next = pieces.begin() + static_cast<std::ptrdiff_t>(i) + 1;
        pieces.insert(next, {TPiece{{}, value}, TPiece{std::move(after), 0}});
        return;
    }
}

} // namespace

TTemplatePlan::TTemplatePlan(const TTemplate& lines, const TPointValues& values,
                             const TActiveProfile& profile)
    : blockLetter_(profile.Format.Satzzeichen), step_(profile.Format.Schritt) {
    const auto texts = valuesInOrder(values);
    for (const std::string& templateLine : lines) {
        if (templateLine.empty()) {
            continue;
        }
        TLine line;
        line.Pieces.push_back({templateLine, 0});
        for (int pass = 0; pass < 2; ++pass) {
            for (std::size_t i = 0; i < Placeholders.size(); ++i) {
                const char value = i == 0 ? 'X' : i == 1 ? 'Y' : 0;
                replaceFirst(line.Pieces, Placeholders[i], value, texts[i]);
            }
        }
        // No placeholder starts with "-", so a template's leading "-" stays the first
        // character of the first piece.
        const bool minusMarked = templateLine.front() == '-';
        line.Numbered = profile.BlockNumbering && !minusMarked;
        if (profile.BlockNumbering && minusMarked) {
            line.Pieces.front().Text.erase(0, 1);
        }
        for (const TPiece& piece : line.Pieces) {
            line.FixedSize += piece.Text.size();
            line.XCount += piece.Value == 'X' ? 1 : 0;
            line.YCount += piece.Value == 'Y' ? 1 : 0;
        }
        lines_.push_back(std::move(line));
    }
}

bool TTemplatePlan::Accepts(std::string_view xText, std::string_view yText) {
    const auto plain = [](std::string_view text) {
        return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
            return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        });
    };
    return plain(xText) && plain(yText);
}

void TTemplatePlan::Write(std::string_view xText, std::string_view yText,
                          std::int32_t& blockCounter, std::vector<std::string>& program) const {
    std::array<char, 16> number{};
    for (const TLine& line : lines_) {
        std::string_view digits;
        std::size_t size = line.FixedSize + static_cast<std::size_t>(line.XCount) * xText.size() +
                           static_cast<std::size_t>(line.YCount) * yText.size();
        if (line.Numbered) {
            const auto end =
                std::to_chars(number.data(), number.data() + number.size(), blockCounter).ptr;
            digits = {number.data(), static_cast<std::size_t>(end - number.data())};
            size += blockLetter_.size() + digits.size() + 1;
        }
        // Sized once: the program keeps no spare capacity in each of its many lines.
        std::string text(size, '\0');
        char* out = text.data();
        if (line.Numbered) {
            out = put(out, blockLetter_);
            out = put(out, digits);
            *out++ = ' ';
            blockCounter = nextBlockNumber(blockCounter, step_);
        }
        for (const TPiece& piece : line.Pieces) {
            out = put(out, piece.Value == 'X'   ? xText
                           : piece.Value == 'Y' ? yText
                                                : std::string_view(piece.Text));
        }
        program.push_back(std::move(text));
    }
}

std::string FieldValueText(std::string_view fieldText, std::string_view profileText,
                           const TNCFormat& format) {
    const TNumberReading reading = ReadNumber(fieldText);
    return reading.ok ? FormatNumber(format, reading.value) : std::string(profileText);
}

} // namespace korvex::ncgen

#include "ncgen/PointTemplate.h"

#include "ncgen/NumberReading.h"

#include <array>
#include <charconv>

namespace korvex::ncgen {

void SubstitutePlaceholders(std::string& line, const TPointValues& values) {
    if (line.find("[#") == std::string::npos) {
        return; // the common case: a line without placeholders
    }
    const std::array<std::pair<std::string_view, std::string_view>, 8> table = {{
        {"[#XVAL]", values.XVal},
        {"[#YVAL]", values.YVal},
        {"[#ZVAL]", values.ZVal},
        {"[#RVAL]", values.RVal},
        {"[#FVAL]", values.FVal},
        {"[#XAXIS]", values.XAxis},
        {"[#YAXIS]", values.YAxis},
        {"[#ZAXIS]", values.ZAxis},
    }};
    for (const auto& [placeholder, value] : table) {
        if (const auto at = line.find(placeholder); at != std::string::npos) {
            line.replace(at, placeholder.size(), value);
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
    std::string numbered;
    numbered.reserve(profile.Format.Satzzeichen.size() + 12 + line.size());
    numbered += profile.Format.Satzzeichen;
    numbered.append(number.data(), end);
    numbered += ' ';
    numbered += line;
    program.push_back(std::move(numbered));
    // Wraps at 32 bits instead of overflowing.
    blockCounter = static_cast<std::int32_t>(static_cast<std::uint32_t>(blockCounter) +
                                             static_cast<std::uint32_t>(profile.Format.Schritt));
}

void WriteTemplateLine(const std::string& templateLine, const TPointValues& values,
                       const TActiveProfile& profile, std::int32_t& blockCounter,
                       std::vector<std::string>& program) {
    std::string line = templateLine;
    SubstitutePlaceholders(line, values);
    const bool minusMarked = templateLine.starts_with('-');
    EmitLine(std::move(line), values, profile, blockCounter, program, minusMarked);
}

std::string FieldValueText(std::string_view fieldText, std::string_view profileText,
                           const TNCFormat& format) {
    const TNumberReading reading = ReadNumber(fieldText);
    return reading.ok ? FormatNumber(format, reading.value) : std::string(profileText);
}

} // namespace korvex::ncgen

#include "ncgen/HrtLine.h"

#include "base/TextNumbers.h"
#include "ncgen/DateCodes.h"
#include "ncgen/DotFont.h"
#include "ncgen/NumberReading.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace korvex::ncgen {

namespace {

constexpr std::array<std::pair<std::string_view, THrtPosition>, 4> POSITIONS = {{
    {"BELOW", THrtPosition::Below},
    {"ABOVE", THrtPosition::Above},
    {"LEFT", THrtPosition::Left},
    {"RIGHT", THrtPosition::Right},
}};

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while ((at = text.find_first_not_of(' ', at)) != text.npos) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        out.push_back(text.substr(at, end - at));
        at = end;
    }
    return out;
}

std::string characterName(unsigned char c) {
    if (c > ' ' && c != 0x7F) return std::string(1, static_cast<char>(c));
    std::array<char, 4> hex{};
    const auto end = std::to_chars(hex.data(), hex.data() + hex.size(), c, 16).ptr;
    return std::string("0x") + (c < 16 ? "0" : "") + std::string(hex.data(), end);
}

std::optional<long double> positive(std::string_view text) {
    const TNumberReading reading = ReadNumber(text);
    if (!reading.ok || !(reading.value > 0)) return std::nullopt;
    return reading.value;
}

} // namespace

std::string_view HrtPositionName(THrtPosition position) {
    for (const auto& [name, value] : POSITIONS)
        if (value == position) return name;
    return {};
}

std::optional<THrtLine> ReadHrtValue(std::string_view value) {
    const std::vector<std::string_view> tokens = words(value);
    if (tokens.empty()) return std::nullopt;
    THrtLine line;
    for (const auto& [name, position] : POSITIONS)
        if (tokens[0] == name) line.Position = position;
    if (line.Position == THrtPosition::None) return std::nullopt;
    if (tokens.size() > 1) line.Height = std::string(tokens[1]);
    if (tokens.size() > 2) line.Pitch = std::string(tokens[2]);
    return line;
}

std::string HrtValue(const THrtLine& line) {
    std::string value = std::string(HrtPositionName(line.Position)) + " " + line.Height;
    if (!line.Pitch.empty()) value += " " + line.Pitch;
    return value;
}

std::string HrtText(const THrtLine& line, std::string_view humanReadable, std::string_view code,
                    const TMoment& now) {
    std::string text;
    if (!line.Text.empty()) {
        const std::string dated = ExpandDateCodes(line.Text, now, {});
        constexpr std::string_view placeholder = "{line}";
        std::size_t at = 0;
        for (std::size_t hit; (hit = dated.find(placeholder, at)) != dated.npos;
             at = hit + placeholder.size())
            text.append(dated, at, hit - at).append(code);
        text.append(dated, std::min(at, dated.size()));
    } else if (!humanReadable.empty()) {
        text = humanReadable;
    } else {
        text = code;
    }
    // A line break is no character of the font: the lines stand side by side.
    std::string joined;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool lineEnd = text[i] == '\r' || text[i] == '\n';
        if (!lineEnd) {
            joined += text[i];
        } else if (!(text[i] == '\n' && i > 0 && text[i - 1] == '\r')) {
            joined += ' ';
        }
    }
    return joined;
}

THrtLayout LayoutHrt(const THrtLine& line, std::string_view text, int cols, int rows,
                     long double spacing) {
    THrtLayout layout;
    const std::optional<long double> height = positive(line.Height);
    const std::optional<long double> pitch =
        line.Pitch.empty() ? (height ? std::optional(*height / (DotFontRows - 1)) : std::nullopt)
                           : positive(line.Pitch);
    if (!height || !pitch) {
        layout.Refusal = {text::HrtBadHeight, 0, {}, {line.Height, line.Pitch}};
        return layout;
    }
    std::vector<TDotGlyph> glyphs;
    for (const char c : text) {
        const std::optional<TDotGlyph> glyph = DotGlyph(c);
        if (!glyph) {
            layout.Refusal = {text::HrtUnknownCharacter,
                              0,
                              {},
                              {characterName(static_cast<unsigned char>(c)), std::string(text)}};
            return layout;
        }
        glyphs.push_back(*glyph);
    }
    const long double p = *pitch;
    layout.Pitch = p;
    if (glyphs.empty()) return layout;
    const long double symbolWidth = spacing * (cols - 1);
    const long double symbolHeight = spacing * (rows - 1);
    // Half a module to the symbol's edge, one module of quiet zone, half a dot of the text.
    const long double gap = spacing / 2 + spacing + p / 2;
    const long double width = p * (DotFontAdvance * static_cast<long double>(glyphs.size()) - 2);
    const long double tall = p * (DotFontRows - 1);
    long double left = (symbolWidth - width) / 2; // the first column's centre
    long double top = 0;                          // the top row's centre
    switch (line.Position) {
    case THrtPosition::Above:
        top = symbolHeight + gap + tall;
        break;
    case THrtPosition::Left:
        left = -gap - width;
        top = (symbolHeight + tall) / 2;
        break;
    case THrtPosition::Right:
        left = symbolWidth + gap;
        top = (symbolHeight + tall) / 2;
        break;
    case THrtPosition::Below:
    case THrtPosition::None:
        top = -gap;
        break;
    }
    for (std::size_t k = 0; k < glyphs.size(); ++k)
        for (int row = 0; row < DotFontRows; ++row)
            for (int column = 0; column < DotFontColumns; ++column)
                if (glyphs[k][static_cast<std::size_t>(row)] & (0x10 >> column))
                    layout.Dots.push_back(
                        {left + p * (static_cast<long double>(k) * DotFontAdvance + column),
                         top - p * row});
    return layout;
}

std::vector<std::string> SymbolSimulationLines(const std::vector<std::string>& simulationLines) {
    const auto mark = std::find(simulationLines.begin(), simulationLines.end(), HrtSimulationMark);
    return {simulationLines.begin(), mark};
}

} // namespace korvex::ncgen

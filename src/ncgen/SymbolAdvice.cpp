#include "ncgen/SymbolAdvice.h"

#include "base/TextNumbers.h"
#include "content/SymbolContent.h"
#include "datamatrix/ERangeError.h"
#include "datamatrix/SizeTable.h"
#include "base/DecimalText.h"
#include "ncgen/LayerTable.h"
#include "ncgen/NumberReading.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace korvex::ncgen {

namespace {

namespace dm = datamatrix;
using base::FixedText;

constexpr long double ReadableShare = 0.16L;
constexpr long double IuidLeastModule = 0.19L;
constexpr long double MergingDot = 1.05L;
constexpr long double Slack = 1e-9L;

std::string mm(long double value) {
    return FixedText(value, 3) + " mm";
}

// The rows the text takes in `format`, nothing when it does not fit there.
std::optional<int> rowsIn(const dm::TDatamatrix& text, dm::TFormat format) {
    dm::TDatamatrix symbol = text;
    symbol.PreferredFormat = format;
    symbol.AllowDmre = false;
    symbol.rebuild = true;
    try {
        symbol.paintBarcode(nullptr);
    } catch (const dm::ERangeError&) {
        return std::nullopt;
    }
    if (symbol.CalculatedFormat() != format) return std::nullopt;
    return symbol.MatrixRows();
}

TSymbolAdvice::TKind kindOf(dm::TFormat format) {
    if (dm::IsDmre(format)) return TSymbolAdvice::TKind::Dmre;
    return format < dm::C8X18 ? TSymbolAdvice::TKind::Square : TSymbolAdvice::TKind::Rectangle;
}

int reasonText(TSymbolAdvice::TKind kind) {
    switch (kind) {
    case TSymbolAdvice::TKind::Square:
        return text::AdviseSquare;
    case TSymbolAdvice::TKind::Rectangle:
        return text::AdviseRectangle;
    default:
        return text::AdviseDmre;
    }
}

} // namespace

TSymbolAdvice AdviseSymbol(const dm::TDatamatrix& symbol, long double diameter, long double spacing,
                           long double dotDiameter) {
    TSymbolAdvice advice;
    const long double limit = ReadableShare * diameter;
    // The smallest symbol of each size in list order: squares, rectangles, DMRE.
    std::optional<dm::TFormat> square;
    std::optional<dm::TFormat> best; // fewest rows, for a smaller spacing
    int bestRows = 0;
    for (int f = dm::C10X10; f < dm::FORMAT_COUNT; ++f) {
        const auto format = static_cast<dm::TFormat>(f);
        const std::optional<int> rows = rowsIn(symbol, format);
        if (!rows) continue;
        if (!square && format < dm::C8X18) square = format;
        if (*rows * spacing <= limit + Slack) {
            advice.Kind = kindOf(format);
            advice.Format = format;
            advice.Spacing = spacing;
            advice.Across = *rows * spacing;
            advice.Reason = {
                reasonText(advice.Kind),
                {std::string(dm::FormatName(format)), mm(advice.Across), mm(diameter)}};
            return advice;
        }
        if (!best || *rows < bestRows) {
            best = format;
            bestRows = *rows;
        }
    }
    if (!square) return advice; // NoSymbol: the text fits none

    const long double least = std::max(IuidLeastModule, dotDiameter / MergingDot);
    // Whole hundredths, so the spacing can be typed as advised.
    const long double smaller = std::floor(limit / bestRows * 100 + Slack) / 100;
    if (smaller >= least - Slack && smaller < spacing) {
        advice.Kind = TSymbolAdvice::TKind::SmallerSpacing;
        advice.Format = *best;
        advice.Spacing = smaller;
        advice.Across = bestRows * smaller;
        advice.Reason = {text::AdviseSmallerSpacing,
                         {mm(smaller), std::string(dm::FormatName(*best)), mm(advice.Across),
                          mm(diameter), mm(least)}};
        return advice;
    }
    advice.Kind = TSymbolAdvice::TKind::RotaryAxis;
    advice.Format = *square;
    advice.Spacing = spacing;
    advice.Across = dm::SizeInfo(*square).symbolRows * spacing; // wound round, not across
    advice.Reason = {text::AdviseRotaryAxis,
                     {std::string(dm::FormatName(*square)), mm(spacing), mm(diameter), mm(least)}};
    return advice;
}

TSymbolAdvice AdviseLayer(const TLayer& layer, long double diameter, long double dotDiameter) {
    std::string code;
    for (int i = 0; i < layer.LineCount && i < MaxLayerLines; ++i) {
        if (i > 0) code += "\r\n";
        code += layer.Lines[static_cast<std::size_t>(i)];
    }
    const content::TSymbolContent content = content::PrepareContent(layer.Content, code);
    if (!content.Ok()) return {};
    dm::TDatamatrix symbol;
    content::ApplyContent(content, symbol);
    const auto encodation = ReadEncodationIndex(layer.DMEnc).value_or(0);
    symbol.Encoding =
        encodation < dm::ENCODING_COUNT ? static_cast<dm::TEncoding>(encodation) : dm::E_ASCII;
    return AdviseSymbol(symbol, diameter, std::fabs(ReadNumber(layer.Size).value), dotDiameter);
}

void AddSymbolAdvice(std::vector<TRoundNote>& notes, const TLayer& layer,
                     const base::TCylinder& cylinder) {
    const auto wide = std::find_if(notes.begin(), notes.end(), [](const TRoundNote& note) {
        return note.Text == text::SymbolWideOnCylinder;
    });
    if (wide == notes.end() || !cylinder.Usable()) return;
    const TSymbolAdvice advice = AdviseLayer(layer, 2 * cylinder.Radius);
    if (advice.Kind != TSymbolAdvice::TKind::NoSymbol) notes.insert(wide + 1, advice.Reason);
}

} // namespace korvex::ncgen

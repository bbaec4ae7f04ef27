#include "ncgen/SymbolAdvice.h"

#include "base/TextNumbers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korvex::ncgen;
namespace dm = korvex::datamatrix;
using TKind = TSymbolAdvice::TKind;
namespace text = korvex::text;

namespace {

// A 20-character serial; in ASCII, the window's default, it takes 14 codewords.
dm::TDatamatrix serial() {
    dm::TDatamatrix symbol;
    symbol.Code = "KX-2026-SN-000012345";
    symbol.Encoding = dm::E_ASCII;
    return symbol;
}

// Across = rows x spacing must stay within 16 % of the diameter: Ø8 1.28 mm, Ø12 1.92 mm,
// Ø20 3.2 mm, Ø40 6.4 mm. The serial's 14 codewords need 18 rows as a square (C18X18), 12 as a
// classic rectangle (C12X26), 8 as the lowest one (C8X48, DMRE).
TEST(SymbolAdvice, ShaftsFromEightToFortyMillimetresAtTwoToFiveTenths) {
    struct Row {
        long double diameter;
        long double spacing;
        TKind kind;
        dm::TFormat format;
        long double advisedSpacing;
        int reason;
        std::vector<std::string> values;
    };
    const std::vector<Row> rows = {
        {8,
         0.2L,
         TKind::RotaryAxis,
         dm::C18X18,
         0.2L,
         text::AdviseRotaryAxis,
         {"C18X18", "0.200 mm", "8.000 mm", "0.190 mm"}},
        {8, 0.5L, TKind::RotaryAxis, dm::C18X18, 0.5L, 0, {}},
        {12,
         0.2L,
         TKind::Dmre,
         dm::C8X48,
         0.2L,
         text::AdviseDmre,
         {"C8X48", "1.600 mm", "12.000 mm"}},
        {12,
         0.3L,
         TKind::SmallerSpacing,
         dm::C8X48,
         0.24L,
         text::AdviseSmallerSpacing,
         {"0.240 mm", "C8X48", "1.920 mm", "12.000 mm", "0.190 mm"}},
        {12, 0.5L, TKind::SmallerSpacing, dm::C8X48, 0.24L, 0, {}},
        {20,
         0.2L,
         TKind::Rectangle,
         dm::C12X26,
         0.2L,
         text::AdviseRectangle,
         {"C12X26", "2.400 mm", "20.000 mm"}},
        {20, 0.3L, TKind::Dmre, dm::C8X48, 0.3L, 0, {}},
        {20, 0.4L, TKind::Dmre, dm::C8X48, 0.4L, 0, {}}, // 3.2 mm: the limit itself
        {20, 0.5L, TKind::SmallerSpacing, dm::C8X48, 0.4L, 0, {}},
        {40,
         0.2L,
         TKind::Square,
         dm::C18X18,
         0.2L,
         text::AdviseSquare,
         {"C18X18", "3.600 mm", "40.000 mm"}},
        {40, 0.3L, TKind::Square, dm::C18X18, 0.3L, 0, {}},
        {40, 0.4L, TKind::Rectangle, dm::C12X26, 0.4L, 0, {}},
        {40, 0.5L, TKind::Rectangle, dm::C12X26, 0.5L, 0, {}},
    };
    for (const Row& row : rows) {
        const TSymbolAdvice advice = AdviseSymbol(serial(), row.diameter, row.spacing);
        const std::string name = "Ø" + std::to_string(static_cast<int>(row.diameter)) + " at " +
                                 std::to_string(static_cast<double>(row.spacing));
        EXPECT_EQ(advice.Kind, row.kind) << name;
        EXPECT_EQ(dm::FormatName(advice.Format), dm::FormatName(row.format)) << name;
        EXPECT_NEAR(static_cast<double>(advice.Spacing), static_cast<double>(row.advisedSpacing),
                    1e-9)
            << name;
        if (advice.Kind != TKind::RotaryAxis)
            EXPECT_LE(advice.Across, 0.16L * row.diameter + 1e-9L) << name;
        if (row.reason == 0) continue;
        EXPECT_EQ(advice.Reason.Text, row.reason) << name;
        EXPECT_EQ(advice.Reason.Args, row.values) << name;
    }
}

// With the tool's dot known, a spacing below the dot over 105 % would merge the dots.
TEST(SymbolAdvice, SmallerSpacingStopsWhereTheDotsWouldMerge) {
    EXPECT_EQ(AdviseSymbol(serial(), 12, 0.3L, 0.2L).Kind, TKind::SmallerSpacing);
    const TSymbolAdvice merged = AdviseSymbol(serial(), 12, 0.3L, 0.3L);
    EXPECT_EQ(merged.Kind, TKind::RotaryAxis);
    dm::TDatamatrix tooLong = serial();
    tooLong.Code = std::string(3200, 'x');
    EXPECT_EQ(AdviseSymbol(tooLong, 40, 0.3L).Kind, TKind::NoSymbol);
}

} // namespace

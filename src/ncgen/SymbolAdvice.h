#pragma once

#include "datamatrix/TDatamatrix.h"
#include "ncgen/Layer.h"
#include "ncgen/RoundChecks.h"

namespace korvex::ncgen {

// What marks a text readably on a shaft: the symbol's extent across the axis stays within
// 16 % of the diameter (rows x spacing, the long side of a rectangle along the axis).
struct TSymbolAdvice {
    enum class TKind { Square, Rectangle, Dmre, SmallerSpacing, RotaryAxis, NoSymbol };
    TKind Kind = TKind::NoSymbol;
    datamatrix::TFormat Format = datamatrix::AUTO;
    long double Spacing = 0; // the dot spacing advised, in mm
    long double Across = 0;  // the symbol's extent across the axis at that spacing
    TRoundNote Reason;       // the advice as a language text with its values
};

// In this order: the smallest square, classic rectangle or DMRE rectangle that fits; else the
// largest smaller spacing that makes one fit, kept at or above the IUID least module (0.19 mm)
// and, when `dotDiameter` is known, at or above the dot over 105 % (dots that touch merge,
// AS9132); else the rotary axis with the smallest square. `symbol` carries the text, its
// encodation and marks; its size settings are ignored.
TSymbolAdvice AdviseSymbol(const datamatrix::TDatamatrix& symbol, long double diameter,
                           long double spacing, long double dotDiameter = 0);

// The same for a layer's text, content kind, encodation and dot spacing; NoSymbol when the
// content is refused.
TSymbolAdvice AdviseLayer(const TLayer& layer, long double diameter, long double dotDiameter = 0);

// After the note that a symbol is too wide for the shaft (not on the rotary axis, which the
// program already uses), the advice what fits instead.
void AddSymbolAdvice(std::vector<TRoundNote>& notes, const TLayer& layer,
                     const base::TCylinder& cylinder);

} // namespace korvex::ncgen

#pragma once

#include "config/LanguageTexts.h"
#include "readback/ProgramNotes.h"

#include <string>

namespace korvex::job {

// The notes on a generated program in the loaded language (Windows-1252); empty when there is
// nothing to say.
std::string BlankFitWords(const simulation::TBlankFit& fit, const config::TLanguageTexts& texts);
std::string StatsWords(const ncgen::TMarkingStats& stats, std::string_view feed,
                       const config::TLanguageTexts& texts);
std::string ReadBackWords(const readback::TReadBackResult& result,
                          const config::TLanguageTexts& texts);
// korvex-cli prints these on lines of their own, the window joins them in its status bar.
std::string CycleTimeWords(const ncgen::TCycleTime& cycle, const config::TLanguageTexts& texts);
std::string DotFiguresWords(const ncgen::TDotFigures& dots, const config::TLanguageTexts& texts);
// The dots too small and those that merge; empty inside 60-105 % of the spacing.
std::string DotWarningWords(const ncgen::TDotFigures& dots, const config::TLanguageTexts& texts);
std::string DotMarginWords(const readback::TDotMargin& margin, const config::TLanguageTexts& texts);

} // namespace korvex::job

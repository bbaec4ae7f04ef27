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

} // namespace korvex::job

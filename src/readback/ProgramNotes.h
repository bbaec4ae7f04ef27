#pragma once

#include "ncgen/CycleTime.h"
#include "ncgen/DotGeometry.h"
#include "ncgen/Layer.h"
#include "ncgen/MarkingStats.h"
#include "ncgen/OutputProfile.h"
#include "ncgen/RoundChecks.h"
#include "readback/ReadBack.h"
#include "simulation/BlankFit.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::readback {

// What can be said about one generated program besides writing it; korvex-cli prints it, the
// window shows it in its status bars.
struct TProgramNotes {
    simulation::TBlankFit BlankFit;         // in lathe mode the heights only
    std::string BlankWarning;               // empty when it fits or there is no blank
    std::vector<ncgen::TRoundNote> Round;   // a symbol on a cylinder along X or Y
    std::vector<std::string> RoundWarnings; // the same in English
    std::optional<ncgen::TMarkingStats> Stats;
    std::string StatsText;                  // with stats
    std::optional<ncgen::TCycleTime> Cycle; // with stats and a feed that is a plain number
    // With stats or check and a tool in the profile: what the tool makes of the dots.
    std::optional<ncgen::TDotFigures> Dots;
    base::TTextMessage ToolProblem; // the profile's tool could not be read, so nothing was checked
    std::optional<TReadBackResult> Check;
    bool EndsWithLineBreak = false; // the text's last line is empty: CR LF is encoded
};

// Said when EndsWithLineBreak holds.
inline constexpr const char* LineBreakWarning =
    "the text ends with a line break, which the symbol encodes as CR LF";

// The layer's text as the symbol encodes it (Windows-1252, lines joined by CR LF).
std::string LayerCode(const ncgen::TLayer& layer);

TProgramNotes NotesFor(const std::vector<std::string>& simulationLines, const ncgen::TLayer& layer,
                       const ncgen::TActiveProfile& profile, const std::string& blankDefinition,
                       bool stats, bool check, std::string_view rapidRate = {});

} // namespace korvex::readback

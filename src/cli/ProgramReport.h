#pragma once

#include "ncgen/Layer.h"
#include "ncgen/OutputProfile.h"
#include "readback/ReadBack.h"

#include <optional>
#include <string>
#include <vector>

namespace korvex::cli {

// What korvex-cli can say about one generated program besides writing it.
struct TProgramNotes {
    std::string BlankWarning;                       // empty when it fits or there is no blank
    std::string Stats;                              // with --stats
    std::optional<readback::TReadBackResult> Check; // with --check
};

// The layer's text as the symbol encodes it (Windows-1252, lines joined by CR LF).
std::string LayerCode(const ncgen::TLayer& layer);

TProgramNotes NotesFor(const std::vector<std::string>& simulationLines, const ncgen::TLayer& layer,
                       const ncgen::TActiveProfile& profile, const std::string& blankDefinition,
                       bool stats, bool check);

} // namespace korvex::cli

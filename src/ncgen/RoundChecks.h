#pragma once

#include "base/Cylinder.h"
#include "ncgen/Surface.h"

#include <string>
#include <vector>

namespace korvex::ncgen {

// A warning about marking a round part: language text Text with its values for %1, %2.
struct TRoundNote {
    int Text = 0;
    std::vector<std::string> Args;

    bool operator==(const TRoundNote&) const = default;
};

// The checks beside the blank check for a symbol on a cylinder along X or Y (none for another
// blank): wider across than 16 % of the diameter, the common limit for reading curved parts;
// with Z following the surface and a tool, dots narrower than 80 % of a round dot or centres
// shifted by more than 20 % of the dot diameter (the AS9132 limits). Reads the program's
// simulation lines; `pitch` is the layer's dot spacing.
std::vector<TRoundNote> RoundPartNotes(const base::TCylinder& blank, const TTool& tool,
                                       const std::vector<std::string>& simulationLines,
                                       long double pitch);

// The note in English, its values put in.
std::string RoundNoteText(const TRoundNote& note);

} // namespace korvex::ncgen

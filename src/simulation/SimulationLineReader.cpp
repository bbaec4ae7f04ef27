#include "simulation/SimulationLineReader.h"

#include "base/SimulationLineText.h"
#include "simulation/SimulationNumber.h"

namespace korvex::simulation {

SimulationLineFields ReadSimulationLineFields(std::string_view line) {
    const base::TSimulationLineText text = base::SplitSimulationLine(line);
    SimulationLineFields read;
    read.kind = static_cast<SimulationLineFields::Kind>(text.kind);
    read.tagEnded = text.tagEnded;
    read.separated = text.separated;
    read.along = text.along;
    if (!text.separated) return read;
    read.first = ParseSimulationNumber(text.first);
    read.second = ParseSimulationNumber(text.second);
    return read;
}

} // namespace korvex::simulation

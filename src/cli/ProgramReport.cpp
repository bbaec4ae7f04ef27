#include "cli/ProgramReport.h"

#include "ncgen/MarkingStats.h"
#include "ncgen/NumberReading.h"
#include "simulation/BlankFit.h"

namespace korvex::cli {

std::string LayerCode(const ncgen::TLayer& layer) {
    std::string code;
    for (int i = 0; i < layer.LineCount && i < ncgen::MaxLayerLines; ++i) {
        if (i > 0) code += "\r\n";
        code += layer.Lines[static_cast<std::size_t>(i)];
    }
    return code;
}

TProgramNotes NotesFor(const std::vector<std::string>& simulationLines, const ncgen::TLayer& layer,
                       const ncgen::TActiveProfile& profile, const std::string& blankDefinition,
                       bool stats, bool check) {
    TProgramNotes notes;
    // A lathe marks in the X/Z plane, not on the face at ZP that the blank describes.
    const bool lathe = profile.Y == "Z" && profile.J == "K";
    if (!blankDefinition.empty() && !lathe) {
        std::vector<simulation::TDot> dots;
        for (const auto& point : ncgen::SimulationPoints(simulationLines))
            dots.push_back({point.X, point.Y});
        notes.BlankWarning = simulation::BlankFitWarning(
            simulation::CheckBlankFit(blankDefinition, dots, ncgen::ReadNumber(layer.Size).value,
                                      ncgen::ReadNumber(layer.Angle).value));
    }
    if (stats)
        notes.Stats = ncgen::DescribeStats(ncgen::MarkingStats(simulationLines, profile.FeedZ),
                                           profile.FeedZ);
    if (check)
        notes.Check = readback::CheckReadBack(simulationLines, layer, profile, LayerCode(layer));
    return notes;
}

} // namespace korvex::cli

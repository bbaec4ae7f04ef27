#include "readback/ProgramNotes.h"

#include "ncgen/DotGeometry.h"
#include "ncgen/GenerateLayer.h"
#include "ncgen/NumberReading.h"
#include "ncgen/SimulationLine.h"
#include "ncgen/SymbolAdvice.h"
#include "simulation/BlankDefinition.h"

namespace korvex::readback {

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
                       bool stats, bool check, std::string_view rapidRate) {
    TProgramNotes notes;
    notes.EndsWithLineBreak = ncgen::EndsWithLineBreak(LayerCode(layer));
    if (!blankDefinition.empty()) {
        std::vector<simulation::TDot> dots;
        for (const auto& point : ncgen::SimulationPoints(simulationLines))
            dots.push_back({point.X, point.Y});
        // A round program's depths follow the surface dot by dot and its safe plane clears
        // the highest point: one level pair does not describe it.
        const bool laid = ncgen::ReadSurfaceLine(simulationLines).has_value();
        std::optional<simulation::TMarkingLevels> levels;
        if (const auto zr = ncgen::SimulationLevels(simulationLines); zr && !laid)
            levels = simulation::TMarkingLevels{zr->Safety, zr->Depth};
        // A lathe marks in its X/Z plane, drawn as the graphic's X/Y: the heights hold there
        // as well, but the blank has no face of its own to fit the symbol on.
        notes.BlankFit = simulation::CheckBlankFit(
            blankDefinition, dots, ncgen::ReadNumber(layer.Size).value,
            ncgen::ReadNumber(layer.Angle).value, levels, !ncgen::IsLatheMode(profile));
        // Laid onto the surface, the symbol no longer stands on the plane that falls away.
        if (laid && notes.BlankFit.Result == simulation::TBlankFit::Curved &&
            !notes.BlankFit.OffCylinder)
            notes.BlankFit.Result = simulation::TBlankFit::Fits;
        notes.BlankWarning = simulation::BlankFitWarning(notes.BlankFit);
        // A lathe's flat on a shaft is no symbol laid round it, unless the part turns.
        if (laid || !ncgen::IsLatheMode(profile))
            notes.Round = ncgen::RoundPartNotes(simulation::CylinderOf(blankDefinition),
                                                ncgen::CheckedTool(profile), simulationLines,
                                                ncgen::ReadNumber(layer.Size).value);
        ncgen::AddSymbolAdvice(notes.Round, layer, simulation::CylinderOf(blankDefinition));
        for (const ncgen::TRoundNote& note : notes.Round)
            notes.RoundWarnings.push_back(ncgen::RoundNoteText(note));
    }
    if (stats) {
        notes.Stats = ncgen::MarkingStats(simulationLines, profile.FeedZ);
        notes.StatsText = ncgen::DescribeStats(*notes.Stats, profile.FeedZ);
        notes.Cycle = ncgen::CycleTime(*notes.Stats, ncgen::RapidRateOf(rapidRate),
                                       ncgen::ProgramBlocks(profile, notes.Stats->Points));
    }
    if (stats || check) {
        notes.ToolProblem = profile.ToolProblem;
        notes.Dots = ncgen::DotFigures(simulationLines, ncgen::CheckedTool(profile),
                                       ncgen::ReadNumber(layer.Size).value);
    }
    if (check) notes.Check = CheckReadBack(simulationLines, layer, profile, LayerCode(layer));
    return notes;
}

} // namespace korvex::readback

#include "job/BlankCheck.h"

#include "base/DecimalText.h"
#include "base/TextNumbers.h"
#include "ncgen/GenerateLayer.h"
#include "ncgen/NumberReading.h"
#include "simulation/BlankCollision.h"

#include <cctype>
#include <cmath>
#include <limits>

namespace korvex::job {

namespace {

std::string upper(std::string_view text) {
    std::string word;
    for (const char c : text)
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return word;
}

// The word `word` in an NC line, not a longer one (G7 but not G70, DIAMON but not DIAMONX).
bool hasWord(const std::string& line, std::string_view word) {
    for (std::size_t at = line.find(word); at != line.npos; at = line.find(word, at + 1)) {
        const bool before = at == 0 || !std::isalnum(static_cast<unsigned char>(line[at - 1]));
        const std::size_t end = at + word.size();
        const bool after =
            end == line.size() ||
            (!std::isalnum(static_cast<unsigned char>(line[end])) && line[end] != '.');
        if (before && after) return true;
    }
    return false;
}

// A lathe reads X as a radius unless the program switched to diameters before its first plunge.
bool diameterMode(const std::vector<std::string>& ncLines, std::size_t firstPlunge) {
    bool diameter = false;
    for (std::size_t i = 0; i < ncLines.size() && i < firstPlunge; ++i) {
        const std::string line = upper(ncLines[i]);
        if (hasWord(line, "G7") || hasWord(line, "DIAMON") || hasWord(line, "DIAM90"))
            diameter = true;
        if (hasWord(line, "G8") || hasWord(line, "DIAMOF")) diameter = false;
    }
    return diameter;
}

// The first non-empty template line with the placeholder, counted as the generator writes them.
std::size_t lineWith(const ncgen::TTemplate& lines, std::string_view placeholder) {
    std::size_t written = 0;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        if (line.find(placeholder) != line.npos) return written;
        ++written;
    }
    return 0;
}

std::string mm(long double value) {
    return base::FixedText(value, 3) + " mm";
}

} // namespace

simulation::TMachineSetup MachineSetupOf(const ncgen::TActiveProfile& profile,
                                         const std::vector<std::string>& ncLines, bool rotary,
                                         std::size_t firstPlunge) {
    simulation::TMachineSetup setup;
    const std::string letters[3] = {upper(profile.X), upper(profile.Y), upper(profile.Z)};
    const auto axisWritten = [&letters](std::string_view machine) -> char {
        for (int k = 0; k < 3; ++k)
            if (letters[k] == machine) return "XYZ"[k];
        return 0;
    };
    if (ncgen::IsLatheMode(profile)) {
        setup.XNegated = true;
        setup.TurningAxis = axisWritten("Z");
        const bool diameter = diameterMode(ncLines, firstPlunge);
        for (int k = 0; k < 3; ++k) {
            setup.AxisAtZero[k] = letters[k] == "X";
            setup.Diameter[k] = diameter && letters[k] == "X";
        }
    } else if (rotary) {
        const std::string rotaryLetter = upper(profile.A);
        if (rotaryLetter == "A" || rotaryLetter == "B" || rotaryLetter == "C")
            setup.TurningAxis = axisWritten(std::string(1, "XYZ"[rotaryLetter[0] - 'A']));
    }
    return setup;
}

base::TTextMessage CheckAgainstBlank(std::string_view blankDefinition,
                                     const ncgen::TGenerateFields& fields,
                                     const ncgen::TActiveProfile& profile,
                                     const ncgen::TGenerateCommandResult& generated) {
    const std::vector<std::size_t>& starts = generated.PointLines;
    std::vector<simulation::TDotLines> dotLines;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const ncgen::TTemplate& lines = i == 0 ? profile.FirstPoint : profile.FollowingPoints;
        dotLines.push_back({starts[i] + lineWith(lines, "[#RVAL]") + 1,
                            starts[i] + lineWith(lines, "[#ZVAL]") + 1});
    }
    const bool rotary = fields.Surface.Mode == ncgen::TSurfaceMode::Rotary;
    const simulation::TMachineSetup setup =
        MachineSetupOf(profile, generated.NCLines, rotary,
                       dotLines.empty() ? generated.NCLines.size() : dotLines[0].Plunge - 1);
    // A controller parameter as the depth cannot be judged here; the machine knows it.
    const ncgen::TNumberReading infeed = ncgen::ReadNumber(fields.ZEbeneauswahl);
    const long double depth =
        infeed.ok ? std::fabs(infeed.value) : std::numeric_limits<long double>::infinity();
    const simulation::TCollision found = simulation::CheckBlankCollision(
        blankDefinition, generated.SimulationLines, dotLines, depth, setup);
    const std::string line = std::to_string(found.Line);
    switch (found.Kind) {
    case simulation::TCollision::None:
        return {};
    case simulation::TCollision::AxisMismatch:
        return {text::TurningAxisMismatch, 0, {}, {found.MachineAxis, found.BlankAxis}};
    case simulation::TCollision::NotACylinder:
        return {text::TurningNoCylinder, 0, {}, {found.MachineAxis}};
    case simulation::TCollision::TooDeep:
        return {text::FeedTooDeep, 0, {}, {line, mm(found.Depth), mm(depth)}};
    case simulation::TCollision::RapidInside:
        return {text::RapidIntoBlank, 0, {}, {line}};
    case simulation::TCollision::SafePlaneInside:
        return {text::SafePlaneInBlank, 0, {}, {line}};
    }
    return {};
}

} // namespace korvex::job

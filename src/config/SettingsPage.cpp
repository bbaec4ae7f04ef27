#include "config/SettingsPage.h"

#include "config/SettingsSteps.h"
#include "ncgen/NumberReading.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace korvex::config {

std::optional<std::string> StartAfterEdit(std::string_view start, std::string_view step) {
    if (ncgen::ReadNumber(start).ok || start == step) return std::nullopt;
    return std::string(step);
}

std::optional<TNumbering> StepNumbering(bool plus, const TNumbering& now) {
    const auto step = StepSetting(TSettingsStep::BlockStep, plus, now.Step);
    if (!step) return std::nullopt;
    return TNumbering{*step, *step};
}

TPointAndZeros AfterToggle(TPointAndZeros clicked, TNumberToggle which) {
    if (which == TNumberToggle::Point && !clicked.Point) clicked.TrailingZeros = true;
    if (which == TNumberToggle::TrailingZeros && !clicked.TrailingZeros) clicked.Point = true;
    return clicked;
}

int ShownToolKind(const ncgen::TToolTexts& texts) {
    const ncgen::TToolReading tool = ncgen::ReadTool(texts);
    if (tool.Problem.Empty()) return static_cast<int>(tool.Tool.Kind);
    return texts.Kind.empty() ? 0 : std::clamp(std::atoi(texts.Kind.c_str()), 0, 2);
}

ncgen::TToolTexts KeptToolTexts(const ncgen::TToolTexts& typed, const ncgen::TToolTexts& before) {
    const auto blank = [](const ncgen::TToolTexts& t) {
        return t.Angle.empty() && t.Tip.empty() && t.Radius.empty();
    };
    ncgen::TToolTexts kept = typed;
    if (before.Kind.empty() && blank(before) && typed.Kind == "0" && blank(typed))
        kept.Kind.clear();
    return kept;
}

TToolMeasures ToolMeasures(int kind) {
    return {kind == 1, kind == 1, kind == 2};
}

long double SketchDepth(std::string_view zLevel) {
    const auto depth = ncgen::ReadNumber(zLevel);
    return depth.ok ? std::fabs(depth.value) : 0.1L;
}

std::vector<std::string> ShownTemplate(const ncgen::TTemplate& lines) {
    std::vector<std::string> shown;
    for (const std::string& line : lines)
        if (!line.empty()) shown.push_back(line);
    return shown;
}

ncgen::TTemplate TypedTemplate(const std::vector<std::string>& typed) {
    ncgen::TTemplate lines;
    for (std::size_t j = 0; j < lines.size() && j < typed.size(); ++j)
        lines[j] = typed[j];
    return lines;
}

int DefaultProfileChoice(int checked) {
    return checked > 0 ? checked : 1;
}

} // namespace korvex::config

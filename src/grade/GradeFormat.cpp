#include "grade/GradeFormat.h"

#include "base/DecimalText.h"

#include <algorithm>
#include <cctype>

namespace korvex::grade {
namespace {

std::string fixed(double value, int decimals) {
    return base::FixedText(value, decimals);
}

std::string jsonNumber(double value, int decimals) {
    return fixed(value, decimals);
}

std::string jsonGrade(TGrade grade) {
    return std::string("\"") + GradeLetter(grade) + "\"";
}

} // namespace

std::string ReportJson(const TGradeReport& report) {
    if (!report.Ok()) return "{\"error\":\"" + report.Problem + "\"}\n";
    const TAs9132& as = report.Depths.front().As9132;
    const TIso15415& iso = report.Depths.front().Iso;
    std::string out = "{\"verdict\":";
    out += report.Verdict ? "\"" + std::string(VerdictWords(report.Verdict->Verdict)) + "\""
                          : std::string("null");
    out += ",\"as9132\":{\"dot_size_percent\":{\"min\":" + jsonNumber(as.DotMin, 1) +
           ",\"mean\":" + jsonNumber(as.DotMean, 1) + ",\"max\":" + jsonNumber(as.DotMax, 1) + "}";
    out += ",\"dots_outside_window_percent\":" + jsonNumber(as.OutsidePercent, 1);
    out += ",\"centre_offset_percent_max\":" + jsonNumber(as.CentreOffsetMax, 1);
    out += ",\"ovality_percent_max\":" + jsonNumber(as.OvalityMax, 1);
    out += ",\"angle_of_distortion_degrees\":" + jsonNumber(as.AngleOfDistortion, 2);
    out += ",\"quiet_zone_modules\":" + (as.QuietZone ? jsonNumber(*as.QuietZone, 1) : "null");
    out += ",\"pass\":" + std::string(report.As9132Pass() ? "true" : "false") + "}";
    out += ",\"iso15415\":{\"axial_nonuniformity\":" + jsonNumber(iso.AxialNonuniformity, 3);
    out += ",\"grid_nonuniformity\":" + jsonNumber(iso.GridNonuniformity, 3);
    out += ",\"unused_error_correction\":" + jsonNumber(iso.UnusedErrorCorrection, 2);
    out += ",\"fixed_pattern_damage\":" + jsonGrade(iso.FixedPattern);
    out += ",\"overall\":" + jsonGrade(report.Overall()) + "}";
    out += ",\"not_predicted\":[";
    for (std::size_t i = 0; i < NotPredicted.size(); ++i)
        out += (i ? ",\"" : "\"") + std::string(NotPredicted[i]) + "\"";
    out += "]}\n";
    return out;
}

std::optional<TRequirement> ReadRequirement(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "as9132") return TRequirement{true, TGrade::F};
    if (lower.size() == 1 && lower[0] >= 'a' && lower[0] <= 'd')
        return TRequirement{false, static_cast<TGrade>(4 - (lower[0] - 'a'))};
    return std::nullopt;
}

std::string ShortOf(const TGradeReport& report, const TRequirement& requirement) {
    if (!report.Ok()) return report.Problem;
    if (report.Verdict && report.Verdict->Verdict == TVerdict::DoesNotRead)
        return "the predicted mark does not read";
    if (requirement.As9132 && !report.As9132Pass()) return "the predicted mark fails AS9132";
    if (!requirement.As9132 && report.Overall() < requirement.Least)
        return std::string("the predicted grade ") + GradeLetter(report.Overall()) + " is below " +
               GradeLetter(requirement.Least);
    return {};
}

std::string GradeSummary(const TGradeReport& report) {
    if (!report.Ok()) return "no grade: " + report.Problem;
    std::string line(1, GradeLetter(report.Overall()));
    line += report.As9132Pass() ? ", AS9132 passes" : ", AS9132 fails";
    if (report.Verdict) line += ", " + std::string(VerdictWords(report.Verdict->Verdict));
    // The mean dot size, so a verification of the part can stand beside it.
    if (!report.Depths.empty())
        line += ", dots " + base::FixedText(report.Depths.front().As9132.DotMean, 0) + " %";
    return line;
}

} // namespace korvex::grade

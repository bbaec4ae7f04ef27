#include "base/DecimalText.h"
#include "base/Windows1252.h"
#include "verify/VerifyPhoto.h"

namespace korvex::verify {
namespace {

std::string number(double value, int decimals) {
    return base::FixedText(value, decimals);
}

std::string jsonText(std::string_view utf8) {
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            constexpr char Hex[] = "0123456789abcdef";
            out += "\\u00";
            out += Hex[c >> 4];
            out += Hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string letter(grade::TGrade g) {
    return std::string("\"") + grade::GradeLetter(g) + "\"";
}

std::string truth(bool value) {
    return value ? "true" : "false";
}

} // namespace

std::string_view ProblemWords(TVerifyProblem problem) {
    switch (problem) {
    case TVerifyProblem::None:
        return "";
    case TVerifyProblem::Missing:
        return "the photo cannot be opened";
    case TVerifyProblem::NotImage:
        return "the file is not a PNG, JPEG, TIFF or BMP picture";
    case TVerifyProblem::TooLarge:
        return "the photo has more than 50 million pixels";
    case TVerifyProblem::Damaged:
        return "the picture is cut off or damaged";
    case TVerifyProblem::NoSymbol:
        break;
    }
    return "no readable DataMatrix symbol in the photo";
}

std::string VerifyJson(const TVerifyReport& r) {
    if (!r.Ok()) return "{\"error\":" + jsonText(ProblemWords(r.Problem)) + "}\n";
    const grade::TAs9132& as = r.As9132;
    const grade::TIso15415& iso = r.Iso;
    std::string out = "{\"calibrated\":false";
    out += ",\"decoded\":{\"text\":" + jsonText(base::Windows1252ToUtf8(r.Bytes)) +
           ",\"symbology_identifier\":" + jsonText(r.SymbologyIdentifier) +
           ",\"content_kind\":" + jsonText(r.ContentKind) + "}";
    out += ",\"symbol\":{\"cols\":" + std::to_string(r.Cols) +
           ",\"rows\":" + std::to_string(r.Rows) + ",\"mirrored\":" + truth(r.Mirrored) +
           ",\"pixels_per_cell\":" + number(r.PixelsPerCell, 2) + "}";
    out += ",\"as9132\":{\"dot_size_percent\":{\"min\":" + number(as.DotMin, 1) +
           ",\"mean\":" + number(as.DotMean, 1) + ",\"max\":" + number(as.DotMax, 1) + "}";
    out += ",\"dots_outside_window_percent\":" + number(as.OutsidePercent, 1);
    out += ",\"centre_offset_percent_max\":" + number(as.CentreOffsetMax, 1);
    out += ",\"ovality_percent_max\":" + number(as.OvalityMax, 1);
    out += ",\"angle_of_distortion_degrees\":" + number(as.AngleOfDistortion, 2);
    out += ",\"quiet_zone_modules\":" + (as.QuietZone ? number(*as.QuietZone, 1) : "null");
    out += ",\"pass\":" + truth(as.Pass()) + "}";
    out += ",\"iso15415\":{\"axial_nonuniformity\":" + number(iso.AxialNonuniformity, 3);
    out += ",\"grid_nonuniformity\":" + number(iso.GridNonuniformity, 3);
    out += ",\"unused_error_correction\":" + number(iso.UnusedErrorCorrection, 2);
    out += ",\"fixed_pattern_damage\":" + letter(iso.FixedPattern);
    out += ",\"cell_contrast\":" + number(r.CellContrast.Value, 3);
    out += ",\"cell_modulation\":" + number(r.CellModulation.Value, 3);
    out += ",\"minimum_reflectance\":" + number(r.MinimumReflectance.Value, 3);
    out += ",\"grades\":{\"axial_nonuniformity\":" + letter(iso.Axial) +
           ",\"grid_nonuniformity\":" + letter(iso.Grid) +
           ",\"unused_error_correction\":" + letter(iso.Unused) +
           ",\"fixed_pattern_damage\":" + letter(iso.FixedPattern) +
           ",\"cell_contrast\":" + letter(r.CellContrast.Grade) +
           ",\"cell_modulation\":" + letter(r.CellModulation.Grade) +
           ",\"minimum_reflectance\":" + letter(r.MinimumReflectance.Grade) + "}";
    out += ",\"overall\":" + letter(r.Overall()) + "}";
    out += ",\"dots\":[";
    for (std::size_t i = 0; i < r.Dots.size(); ++i) {
        const TVerifiedDot& d = r.Dots[i];
        out += (i ? ",{" : "{") + std::string("\"col\":") + std::to_string(d.Col) +
               ",\"row\":" + std::to_string(d.Row) + ",\"found\":" + truth(d.Found);
        if (d.Found)
            out += ",\"x\":" + number(d.X, 3) + ",\"y\":" + number(d.Y, 3) +
                   ",\"dot_size_percent\":" + number(100 * d.Diameter, 1) +
                   ",\"ovality_percent\":" +
                   number(d.Major > 0 ? 100 * (d.Major - d.Minor) / d.Major : 0, 1) +
                   ",\"centre_offset_percent\":" + number(100 * d.Offset, 1);
        out += "}";
    }
    out += "]}\n";
    return out;
}

} // namespace korvex::verify

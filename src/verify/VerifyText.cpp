#include "verify/VerifyText.h"

#include "base/DecimalText.h"
#include "base/TextNumbers.h"

namespace korvex::verify {
namespace {

std::string fixed(double value, int decimals) {
    return base::FixedText(value, decimals);
}

std::string letter(grade::TGrade g) {
    return std::string(1, grade::GradeLetter(g));
}

std::string passText(bool pass, const config::TLanguageTexts& texts) {
    return texts.Text(pass ? text::GradePass : text::GradeFail);
}

} // namespace

std::string VerifyProblemText(TVerifyProblem problem, const std::string& photoName,
                              const config::TLanguageTexts& texts) {
    switch (problem) {
    case TVerifyProblem::None:
        return {};
    case TVerifyProblem::Missing:
        return texts.Format(text::VerifyCannotOpen, photoName);
    case TVerifyProblem::NotImage:
        return texts.Format(text::VerifyNotImage, photoName);
    case TVerifyProblem::TooLarge:
        return texts.Format(text::VerifyTooLarge, photoName);
    case TVerifyProblem::Damaged:
        return texts.Format(text::VerifyDamaged, photoName);
    case TVerifyProblem::NoSymbol:
        break;
    }
    return texts.Format(text::VerifyNoSymbol, photoName);
}

std::vector<std::string> VerifyReportLines(const TVerifyReport& r, const std::string& photoName,
                                           const config::TLanguageTexts& texts) {
    if (!r.Ok()) return {VerifyProblemText(r.Problem, photoName, texts)};
    const grade::TAs9132& as = r.As9132;
    const grade::TIso15415& iso = r.Iso;
    std::vector<std::string> lines{
        texts.Format(text::VerifyPhotoSize, photoName, std::to_string(r.PhotoWidth),
                     std::to_string(r.PhotoHeight)),
        texts.Format(text::VerifyDecoded, r.Bytes, r.SymbologyIdentifier, r.ContentKind),
        texts.Format(text::VerifySymbol, std::to_string(r.Cols), std::to_string(r.Rows),
                     fixed(r.PixelsPerCell, 1))};
    if (r.Mirrored) lines.push_back(texts.Text(text::VerifyMirrored));
    const auto add = [&lines](std::string line) { lines.push_back("  " + std::move(line)); };
    add(texts.Format(text::GradeDotSize, fixed(as.DotMin, 1), fixed(as.DotMean, 1),
                     fixed(as.DotMax, 1), fixed(as.OutsidePercent, 1),
                     passText(as.DotSizePass, texts)));
    add(texts.Format(text::GradeCentreOffset, fixed(as.CentreOffsetMax, 1),
                     passText(as.CentrePass, texts)));
    std::string moved;
    int missing = 0;
    for (const TVerifiedDot& d : r.Dots) {
        missing += !d.Found;
        if (d.Found && d.Offset > 0.2)
            moved +=
                (moved.empty() ? "" : ", ") + std::to_string(d.Col) + "/" + std::to_string(d.Row);
    }
    if (!moved.empty()) add(texts.Format(text::VerifyMovedDots, moved));
    if (missing) add(texts.Format(text::VerifyDotsNotFound, std::to_string(missing)));
    add(texts.Format(text::GradeOvality, fixed(as.OvalityMax, 1), passText(as.OvalityPass, texts)));
    add(texts.Format(text::GradeAngle, fixed(as.AngleOfDistortion, 2),
                     passText(as.AnglePass, texts)));
    add(as.QuietZone ? texts.Format(text::GradeQuietZone, fixed(*as.QuietZone, 1),
                                    passText(as.QuietPass, texts))
                     : texts.Text(text::GradeQuietNotJudged));
    add(texts.Format(text::GradeAxial, fixed(iso.AxialNonuniformity, 3), letter(iso.Axial)));
    add(texts.Format(text::GradeGrid, fixed(iso.GridNonuniformity, 3), letter(iso.Grid)));
    add(texts.Format(text::GradeUnused, fixed(iso.UnusedErrorCorrection, 2), letter(iso.Unused)));
    add(texts.Format(text::GradeFixedPattern, std::to_string(iso.DamagedPatternModules),
                     letter(iso.FixedPattern)));
    add(texts.Format(text::VerifyCellContrast, fixed(r.CellContrast.Value, 3),
                     letter(r.CellContrast.Grade)));
    add(texts.Format(text::VerifyCellModulation, fixed(r.CellModulation.Value, 3),
                     letter(r.CellModulation.Grade)));
    add(texts.Format(text::VerifyMinimumReflectance, fixed(r.MinimumReflectance.Value, 3),
                     letter(r.MinimumReflectance.Grade)));
    lines.push_back(
        texts.Format(text::VerifyOverall, letter(r.Overall()), passText(as.Pass(), texts)));
    lines.push_back(texts.Text(text::VerifyNotCalibrated));
    return lines;
}

} // namespace korvex::verify

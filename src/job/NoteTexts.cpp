#include "job/NoteTexts.h"

#include "base/TextNumbers.h"
#include "base/DecimalText.h"

#include <algorithm>

namespace korvex::job {

namespace {

std::string millimetres(long double value, int decimals) {
    return base::FixedText(value, decimals);
}

// Texts 9165-9175 follow the read-back reasons one by one.
static_assert(static_cast<int>(readback::TProblem::DoesNotDecode) ==
              text::LastProblemText - text::FirstProblemText + 1);

} // namespace

namespace {

void append(std::string& words, const std::string& part) {
    if (part.empty()) return;
    if (!words.empty()) words += "; ";
    words += part;
}

std::string faceWords(const simulation::TBlankFit& fit, const config::TLanguageTexts& texts) {
    switch (fit.Result) {
    case simulation::TBlankFit::NoBlank:
    case simulation::TBlankFit::Fits:
        return {};
    case simulation::TBlankFit::Outside:
        return texts.Format(text::NoteOutside, millimetres(fit.Beyond, 3));
    case simulation::TBlankFit::Curved:
        break;
    }
    std::string words;
    // A depth far from the surface is said instead; the curvature then does not matter.
    if (!fit.DepthOff)
        words =
            texts.Format(text::NoteCurved, millimetres(fit.Span, 3), millimetres(fit.FallAway, 3));
    if (fit.OffCylinder)
        words += texts.Format(words.empty() ? text::NoteOffCylinderAlone : text::NoteOffCylinder,
                              millimetres(fit.Beyond, 3));
    return words;
}

} // namespace

std::string BlankFitWords(const simulation::TBlankFit& fit, const config::TLanguageTexts& texts) {
    std::string words;
    if (fit.SafetyTooLow)
        words = texts.Format(text::NoteSafetyTooLow, millimetres(fit.Safety, 3),
                             millimetres(fit.Top, 3));
    if (fit.DepthOff)
        append(words, texts.Format(fit.InAir() ? text::NoteMarksInAir : text::NoteMarksDeep,
                                   millimetres(fit.Depth, 3),
                                   millimetres(fit.Depth > fit.Surface ? fit.Depth - fit.Surface
                                                                       : fit.Surface - fit.Depth,
                                               3),
                                   millimetres(fit.Surface, 3)));
    append(words, faceWords(fit, texts));
    return words;
}

std::string StatsWords(const ncgen::TMarkingStats& stats, std::string_view feed,
                       const config::TLanguageTexts& texts) {
    std::string words = texts.Format(
        stats.Points == 1 ? text::NoteStatsOnePoint : text::NoteStats, std::to_string(stats.Points),
        millimetres(stats.RapidTravel, 1), millimetres(stats.PlungeTravel, 1));
    if (stats.PlungeSeconds)
        words += texts.Format(text::NotePlungeTime, millimetres(*stats.PlungeSeconds, 1), feed);
    else
        words += texts.Format(text::NoteNoPlungeTime, feed);
    return words;
}

std::string ReadBackWords(const readback::TReadBackResult& result,
                          const config::TLanguageTexts& texts) {
    using V = readback::TReadBackVerdict;
    std::string words;
    switch (result.Verdict) {
    case V::ReadsAsText:
        words = texts.Text(text::VerdictReads);
        break;
    case V::ReadsMirrored:
        words =
            texts.Text(text::VerdictReadsMirrored) +
            texts.Text(result.MirrorAsked ? text::VerdictMirrorAsked : text::VerdictNoMirrorAsked);
        break;
    case V::ReadsAsOther:
        words = texts.Text(text::VerdictReadsAsOther) + ": \"" + result.Decoded + "\"";
        break;
    case V::DoesNotRead:
        words = texts.Text(text::VerdictDoesNotRead);
        break;
    }
    const readback::TReadBackProblem& problem = result.Problem;
    if (!problem.Empty()) {
        const std::vector<std::string_view> values(problem.Values.begin(), problem.Values.end());
        const int reason = static_cast<int>(problem.Reason);
        const int firstDot = static_cast<int>(readback::TProblem::DotsTooSmall);
        const int number = reason >= firstDot ? text::FirstDotProblemText + reason - firstDot
                                              : text::FirstProblemText + reason - 1;
        words += ": " + config::FormatText(texts.Text(number), values);
    }
    if (result.Dots && result.Dots->Margin)
        words += "; " + DotMarginWords(*result.Dots->Margin, texts);
    return words;
}

std::string CycleTimeWords(const ncgen::TCycleTime& cycle, const config::TLanguageTexts& texts) {
    return texts.Format(text::CycleTimeText, base::FixedText(cycle.Seconds, 1),
                        base::FixedText(cycle.RapidRate, 0),
                        base::FixedText(ncgen::SecondsPerBlock, 2));
}

std::string DotFiguresWords(const ncgen::TDotFigures& dots, const config::TLanguageTexts& texts) {
    const long double smallest = *std::min_element(dots.Diameters.begin(), dots.Diameters.end());
    std::string words = texts.Format(text::DotFiguresText, millimetres(smallest, 3),
                                     base::FixedText(dots.SmallestFill * 100, 0));
    if (dots.IdealDepth && dots.LeastDepth) {
        std::string most =
            dots.MostDepth ? millimetres(*dots.MostDepth - *dots.IdealDepth, 3) : std::string();
        if (!most.empty() && !most.starts_with('-')) most.insert(0, 1, '+');
        words += texts.Format(text::IdealDepthText, millimetres(*dots.IdealDepth, 3),
                              millimetres(*dots.LeastDepth - *dots.IdealDepth, 3), most);
    } else if (!dots.IdealDepth) {
        words += texts.Text(text::NoIdealDepthText);
    }
    return words;
}

std::string DotWarningWords(const ncgen::TDotFigures& dots, const config::TLanguageTexts& texts) {
    std::string words;
    if (dots.TooSmall > 0)
        words = texts.Format(text::DotsTooSmallText, std::to_string(dots.TooSmall));
    if (dots.Merging > 0)
        append(words, texts.Format(text::DotsMergeText, std::to_string(dots.Merging)));
    return words;
}

std::string DotMarginWords(const readback::TDotMargin& margin,
                           const config::TLanguageTexts& texts) {
    std::string words =
        margin.ReadsFrom
            ? texts.Format(text::ReadsFromText, base::FixedText(*margin.ReadsFrom * 100.0L, 0))
            : texts.Text(text::ReadsAtNoFillText);
    words += texts.Text(margin.ReadsWithCentreError ? text::CentreErrorReadsText
                                                    : text::CentreErrorFailsText);
    if (margin.SecondOpinion)
        words += texts.Text(*margin.SecondOpinion ? text::SecondOpinionReadsText
                                                  : text::SecondOpinionFailsText);
    return words;
}

} // namespace korvex::job

#include "job/NoteTexts.h"

#include "base/TextNumbers.h"
#include "ncgen/DecimalText.h"

namespace korvex::job {

namespace {

std::string millimetres(long double value, int decimals) {
    return ncgen::FixedText(value, decimals);
}

// Texts 9165-9175 follow the read-back reasons one by one.
static_assert(static_cast<int>(readback::TProblem::DoesNotDecode) ==
              text::LastProblemText - text::FirstProblemText + 1);

} // namespace

std::string BlankFitWords(const simulation::TBlankFit& fit, const config::TLanguageTexts& texts) {
    switch (fit.Result) {
    case simulation::TBlankFit::NoBlank:
    case simulation::TBlankFit::Fits:
        return {};
    case simulation::TBlankFit::Outside:
        return texts.Format(text::NoteOutside, millimetres(fit.Beyond, 3));
    case simulation::TBlankFit::Curved:
        break;
    }
    std::string words =
        texts.Format(text::NoteCurved, millimetres(fit.Span, 3), millimetres(fit.FallAway, 3));
    if (fit.OffCylinder) words += texts.Format(text::NoteOffCylinder, millimetres(fit.Beyond, 3));
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
    // The round-dot margin is worded by the core in English for now.
    if (result.Dots && result.Dots->Margin)
        words += "; " + readback::DescribeMargin(*result.Dots->Margin);
    return words;
}

} // namespace korvex::job

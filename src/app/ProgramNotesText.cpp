#include "app/ProgramNotesText.h"

#include <QStringList>

#include "app/CodePage.h"
#include "app/Messages.h"
#include "base/TextNumbers.h"
#include "base/DecimalText.h"
#include "job/NoteTexts.h"

#include <cmath>

namespace korvex::app {

namespace {

QString number(long double value, int decimals) {
    return QString::fromLatin1(base::FixedText(value, decimals));
}

// Texts 9165-9175 follow the reasons one by one.
static_assert(static_cast<int>(readback::TProblem::DoesNotDecode) == 11);
static_assert(static_cast<int>(readback::TProblem::DotsDoNotDecode) == 14);

// The reason in the user's language, with the values it names. Only the line reason carries
// text of its own, and it comes alone, so no value can hold a later placeholder.
QString problemText(const readback::TReadBackProblem& problem, const Messages& messages) {
    if (problem.Empty()) return {};
    const int reason = static_cast<int>(problem.Reason);
    const int firstDot = static_cast<int>(readback::TProblem::DotsTooSmall);
    QString text = messages.Text(reason >= firstDot ? FirstDotProblemText + reason - firstDot
                                                    : FirstProblemText + reason - 1);
    for (const std::string& value : problem.Values)
        text = text.arg(FromCodePage(value));
    return text;
}

QString mismatchText(const readback::TReadBackResult& result, const Messages& messages) {
    using M = readback::TContentMismatch;
    QString text;
    switch (result.Mismatch) {
    case M::None:
        return {};
    case M::Identifier:
        text = messages.Text(text::ReadsWithIdentifier);
        break;
    case M::GsForFnc1:
        return messages.Text(text::ReadsGsForFnc1);
    case M::ContentType:
        text = messages.Text(text::ReadsAsContentType);
        break;
    case M::NoEci:
        return messages.Text(text::ReadsWithoutEci);
    }
    for (const std::string& value : result.MismatchValues)
        text = text.arg(FromCodePage(value));
    return text;
}

} // namespace

ReadBackMarkText ReadBackMarkFor(const readback::TReadBackResult& result,
                                 const Messages& messages) {
    using V = readback::TReadBackVerdict;
    int verdict = DoesNotReadText;
    switch (result.Verdict) {
    case V::ReadsAsText:
        verdict = ReadsAsTextText;
        break;
    case V::ReadsMirrored:
        verdict = ReadsMirroredText;
        break;
    case V::ReadsAsOther:
        verdict = ReadsAsOtherText;
        break;
    case V::DoesNotRead:
        break;
    }
    ReadBackMarkText mark;
    const bool intended = readback::ReadsAsIntended(result);
    // A mirror image nobody asked for will not scan on the part: as bad as no read.
    mark.Colour = intended ? QColor(0, 160, 0) : QColor(210, 0, 0);
    mark.Label = messages.Text(verdict);
    QString tip = messages.Text(ReadBackTitleText) + QStringLiteral(": ") + mark.Label;
    if (result.Verdict == V::ReadsMirrored)
        tip += QLatin1Char(' ') +
               messages.Text(result.MirrorAsked ? MirrorAskedText : NoMirrorAskedText);
    // What a scanner hands on with the data: "]d2" marks GS1; the content type and the ECI
    // decide how a system downstream takes the bytes.
    if (!result.SymbologyIdentifier.empty()) {
        QStringList told{FromCodePage(result.SymbologyIdentifier)};
        if (!result.ContentType.empty())
            told << messages.Text(ReadContentTypeText).arg(FromCodePage(result.ContentType))
                 << messages.Text(result.Eci ? ReadWithEciText : ReadWithoutEciText);
        tip += QStringLiteral(" (") + told.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    if (result.Verdict == V::ReadsAsOther && result.Mismatch == readback::TContentMismatch::None)
        tip += QStringLiteral(": \"") + FromCodePage(result.Decoded) + QLatin1Char('"');
    if (result.Mismatch != readback::TContentMismatch::None)
        tip += QStringLiteral("\n") + mismatchText(result, messages);
    if (!result.Problem.Empty())
        tip += QStringLiteral("\n") + problemText(result.Problem, messages);
    if (result.Dots && result.Dots->Margin)
        tip += QStringLiteral("\n") +
               FromCodePage(job::DotMarginWords(*result.Dots->Margin, messages.LanguageTexts()));
    mark.ToolTip = tip;
    return mark;
}

QString MarkingStatsText(const ncgen::TMarkingStats& stats, std::string_view feed,
                         const Messages& messages) {
    QString text = messages.Text(StatsText)
                       .arg(stats.Points)
                       .arg(number(stats.RapidTravel, 1), number(stats.PlungeTravel, 1));
    if (stats.PlungeSeconds)
        text +=
            messages.Text(PlungeTimeText).arg(number(*stats.PlungeSeconds, 1), FromCodePage(feed));
    else
        text += messages.Text(NoPlungeTimeText).arg(FromCodePage(feed));
    return text;
}

QString DotNotesText(const readback::TProgramNotes& notes, const Messages& messages) {
    const config::TLanguageTexts& texts = messages.LanguageTexts();
    std::string words;
    if (notes.Dots) {
        words = job::DotFiguresWords(*notes.Dots, texts);
        if (const std::string warning = job::DotWarningWords(*notes.Dots, texts); !warning.empty())
            words += "; " + warning;
    }
    if (notes.Cycle) {
        if (!words.empty()) words += "; ";
        words += job::CycleTimeWords(*notes.Cycle, texts);
    }
    return FromCodePage(words);
}

QString BlankFitText(const simulation::TBlankFit& fit, const Messages& messages) {
    QStringList parts;
    if (fit.SafetyTooLow)
        parts
            << messages.Text(BlankSafetyTooLowText).arg(number(fit.Safety, 3), number(fit.Top, 3));
    if (fit.DepthOff)
        parts << messages.Text(fit.InAir() ? BlankMarksInAirText : BlankMarksDeepText)
                     .arg(number(fit.Depth, 3), number(std::fabs(fit.Depth - fit.Surface), 3),
                          number(fit.Surface, 3));
    switch (fit.Result) {
    case simulation::TBlankFit::NoBlank:
    case simulation::TBlankFit::Fits:
        break;
    case simulation::TBlankFit::Outside:
        parts << messages.Text(BlankOutsideText).arg(number(fit.Beyond, 3));
        break;
    case simulation::TBlankFit::Curved: {
        // Far from the surface the curvature is beside the point.
        QString text;
        if (!fit.DepthOff)
            text = messages.Text(BlankCurvedText).arg(number(fit.Span, 3), number(fit.FallAway, 3));
        if (fit.OffCylinder)
            text += messages.Text(text.isEmpty() ? BlankOutsideText : BlankOffCylinderText)
                        .arg(number(fit.Beyond, 3));
        parts << text;
        break;
    }
    }
    parts.removeAll(QString());
    return parts.join(QStringLiteral("; "));
}

QString RoundNotesText(const std::vector<ncgen::TRoundNote>& notes, const Messages& messages) {
    QStringList parts;
    for (const ncgen::TRoundNote& note : notes) {
        QString text = messages.Text(note.Text);
        for (const std::string& value : note.Args)
            text = text.arg(QString::fromStdString(value));
        parts << text;
    }
    return parts.join(QStringLiteral("; "));
}

QString BlankNotesText(const readback::TProgramNotes& notes, const Messages& messages) {
    QString warning = BlankFitText(notes.BlankFit, messages);
    const QString round = RoundNotesText(notes.Round, messages);
    if (!warning.isEmpty() && !round.isEmpty()) warning += QStringLiteral("; ");
    return warning + round;
}

} // namespace korvex::app

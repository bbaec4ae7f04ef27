#pragma once

#include "app/AppTexts.h"
#include "readback/ProgramNotes.h"

#include <QColor>
#include <QString>

#include <string_view>

namespace korvex::app {

class Messages;

// The status bar's mark of the read-back check: a coloured dot, a word and the whole verdict.
struct ReadBackMarkText {
    QColor Colour;
    QString Label;
    QString ToolTip;
};

ReadBackMarkText ReadBackMarkFor(const readback::TReadBackResult& result, const Messages& messages);
// Points, travels and plunge time in the user's language.
QString MarkingStatsText(const ncgen::TMarkingStats& stats, std::string_view feed,
                         const Messages& messages);
// What the tool makes of the dots, and the cycle time; empty without a tool and stats.
QString DotNotesText(const readback::TProgramNotes& notes, const Messages& messages);
// Empty when the symbol fits or there is no blank.
QString BlankFitText(const simulation::TBlankFit& fit, const Messages& messages);
// The round-part warnings joined by "; ", empty when there is none.
QString RoundNotesText(const std::vector<ncgen::TRoundNote>& notes, const Messages& messages);
// The graphic's line under the picture: the blank fit, then the round-part warnings.
QString BlankNotesText(const readback::TProgramNotes& notes, const Messages& messages);

} // namespace korvex::app

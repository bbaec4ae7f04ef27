#pragma once

#include "readback/ProgramNotes.h"

#include <QColor>
#include <QString>

#include <string_view>

namespace korvex::app {

class Messages;

inline constexpr int ReadsAsTextText = 9150;
inline constexpr int ReadsMirroredText = 9151;
inline constexpr int DoesNotReadText = 9152;
inline constexpr int ReadsAsOtherText = 9153;
inline constexpr int MirrorAskedText = 9154;
inline constexpr int NoMirrorAskedText = 9155;
inline constexpr int ReadBackTitleText = 9156;
inline constexpr int StatsText = 9157;      // %1 points, %2 rapid, %3 plunge travel
inline constexpr int PlungeTimeText = 9158; // %1 seconds, %2 feed
inline constexpr int NoPlungeTimeText = 9159;
inline constexpr int BlankOutsideText = 9160; // %1 how far
inline constexpr int BlankCurvedText = 9161;  // %1 span, %2 fall
inline constexpr int BlankOffCylinderText = 9162;
inline constexpr int ReadBackStaleText = 9163;
inline constexpr int FirstProblemText = 9165; // one text per reason, in the order of TProblem

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
// Empty when the symbol fits or there is no blank.
QString BlankFitText(const simulation::TBlankFit& fit, const Messages& messages);

} // namespace korvex::app

#pragma once

// Language texts of the desktop program beyond the core's.
namespace korvex::app {

inline constexpr int RefusedCharacterText = 9120; // + ": " + the character
inline constexpr int NoOutputAfterDText = 9300;   // "/D" ends the command line

// The serial run dialog; %1, %2 ... are filled in by the dialog.
inline constexpr int SerialMenuText = 9130; // the menu entry, and without "&" and "..." the title
inline constexpr int SerialPlaceholderText = 9131;
inline constexpr int SerialStartLabel = 9132;
inline constexpr int SerialCountLabel = 9133;
inline constexpr int SerialStepLabel = 9134;
inline constexpr int SerialTextLabel = 9135;
inline constexpr int SerialFolderLabel = 9136;
inline constexpr int SerialNamesLabel = 9137;
inline constexpr int SerialStartButton = 9138;
inline constexpr int SerialCancelButton = 9139;
inline constexpr int SerialCloseButton = 9140;
inline constexpr int SerialFirstText = 9141;
inline constexpr int SerialLastText = 9142;
inline constexpr int SerialRangeText = 9143;       // %1 the largest count
inline constexpr int SerialWrittenText = 9144;     // %1 programs, %2 folder
inline constexpr int SerialStoppedText = 9145;     // %1 of %2, %3 the text, %4 why
inline constexpr int SerialCancelledText = 9146;   // %1 of %2
inline constexpr int SerialCannotWriteText = 9147; // %1 the file
inline constexpr int SerialCheckText = 9164;
inline constexpr int SerialSameFileText = 9148;      // %1 the program, %2 the file
inline constexpr int SerialOverwriteQuestion = 9149; // %1 how many

// The notes on a generated program: read-back, figures, blank fit.
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
inline constexpr int BlankSafetyTooLowText = 9301; // %1 safety level, %2 highest point
inline constexpr int BlankMarksInAirText = 9302;   // %1 depth, %2 how far, %3 surface
inline constexpr int BlankMarksDeepText = 9303;    // %1 depth, %2 how far, %3 surface
inline constexpr int ReadBackStaleText = 9163;
inline constexpr int FirstProblemText = 9165; // one text per reason, in the order of TProblem
// The marks as round dots of the profile's tool.
inline constexpr int FirstDotProblemText = 9650; // from TProblem::DotsTooSmall on, in order
inline constexpr int ReadsFromText = 9653;       // %1 percent
inline constexpr int ReadsAtNoFillText = 9654;
inline constexpr int CentreErrorReadsText = 9655;
inline constexpr int CentreErrorFailsText = 9656;
inline constexpr int SecondOpinionReadsText = 9657;
inline constexpr int SecondOpinionFailsText = 9658;
inline constexpr int DotFiguresText = 9659; // %1 diameter, %2 percent
inline constexpr int IdealDepthText = 9660; // %1 depth, %2 and %3 the window around it
inline constexpr int NoIdealDepthText = 9661;
inline constexpr int CycleTimeText = 9662;    // %1 seconds, %2 rapid rate, %3 block time
inline constexpr int DotsTooSmallText = 9663; // %1 how many
inline constexpr int DotsMergeText = 9664;    // %1 how many

// The marking log window.
inline constexpr int LogMenuText = 9760;
inline constexpr int LogTitleText = 9761;
inline constexpr int LogSearchLabel = 9762;
inline constexpr int LogExportButton = 9763;
inline constexpr int LogCloseButton = 9764;
inline constexpr int LogShownText = 9765;       // %1 shown, %2 in all
inline constexpr int LogFirstColumnText = 9770; // one per column of log::RECORD_COLUMNS

} // namespace korvex::app

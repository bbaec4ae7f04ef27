#pragma once

// Language texts of the desktop program beyond the core's.
namespace korvex::app {

inline constexpr int RefusedCharacterText = 9120; // + ": " + the character

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

} // namespace korvex::app

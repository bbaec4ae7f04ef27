#pragma once

#include <array>

// Numbers of the language texts (german.txt / english.txt) that the code looks up.
// Every number the program uses is named here, so one test can check both language files.
namespace korvex::text {

inline constexpr int SafetyDistanceLabel = 3301; // "Sicherheitsabstand (R)", detail of 9008
inline constexpr int InfeedDepthLabel = 3302;    // "Zustelltiefe (Z)", detail of 9008
inline constexpr int SaveFilterDescription = 4119;
inline constexpr int DefaultLayerName = 5007;
inline constexpr int AngleOutOfRange = 9002;
inline constexpr int InvalidInput = 9008;
inline constexpr int InvalidDotSpacing = 9009;
inline constexpr int InvalidXOffset = 9010;
inline constexpr int InvalidYOffset = 9011;
inline constexpr int TemplateNotWritable = 9013;
inline constexpr int EditorNotInstalled = 9014;
inline constexpr int TemplateHoldsNoLayer = 9015;          // the file follows as the detail
inline constexpr int ProfileHasNoTemplate = 9016;          // the profile follows as the detail
inline constexpr int UnreadableNumberFormat = 9017;        // the profile follows as the detail
inline constexpr int SurfaceNeedsCylinder = 9850;          // Follow / Rotary without one
inline constexpr int SymbolPastCylinderSide = 9851;        // Follow beyond the upper half
inline constexpr int SymbolLongerThanCircumference = 9852; // Rotary once round and more
inline constexpr int SymbolWideOnCylinder = 9853;          // %1 width, %2 diameter
inline constexpr int DotsOval = 9854;                      // %1 per cent, %2 tilt in degrees
inline constexpr int DotCentresShift = 9855;               // %1 shift, %2 per cent
inline constexpr int SettingsSaved = 9101;
inline constexpr int PickModeStatus = 9105;
inline constexpr int CloseQuestion = 9106;
inline constexpr int GeneratingStatus = 9107;
inline constexpr int GeneratedStatus = 9108;
inline constexpr int ConfigFolderCreated = 9110; // status after a first start; the folder follows
inline constexpr int HelpFileName = 9203;
inline constexpr int HelpFileNotFound = 9204;
// What a template load left out or replaced; the count follows as the detail.
inline constexpr int LoadReportTitle = 9353;
inline constexpr int LoadDroppedTextLines = 9354;
inline constexpr int LoadIgnoredLayerLines = 9355;
inline constexpr int LoadDroppedLayers = 9356;
inline constexpr int LoadIndexFallbacks = 9357;
// Content refusals; the element or value at fault follows as the detail.
inline constexpr int Gs1NoIdentifier = 9501;
inline constexpr int Gs1UnknownAi = 9502;
inline constexpr int Gs1TooShort = 9503;
inline constexpr int Gs1TooLong = 9504;
inline constexpr int Gs1BadCharacter = 9505;
inline constexpr int Gs1WrongCheckDigit = 9506;
inline constexpr int Gs1BadDate = 9507;
inline constexpr int Iso15434NoElement = 9510;
inline constexpr int Iso15434ControlCharacter = 9511;
inline constexpr int UiiTwoConstructs = 9520;
inline constexpr int UiiNoPartOrLot = 9521;
inline constexpr int UiiNoSerial = 9522;
inline constexpr int UiiTooLong = 9523;
inline constexpr int UiiBadCharacter = 9524;
// IUID marking warnings; the value follows as the detail.
inline constexpr int IuidModuleSize = 9530;
inline constexpr int IuidSymbolTooLarge = 9531;
inline constexpr int IuidNotSquare = 9532;
// Why a symbol reads as something else although its bytes are right.
inline constexpr int ReadsWithIdentifier = 9540; // the identifier read, the one expected
inline constexpr int ReadsGsForFnc1 = 9541;
inline constexpr int ReadsAsContentType = 9542; // the type read, the one expected
inline constexpr int ReadsWithoutEci = 9543;

// The marking log.
inline constexpr int LogCannotOpen = 9750;     // the file and the system's reason follow
inline constexpr int LogCannotWrite = 9751;    // the file and the system's reason follow
inline constexpr int LogNewerSchema = 9752;    // the file follows
inline constexpr int LogNotALog = 9753;        // the file follows
inline constexpr int LogNotInThisBuild = 9799; // the file follows
inline constexpr int DuplicateQuestion = 9754; // %1 content, %2 time, %3 file
inline constexpr int DuplicateRefusal = 9755;  // %1 content, %2 time, %3 file
inline constexpr int InterruptedRun = 9756;    // %1 written, %2 count, %3 counter, %4 first
inline constexpr int DuplicateInRange = 9757;  // %1 the place in the run; 9755 follows

// Texts that dialogs set on themselves when they are shown (outside the caption table).
inline constexpr int SymbolDialogCancel = 5101;     // "&Abbrechen" of the symbol dialog
inline constexpr int SymbolDialogPreview = 5102;    // label "Vorschau"
inline constexpr int SymbolDialogSize = 5103;       // label "Symbolgröße"
inline constexpr int SymbolDialogEncodation = 5104; // label "Kodierung"
// The blank page's choice for round parts: its frame, then flat, follow and rotary.
inline constexpr std::array<int, 4> SURFACE_CHOICE_TEXTS = {9856, 9857, 9858, 9859};

// The information dialog: caption, lines of its text and its buttons, in display order.
inline constexpr std::array<int, 13> INFORMATION_DIALOG_TEXTS = {
    6001, 6002, 6003, 6004, 6005, 6006, 6007, 6008, 6009, 6010, 6108, 6051, 6052};

} // namespace korvex::text

#pragma once

// Numbers of the language texts (german.txt / english.txt) that the code looks up.
// Every number the program uses is named here, so one test can check both language files.
namespace korvex::text {

inline constexpr int SaveFilterDescription = 4119;
inline constexpr int DefaultLayerName = 5007;
inline constexpr int AngleOutOfRange = 9002;
inline constexpr int InvalidInput = 9008;
inline constexpr int InvalidDotSpacing = 9009;
inline constexpr int InvalidXOffset = 9010;
inline constexpr int InvalidYOffset = 9011;
inline constexpr int TemplateNotWritable = 9013;
inline constexpr int EditorNotInstalled = 9014;
inline constexpr int SettingsSaved = 9101;
inline constexpr int PickModeStatus = 9105;
inline constexpr int CloseQuestion = 9106;
inline constexpr int GeneratingStatus = 9107;
inline constexpr int GeneratedStatus = 9108;
inline constexpr int HelpFileName = 9203;
inline constexpr int HelpFileNotFound = 9204;

} // namespace korvex::text

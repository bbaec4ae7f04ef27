#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvex::config {

// The default view of the tool-path graphic: one button of a radio group.
enum class TGraphicView { XY, XZ, YZ, XYZ };

// Colours are 0x00BBGGRR, red in the low byte, as the settings files store them.
using TColor = std::uint32_t;

// Where main.ini switches the marking log and names its file.
inline constexpr const char* LogSection = "log";
inline constexpr const char* LogSwitchKey = "Markierprotokoll"; // "0" switches it off
inline constexpr const char* LogGradeKey = "Grad";              // "1" grades every run's program
inline constexpr const char* LogFileKey = "Datei";              // empty: korvex.sqlite beside
inline constexpr const char* LogDatabaseKey = "Datenbank";      // a server's url; passwords never

// The program-wide settings of main.ini, together with the settings dialog's working copy of
// them. The initial values are the dialog's states before the first load.
struct TSettings {
    // section "path"
    std::string NcFolder;       // "nc"
    std::string TemplateFolder; // "vo"
    std::string FontFolder;     // "sl", read only

    // section "set"
    std::string DotSpacing;                // "Aufloesung", the default of "Punktabstand"
    int DefaultProfile = 1;                // "Profil", always 1-4 (radio group EStandard1..4)
    TGraphicView View = TGraphicView::XYZ; // "XY", "XZ", "YZ", "XYZ"
    bool ShowRapidMoves = false;           // "G0"
    bool ShowAxes = false;                 // "AXIS"
    TColor Background = 0;                 // "HG"
    TColor Axes = 0;                       // "Achsen"
    TColor Feed = 0;                       // "Vorschub"
    TColor AFeed = 0;                      // "AVorschub", kept only
    TColor Rapid = 0;                      // "Eilgang"
    TColor Blank = 0;                      // "Rohteil"
    std::uint8_t DefaultSymbolSize = 0;    // "DMFormat", the dialog's size list
    std::uint8_t DefaultEncodation = 0;    // "DMEncode", the dialog's encodation list
    int Language = 1;                      // "lang": 1 German, 2-4 English
    std::string RapidRate;                 // "Eilgangrate", mm/min, for the cycle time

    // section "log"
    // "Grad", read only: every program of a serial or list run recorded with its predicted
    // grade (tenths of a second each, so a run asks for it)
    bool GradeEveryProgram = false;
    bool MarkingLog = true;  // "Markierprotokoll": every program written with its record
    std::string LogDatabase; // "Datenbank": a PostgreSQL server's URL; empty: the SQLite file

    // section "Schichten": "Früh 06:00" ... as written (config/ShiftTable.h reads them)
    std::vector<std::string> Shifts;

    // What the symbol dialog and the preview use; loading sets them from "DMFormat"/"DMEncode".
    std::uint8_t CurrentSymbolSize = 0;
    std::uint8_t CurrentEncodation = 0;
};

} // namespace korvex::config

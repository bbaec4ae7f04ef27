#include "config/CaptionTable.h"

#include <array>

namespace korvex::config {

namespace {

constexpr const char* MAIN = "TMainForm";
constexpr const char* SETTINGS = "TEinstellungen";
constexpr const char* SYMBOL = "TFSymbol";

constexpr std::array CAPTIONS = {
    TCaption{1001, MAIN, "BBlank"},
    TCaption{1002, MAIN, "BDatamatrix"},
    TCaption{1003, MAIN, "BProgram"},
    TCaption{1004, MAIN, "BGrafik"},
    TCaption{2001, MAIN, "Ebene1"},
    TCaption{2002, MAIN, "Einstellungen1"},
    TCaption{2003, MAIN, "Beenden1"},
    TCaption{2004, MAIN, "Datei1"},
    TCaption{2005, MAIN, "Cut2"},
    TCaption{2006, MAIN, "Paste2"},
    TCaption{2007, MAIN, "Copy2"},
    TCaption{2008, MAIN, "Hilfe1"},
    TCaption{2009, MAIN, "Neueerstellen1"},
    TCaption{2012, MAIN, "OpenVorlage"},
    TCaption{2013, MAIN, "SaveVorlage"},
    TCaption{2014, MAIN, "NCProgrammspeichern1"},
    TCaption{2015, MAIN, "SLSchriftart1"},
    TCaption{2016, MAIN, "BTestdruck"},
    TCaption{3001, MAIN, "LGroesse"},
    TCaption{3004, MAIN, "LVerschiebungX"},
    TCaption{3005, MAIN, "LVerschiebungY"},
    TCaption{3006, MAIN, "LRotation"},
    TCaption{3009, MAIN, "LSpiegel"},
    TCaption{3012, MAIN, "Convert"},
    TCaption{3013, MAIN, "LSchriftart"},
    TCaption{3014, MAIN, "LText"},
    TCaption{3015, MAIN, "SchriftartSingle"},
    TCaption{3015, SYMBOL, ""},
    TCaption{3101, MAIN, "LAnsicht"},
    TCaption{3102, MAIN, "LParameter"},
    TCaption{3103, MAIN, "LFont"},
    TCaption{3201, MAIN, "RAnzeigen"},
    TCaption{3202, MAIN, "RDelete"},
    TCaption{3203, MAIN, "LRInfo"},
    TCaption{3204, MAIN, "LMittelpunkt1"},
    TCaption{3205, MAIN, "LMittelpunkt2"},
    TCaption{3206, MAIN, "LMittelpunkt3"},
    TCaption{3301, MAIN, "LRAbstand"},
    TCaption{3302, MAIN, "LZAbstand"},
    TCaption{3303, MAIN, "LZVorschub"},
    TCaption{2002, SETTINGS, ""},
    TCaption{4001, SETTINGS, "P1"},
    TCaption{4002, SETTINGS, "P2"},
    TCaption{4003, SETTINGS, "P3"},
    TCaption{4004, SETTINGS, "P4"},
    TCaption{4005, SETTINGS, "MP"},
    TCaption{4101, SETTINGS, "LDir"},
    TCaption{4102, SETTINGS, "LNc"},
    TCaption{4103, SETTINGS, "LTemp"},
    TCaption{4104, SETTINGS, "LSlf"},
    TCaption{4105, SETTINGS, "AddSlf"},
    TCaption{4106, SETTINGS, "DNc"},
    TCaption{4107, SETTINGS, "DGra"},
    TCaption{4108, SETTINGS, "Lachsen"},
    TCaption{4109, SETTINGS, "LHG"},
    TCaption{4110, SETTINGS, "LVorschub1"},
    TCaption{4111, SETTINGS, "LEilgang"},
    TCaption{4112, SETTINGS, "LBlank"},
    TCaption{4113, SETTINGS, "LProfil"},
    TCaption{4114, SETTINGS, "LAuf"},
    TCaption{4115, SETTINGS, "Abbrechen"},
    TCaption{4116, SETTINGS, "Hilfe"},
    TCaption{4117, SETTINGS, "Speichern"},
    TCaption{4120, SETTINGS, "LDaMa"},
    TCaption{4121, SETTINGS, "LSG"},
    TCaption{4122, SETTINGS, "LCode"},
    TCaption{4201, SETTINGS, "LP1"},
    TCaption{4202, SETTINGS, "LF1"},
    TCaption{4203, SETTINGS, "LFS1"},
    TCaption{4204, SETTINGS, "LFN1"},
    TCaption{4205, SETTINGS, "EEDeziPunkt"},
    TCaption{4206, SETTINGS, "EENCPunkt"},
    TCaption{4207, SETTINGS, "EEVNullen"},
    TCaption{4208, SETTINGS, "EENNullen"},
    TCaption{4209, SETTINGS, "EEVorzeichen"},
    TCaption{4210, SETTINGS, "LAlt1"},
    TCaption{4211, SETTINGS, "LA1"},
    TCaption{4213, SETTINGS, "LAS1"},
    TCaption{4214, SETTINGS, "LAZ1"},
    TCaption{4215, SETTINGS, "LAVZ1"},
    TCaption{4218, SETTINGS, "EESatznum"},
    TCaption{4219, SETTINGS, "LZ1"},
    TCaption{4220, SETTINGS, "LSchritt1"},
    TCaption{4221, SETTINGS, "LStart"},
    TCaption{4229, SETTINGS, "LSyntax"},
    TCaption{4231, SETTINGS, "ETabSyntax1"},
    TCaption{4232, SETTINGS, "ETabSyntax2"},
    TCaption{4233, SETTINGS, "ETabSyntax3"},
    TCaption{4119, SETTINGS, "LSuffix"},
};

} // namespace

std::span<const TCaption> CaptionTable() {
    return CAPTIONS;
}

} // namespace korvex::config

#pragma once

#include "config/ConfigFolder.h"
#include "content/ContentKind.h"
#include "config/LanguageTexts.h"
#include "config/Settings.h"
#include "ncgen/Job.h"
#include "ncgen/OutputProfile.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::cli {

// What one unattended generation starts from.
struct TGenerateRequest {
    std::filesystem::path ConfigFolder; // holds main.ini, profil1-4.ini
    std::filesystem::path DataFolder;   // language files and the delivered settings files
    std::optional<std::string> Profile; // number, name (Windows-1252) or a profile file;
                                        // default: the settings' one
    std::filesystem::path JobFile;      // the template (.ncm)
    std::optional<std::string>
        Text; // replaces layer 1's lines (Windows-1252, lines split at breaks)
    std::optional<content::TContentKind> Content; // replaces layer 1's content kind
    std::optional<ncgen::TSurfaceMode> Surface;   // replaces the job's choice
    std::optional<ncgen::TTool> Tool;             // replaces the profile's tool
};

enum class TGenerateStatus {
    Ok,
    Failed,     // the job could not be done; Message says why
    BadRequest, // the request names something that does not exist (an unknown profile)
};

// Everything a generation produced: the NC program and simulation lines, and the job and
// settings a drawing of the tool path needs.
struct TGenerateResult {
    TGenerateStatus Status = TGenerateStatus::Failed;
    std::string Message;               // Windows-1252, set when Status is not Ok
    std::vector<std::string> Warnings; // Windows-1252: settings read in part, template repairs
    std::vector<std::string> NCLines;  // the NC program
    std::vector<std::string> SimulationLines; // "ZR;" and "XY;" lines for the graphic
    ncgen::TJob Job;                          // layers, BlankDefinition and the 3D view
    config::TSettings Settings;               // colours, view defaults, toggles
    int ProfileNumber = 0;                    // 1-4, the selected profile; 0 for a file
    ncgen::TActiveProfile Profile;            // the active output profile used
    std::string ProfileName;                  // what a refusal names: its name, else its file
    config::TLanguageTexts Texts;             // the loaded language, for later messages
    std::string Content;    // what the symbol encodes (Windows-1252), for the marking log
    std::string SymbolSize; // the symbol's size and the layer's encodation, as named
    std::string Encodation;
};

// The batch path of the desktop program without a window: settings, profile selection, the
// template, layer 1 encoded with its own size and encodation, the generate command's checks,
// then the generator. Never throws for bad input; failures come back as Status and Message.
TGenerateResult RunGeneratePipeline(const TGenerateRequest& request);

// The folder of the running executable's data files (language texts, default settings).
std::filesystem::path DefaultDataFolder();

// The options every generating command shares, as the command line gives them (UTF-8).
struct TGenerateOptions {
    std::optional<std::string> Config;  // --config DIR
    std::optional<std::string> Profile; // --profile N|NAME
    std::optional<std::string> Text;    // --text TEXT
    std::string Job;                    // JOB.ncm
    std::optional<std::string> Content; // --content text|gs1|iso15434-05|-06|-12
    std::optional<std::string> Surface; // --surface flat|follow|rotary
    std::optional<std::string> Tool;    // --tool none|cone:ANGLE[:TIP]|ball:RADIUS
};

// Builds the request (default configuration and data folders, Windows-1252 texts) and fills
// what the configuration folder lacks from the delivered defaults, saying so on err. On a
// problem it prints it to err and returns the exit status to end with.
std::optional<int> MakeGenerateRequest(const TGenerateOptions& options, TGenerateRequest& request,
                                       std::ostream& err);

// Prints the warnings, and the failure if there is one (in UTF-8); returns the exit status to
// end with unless the generation succeeded.
std::optional<int> ReportGenerateResult(const TGenerateResult& result, std::string_view command,
                                        std::ostream& err);

// Writes a command's result to the UTF-8 file name through a temporary file and a rename, or
// to out when there is none; the exit status. An output that names the job file itself is
// refused, so a slip on the command line cannot replace the job with its program.
int WriteCommandOutput(std::string_view bytes, const std::optional<std::string>& file,
                       const std::filesystem::path& jobFile, std::ostream& out, std::ostream& err);

} // namespace korvex::cli

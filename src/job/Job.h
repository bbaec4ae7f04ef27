#pragma once

#include "base/TextMessage.h"
#include "content/ContentKind.h"
#include "grade/GradeReport.h"
#include "job/Session.h"
#include "ncgen/NCGenerateCommand.h"
#include "ncgen/NCJob.h"
#include "ncgen/SerialRun.h"
#include "ncgen/TemplateFile.h"
#include "readback/ProgramNotes.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvex::job {

enum class TStatus {
    Ok,
    Failed,     // the job could not be done; Message says why
    BadRequest, // the request names something that does not exist (an unknown profile)
};

// A step's result for the user: a text number with its values or a system message.
struct TOutcome {
    TStatus Status = TStatus::Ok;
    base::TTextMessage Message;

    bool Ok() const { return Status == TStatus::Ok; }
};

// What a job is run with besides its file.
struct TJobOptions {
    std::optional<std::string> Profile; // number, name (Windows-1252) or a profile file (a path
                                        // with '/' or ending in .ini); default: the settings'
    std::optional<std::string> Text;    // replaces layer 1's lines (Windows-1252, split at breaks)
    std::optional<content::TContentKind> Content; // replaces layer 1's content kind
    std::optional<ncgen::TSurfaceMode> Surface;   // replaces the job's choice
    bool Stats = false;                           // figures of the marking
    bool Check = false;                           // read the marked points back
    std::optional<ncgen::TTool> Tool;             // replaces the profile's tool
    std::optional<std::string> Require;           // a predicted grade every program must reach
    bool Grade = false; // predict the program's grade (a run: each logged program's)
};

// A job ready to generate: the session, the chosen profile and the loaded template.
struct TOpenJob {
    TSession Session;
    ncgen::TProfileSelection Profile;
    std::filesystem::path File;
    ncgen::TJob Job;
    ncgen::TLoadReport Report;
    std::vector<base::TTextMessage> Warnings; // the profile's tool, the loader's repairs
    int ProfileNumber = 0;                    // 1-4; 0 for a profile file named directly
};

// Profile and job files hold a few kilobytes; a larger one is some other file named by a slip,
// and reading it as one would take minutes.
inline constexpr std::uintmax_t MaxJobFileSize = 1024 * 1024;
// Text 9600 with the file and the limit for a file larger than MaxJobFileSize; empty otherwise.
base::TTextMessage CheckFileSize(const std::filesystem::path& file);

// The job of a fresh start: one layer named by text 5007 with the settings' size and
// encodation.
ncgen::TJob StartupJob(const TSession& session);

// The system message of a template that cannot be found.
std::string TemplateMissingText(const std::filesystem::path& file);

// The round-part notes (texts 9853-9855 with their values) in the loaded language, one each.
std::vector<std::string> RoundWords(const std::vector<ncgen::TRoundNote>& notes,
                                    const config::TLanguageTexts& texts);

// Reads a template file into `job`; the window keeps a copy, so a file that is missing, unreadable
// or holds no layer leaves its job as it was. The reader's repairs are added to `warnings`.
TOutcome LoadTemplate(const std::filesystem::path& file, const ncgen::TLoadOptions& options,
                      ncgen::TJob& job, ncgen::TLoadReport& report,
                      std::vector<base::TTextMessage>& warnings);

// Chooses the profile (with the tool the options give, else a warning when its own cannot be
// used) and loads the template over the start-up job, refusing a job that would mark nothing
// the user chose (no file, no layer).
TOutcome OpenJob(TSession session, const std::filesystem::path& file, const TJobOptions& options,
                 TOpenJob& job);

// One generated program and what can be said about it.
struct TProgram {
    ncgen::TGenerateCommandResult Generated;
    readback::TProgramNotes Notes;
    std::optional<base::TTextMessage> Misfit; // the symbol is larger than the size asked for
    std::vector<base::TTextMessage> Warnings; // the content's (an IUID mark off its limits)
    std::string Content;    // what the symbol encodes (Windows-1252), as the marking log keeps it
    std::string SymbolSize; // the symbol's size and the layer's encodation, as named
    std::string Encodation;
    // An error ended the generation: Generated holds the program as far as it got.
    bool Partial = false;
    std::optional<grade::TGradeReport> Grade; // predicted when the options ask for it

    // The read-back found a program that will not scan as its text.
    bool CheckFailed() const;
};

// The symbol misfit warning: text 9402 with the size asked for and the size used.
std::optional<base::TTextMessage> SymbolMisfit(const ncgen::TGenerateCommandResult& generated);

// What is said about a program besides the program itself.
struct TNotesWanted {
    bool Stats = false;    // figures of the marking
    bool Check = false;    // read the marked points back (the window runs it beside itself)
    std::string RapidRate; // the settings' rapid rate for the cycle time; empty: none
    std::string Require;   // "as9132", "A"-"D": refuse a program predicted below it
    long double DepthTolerance = 0.01L; // the profile's, for the prediction
    bool Grade = false;                 // predict each logged program's grade for its record
};

// The generate command on layer 1 with the given fields, then the notes when wanted: the one
// generation of the window, the batch and korvex-cli. An EKorvexError comes back as the
// system's message.
TOutcome GenerateProgram(ncgen::TJob& job, const ncgen::TGenerateFields& fields,
                         const ncgen::TActiveProfile& profile, std::string_view profileName,
                         const std::optional<TNotesWanted>& notes, TProgram& program);

// Runs the generate command on layer 1 with the window's fields after loading (the profile's
// R and Z), the text replaced when one is given, then the notes asked for. An EKorvexError
// comes back as the system's message.
TOutcome Generate(TOpenJob& job, const TJobOptions& options, TProgram& program);

// Called after a program file has been written, with the file and its text.
using TWrittenHook = std::function<void(const std::filesystem::path&, const TProgram&)>;

// Writes the program through a temporary file and a rename. An output that is the job file
// itself is refused, so a slip cannot replace the job with its program.
TOutcome WriteProgram(const TOpenJob& job, const TProgram& program,
                      const std::filesystem::path& output, const TWrittenHook& written = {});

// Saves the job as a template file, whole or not at all; text 9013 with the file when it
// cannot be written.
TOutcome SaveJob(const ncgen::TJob& job, const std::filesystem::path& file);

// True when `output` names the job file `jobFile`: the same file through a link, another
// spelling ("./", "..", the case on Windows) or, where one does not exist, the same path.
// An empty job file (a job never saved) is no file.
bool IsSameFile(const std::filesystem::path& jobFile, const std::filesystem::path& output);
// Every writer of a program asks this first: text 9410 (BadRequest) for the job file itself.
TOutcome CheckNotJobFile(const std::filesystem::path& jobFile, const std::filesystem::path& output);
// True when the output names the job file.
bool IsJobFile(const TOpenJob& job, const std::filesystem::path& output);

} // namespace korvex::job

#pragma once

#include "base/PathText.h"
#include "config/ConfigFolder.h"
#include "job/Job.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace korvex::cli {

// The folder of the running executable's data files (language texts, default settings).
std::filesystem::path DefaultDataFolder();

// The options every generating command shares, as the command line gives them (UTF-8).
struct TGenerateOptions {
    std::optional<std::string> Config;  // --config DIR
    std::optional<std::string> Profile; // --profile N|NAME|FILE
    std::optional<std::string> Text;    // --text TEXT
    std::string Job;                    // JOB.ncm
    std::optional<std::string> Content; // --content text|gs1|iso15434-05|-06|-12
    std::optional<std::string> Surface; // --surface flat|follow|rotary
    std::optional<std::string> Tool;    // --tool none|cone:ANGLE[:TIP]|ball:RADIUS
};

using base::Utf8Path;

// Prints a message in the job's language as one UTF-8 line, after the prefix.
void Print(std::ostream& err, const job::TOpenJob& job, const base::TTextMessage& message,
           std::string_view prefix = "korvex-cli: ");

// The exit status of a step's outcome.
int ExitStatus(const job::TOutcome& outcome);

// Opens the settings the options name: the folder, filled from the defaults, settings,
// profiles and language, with the notices on err; the options' texts and tool for the job.
// On a problem it prints it and returns the exit status to end with.
std::optional<int> OpenCommandSession(const TGenerateOptions& options, job::TJobOptions& jobOptions,
                                      job::TSession& session, std::ostream& err);

// Opens the job the options name: folders, settings, profile and template, every notice and
// warning on err in the settings' language. On a problem it prints it and returns the exit
// status to end with.
std::optional<int> OpenCommandJob(const TGenerateOptions& options, std::string_view command,
                                  job::TJobOptions& jobOptions, job::TOpenJob& job,
                                  std::ostream& err);

} // namespace korvex::cli

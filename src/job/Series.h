#pragma once

#include "job/Job.h"
#include "ncgen/SerialRun.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::job {

// A text put into a file name (UTF-8): characters that would reach another folder or break
// the name become "_".
std::string FileNamePart(std::string_view utf8);

// The programs of a serial run: n = Start + k Step for k = 0 ... Count - 1. The text pattern
// (Windows-1252) and the output pattern (UTF-8, folder included) take {n}, {i} = k + 1 and,
// in the output, {line} = the program's text made safe for a file name.
// {shift} takes its name from shifts.
std::vector<ncgen::TRunItem> PlanSerialItems(const ncgen::TSerialRange& range,
                                             std::string_view textPattern,
                                             std::string_view outputPattern,
                                             const std::vector<ncgen::TShift>& shifts = {});
// Item k alone, as PlanSerialItems plans it: a preview need not plan a million.
ncgen::TRunItem PlanSerialItem(const ncgen::TSerialRange& range, std::string_view textPattern,
                               std::string_view outputPattern, std::int64_t k,
                               const std::vector<ncgen::TShift>& shifts = {});

// The programs of a list run: one per text, {n} and {i} its line's number in the file.
struct TListText {
    std::int64_t Number = 0;
    std::string Text; // Windows-1252
};
std::vector<ncgen::TRunItem> PlanListItems(const std::vector<TListText>& texts,
                                           std::string_view outputPattern);

// One step of a run as the user is told: place, text, file when written, and the notes.
struct TSeriesStep {
    std::size_t Index = 0;
    std::size_t Count = 0;
    const ncgen::TRunItem& Item;
    bool Written = false;
    std::string Summary; // Windows-1252, "; ..." parts in the loaded language
};

struct TSeriesOutcome {
    TOutcome Outcome;          // Ok, or why the run stopped
    std::size_t Written = 0;   // programs written
    std::size_t StoppedAt = 0; // the item the run stopped at
    bool Stopped = false;
    ncgen::TRunStop Stop = ncgen::TRunStop::None;
    bool CheckFailed = false;                             // a program did not read back as its text
    std::optional<readback::TReadBackResult> FailedCheck; // how it read
    bool RequirementFailed = false; // a program was predicted below the grade asked for
};

// What a run generates with: the job whose layer 1 takes each text (changed by the run, so
// a front end that keeps its job passes a copy), layer 1's fields, the profile, the language
// of the summaries and the notes wanted of each program.
struct TSeriesJob {
    ncgen::TJob& Job;
    ncgen::TGenerateFields Fields;
    const ncgen::TActiveProfile& Profile;
    std::string_view ProfileName;
    const config::TLanguageTexts& Texts;
    TNotesWanted Notes;
    std::filesystem::path JobFile; // an item naming it stops the run first; empty: none
};

// The run of an open job with layer 1's fields after loading and the options' notes.
TSeriesJob SeriesJob(TOpenJob& job, const TJobOptions& options);

// Writes one program per item with the job's layer 1 taking each text; the first failure
// stops the run and keeps the files before it. Two items naming one file stop it before
// anything is written, and so does one naming the job file. `progress` returning false cancels. A
// sink (the marking log) writes the programs with their records instead of the plain file writer.
TSeriesOutcome RunSeries(const TSeriesJob& run, const std::vector<ncgen::TRunItem>& items,
                         const std::function<bool(const TSeriesStep&)>& progress,
                         const TWrittenHook& written = {}, ncgen::TProgramSink* sink = nullptr);
// The same with layer 1's fields after loading.
TSeriesOutcome RunSeries(TOpenJob& job, const TJobOptions& options,
                         const std::vector<ncgen::TRunItem>& items,
                         const std::function<bool(const TSeriesStep&)>& progress,
                         const TWrittenHook& written = {}, ncgen::TProgramSink* sink = nullptr);

} // namespace korvex::job

#pragma once

#include "job/LoggedRun.h"
#include "job/Series.h"
#include "log/MarkingLog.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvex::job {

// What a run tells its front end as it happens; the words are Windows-1252.
enum class TRunNews {
    Waiting,     // another writer holds the marking log: this one waits, said at once
    Interrupted, // the log found a run of an earlier process cut short
    Numbers,     // the numbers the run took from its counter
};

// What only a front end can do for a run: answer the duplicate question (a box in the window,
// the option on the command line) and show how the run goes. Step and Tell may come from the
// thread that runs the programs.
class TRunFront {
  public:
    virtual ~TRunFront() = default;
    // The log holds this content already: item is the run's first such item (0 for a single
    // program). True writes it again.
    virtual bool WriteAgain(const log::TMarkRecord& earlier, std::size_t item) = 0;
    virtual void Tell(TRunNews news, const std::string& words) = 0;
    // One program of a run is done, written or not; false ends the run after it.
    virtual bool Step(const TSeriesStep&) { return true; }
    // So many of the run's files exist already; true replaces them.
    virtual bool Replace(std::size_t) { return true; }
};

// Where the programs are recorded: the log of the configuration folder (or where main.ini
// points) unless the caller or main.ini switch it off.
struct TLogChoice {
    std::filesystem::path ConfigFolder;
    bool Off = false;
    std::filesystem::path Location; // a file or server for this run instead of main.ini's
};

// How a write or run ended short of its programs.
enum class TRunEnd {
    Done,
    JobFile,       // a program would replace the job file
    CannotWrite,   // the file may not be written (read-only, no such folder)
    Log,           // the log cannot be used; Message says why
    Duplicate,     // a content logged before, not to be written again
    Declined,      // the files that exist are not to be replaced
    NoLog,         // numbers from a counter, but the settings switch the log off
    Beyond,        // the counter's numbers run past the largest; Message says so
    TakenMeanwhile // the first number is no longer the counter's next
};

// One program file, with its record when the log is on.
struct TWriteRequest {
    TLogChoice Log;
    std::filesystem::path JobFile; // never written over; empty: none
    std::filesystem::path Output;
    std::string_view Bytes;
    log::TMarkRecord Record; // what the log keeps; without a Text nothing is asked of duplicates
};

struct TWriteOutcome {
    TRunEnd End = TRunEnd::Done;
    base::TTextMessage Message;
    bool Logged = false; // the log was open for the write

    bool Written() const { return End == TRunEnd::Done; }
};

// Refuses the job file, opens the log, refuses a file that could not be written before asking
// about a duplicate, then writes the file with its record.
TWriteOutcome WriteOne(TRunFront& front, const config::TLanguageTexts& texts,
                       const TWriteRequest& request);

// A serial run's numbers put into a text and file names; the folder goes before each name.
struct TSerialPlan {
    ncgen::TSerialRange Range;
    std::string Text; // Windows-1252
    std::string Names;
    std::filesystem::path Folder;
};
std::vector<ncgen::TRunItem> PlanItems(const TSerialPlan& plan);

// A serial or list run: Items as planned, or, with a counter, planned again from the number it
// hands out.
struct TRunRequest {
    TSeriesJob Job;
    TLogChoice Log;
    std::vector<ncgen::TRunItem> Items;
    std::optional<TSerialPlan> Serial;
    std::optional<std::string> Counter; // Windows-1252: take the run's numbers from it
    bool FirstAsPlanned = false;        // the counter must hand out Serial's start, else refused
};

struct TRunReport {
    TRunEnd End = TRunEnd::Done;
    base::TTextMessage Message;
    TSeriesOutcome Series; // how the programs went once they started
    std::vector<ncgen::TRunItem> Items;
    std::optional<std::pair<std::size_t, log::TMarkRecord>> Duplicate;
    std::optional<base::TTextMessage> FinishFailed; // the run's end could not be logged
};

// A whole run: the job-file refusal and the log before anything is taken, the numbers and the
// duplicate check in one transaction of the counter, then the programs and the run's end.
// Begin asks the front end its question; Execute may follow on another thread.
class TRun {
  public:
    TRun(TRunFront& front, TRunRequest request);
    ~TRun();
    TRun(const TRun&) = delete;
    TRun& operator=(const TRun&) = delete;

    // False when the run ends before its first program; the report says why.
    bool Begin();
    const TRunReport& Execute();
    const TRunReport& Report() const { return report_; }

  private:
    bool end(TRunEnd end, base::TTextMessage message = {});
    bool take();

    TRunFront& front_;
    TRunRequest request_;
    TRunReport report_;
    std::unique_ptr<log::TMarkingLog> log_;
    std::optional<TLoggedRun> logged_;
};

// Begin and Execute at once.
TRunReport RunAll(TRunFront& front, TRunRequest request);

} // namespace korvex::job

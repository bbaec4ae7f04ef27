#pragma once

#include "ncgen/DateCodes.h"
#include "ncgen/NCGenerateCommand.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::ncgen {

// The values a name or text pattern can hold: "{n}" the serial number, "{i}" the number of
// the program in the run (for a list: the line's number in the file), "{line}" the text.
// "{n:06}" pads with zeros to six places, "{n:6}" with blanks.
struct TPatternValues {
    std::int64_t N = 0;
    std::int64_t I = 0;
    std::string_view Line;
    // With a moment, also the date codes of DateCodes.h, taken at that one moment.
    std::optional<TMoment> Now;
    const std::vector<TShift>* Shifts = nullptr;
};

// The pattern with every known placeholder replaced; other text, unknown braces included,
// stays as written.
std::string ExpandPattern(std::string_view pattern, const TPatternValues& values);

// START[:COUNT[:STEP]] of a serial run; nullopt when it is not three whole numbers with a
// COUNT from 1 to MaxSerialCount, a STEP other than 0 and every number within 64 bits.
inline constexpr std::int64_t MaxSerialCount = 1000000;
struct TSerialRange {
    std::int64_t Start = 0;
    std::int64_t Count = 1;
    std::int64_t Step = 1;
};
std::optional<TSerialRange> ReadSerialRange(std::string_view text);

// A range taken from a shared counter, which never moves back and never passes INT64_MAX:
// the step is 1 or more (text 9553) and the counter's next value after the range,
// Start + Count * Step, fits in 64 bits (text 9554). Empty when the counter can take it.
base::TTextMessage CheckCounterRange(const TSerialRange& range);

// One program of a run: the text to encode (Windows-1252) and the file it goes to.
struct TRunItem {
    std::string Text;
    std::filesystem::path Output;
    // The item's {n} and {i}, for the dot line's free text; I is 0 outside a planned run.
    std::int64_t N = 0;
    std::int64_t I = 0;
};

// What the maker gives back for one text: the program's bytes, or why there is none. Summary
// is shown beside the item (points, check result ...).
struct TRunProgram {
    bool Ok = false;
    std::string Bytes;
    std::string Message;        // Windows-1252, when not Ok
    base::TTextMessage Refusal; // or the generate command's refusal, in language texts
    std::string Summary;
    bool StopAfterWriting = false; // written, but the run must not go on (a failed check)
    // What a record of the program keeps besides its text and bytes.
    std::string SymbolSize;
    std::string Encodation;
    std::string ReadBack; // the read-back verdict, when the maker checked it
    std::string Grade;    // the predicted grade, when the maker predicted it
};

enum class TRunStop {
    None,
    DuplicateOutput, // two items name one file; nothing was written
    Generation,      // the maker failed; Message says why
    Write,           // the file could not be written
    Cancelled,       // the progress callback asked to stop
    Refused,         // the maker's program was written, but it asked to stop the run
    Sink,            // the program sink failed (the marking log); Refusal says why
};

struct TRunOutcome {
    std::size_t Written = 0;
    TRunStop Stop = TRunStop::None;
    std::size_t FailedItem = 0; // index of the item the run stopped at
    std::string Message;
    base::TTextMessage Refusal;
};

// Called after every item, written or not; returning false cancels the rest.
struct TRunStep {
    std::size_t Index = 0;
    std::size_t Count = 0;
    const TRunItem& Item;
    const TRunProgram& Program;
    bool Written = false;
};

// Where a run's programs go. Without one, each file is written through a temporary file and a
// rename; the marking log's sink records them first, several at a time, since each record
// costs a flush of its own.
class TProgramSink {
  public:
    virtual ~TProgramSink() = default;
    // How many programs the run makes ahead and hands over at once.
    virtual std::size_t Batch() const { return 1; }
    struct TWritten {
        std::size_t Count = 0;      // programs written, in order, before the first that was not
        base::TTextMessage Failure; // set when the sink itself failed rather than a file
    };
    // items[k] is item first + k of the run; every program is Ok.
    virtual TWritten Write(std::size_t first, const std::vector<const TRunItem*>& items,
                           const std::vector<const TRunProgram*>& programs) = 0;
};

// Makes and writes one program per item, each file through a temporary file and a rename,
// missing folders created. The first failure ends the run; every file written before it is
// complete, and no temporary file stays behind.
// With a sink that takes several programs at once, a cancel takes effect after the programs
// already handed over are written and reported.
TRunOutcome RunPrograms(const std::vector<TRunItem>& items,
                        const std::function<TRunProgram(const TRunItem&)>& make,
                        const std::function<bool(const TRunStep&)>& progress,
                        TProgramSink* sink = nullptr);

// A serial or list run of the generate command: layer 1 of `layers` takes each item's text in
// turn, with the other fields as given; the profile name is what a refusal names. `inspect`
// sees every generated program before it is written and may add to its summary or stop the
// run after it. The window's run dialog and korvex-cli both run this.
TRunOutcome
RunSerial(TLayerTable& layers, TGenerateFields fields, const TActiveProfile& profile,
          std::string_view profileName, const std::vector<TRunItem>& items,
          const std::function<void(const TGenerateCommandResult&, TRunProgram&)>& inspect,
          const std::function<bool(const TRunStep&)>& progress, TProgramSink* sink = nullptr);

} // namespace korvex::ncgen

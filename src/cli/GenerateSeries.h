#pragma once

#include "cli/GenerateLog.h"
#include "cli/GeneratePipeline.h"
#include "job/Series.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace korvex::cli {

// A serial or list run as the command line gives it (UTF-8).
struct TSeriesOptions {
    TGenerateOptions Options;          // Text is the text pattern of a serial run
    std::string Output;                // the file name pattern
    std::optional<std::string> Serial; // START[:COUNT[:STEP]], START may be "next"
    std::optional<std::string> Texts;  // the file of texts
    bool Check = false;
    bool Stats = false;
    TLogOptions Log;
    std::optional<std::string> Require; // as9132, A-D
};

// Writes one program per number or line, a summary line per program and a total on err; the
// exit status (1 at the first failure, 3 when --check finds an unreadable program).
int RunGenerateSeries(const TSeriesOptions& series, std::ostream& err);

// The texts of a list file: its non-empty lines with their numbers, converted from UTF-8 when
// the file is valid UTF-8 (a byte-order mark is skipped), else taken as Windows-1252. On a
// character without a Windows-1252 code, problem names the line.
using TListLine = job::TListText;
std::vector<TListLine> ReadListFile(const std::string& bytes, std::string& problem);

} // namespace korvex::cli

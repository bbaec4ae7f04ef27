#pragma once

#include "content/ContentKind.h"

#include "log/MarkingLog.h"
#include "ncgen/SerialRun.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace korvex::log {

struct TLoggedWrite {
    bool Written = false;                 // false: the file could not be written, nothing logged
    std::optional<TMarkRecord> Duplicate; // refused: the content was logged before
};

// Writes one program and its record in one step: the record first, then the file through a
// temporary file and a rename, then the record is marked done. record holds what the log keeps
// (Text, Output ...); its hash is taken here. Throws ELogError when the log cannot be written,
// and then no file was.
// Sets the record's content kind and, from its Text, the human-readable line of that kind.
void DescribeContent(TMarkRecord& record, content::TContentKind kind);

TLoggedWrite WriteLogged(TMarkingLog& log, TMarkRecord record, std::string_view bytes,
                         bool refuseDuplicates);

// The programs of a serial or list run into the log and their files. common holds what every
// record shares (profile, job, counter); serials, when given, the number of each item.
class TLoggedSink : public ncgen::TProgramSink {
  public:
    TLoggedSink(TMarkingLog& log, TMarkRecord common, std::vector<std::int64_t> serials = {},
                std::int64_t run = 0);
    std::size_t Batch() const override { return 32; }
    TWritten Write(std::size_t first, const std::vector<const ncgen::TRunItem*>& items,
                   const std::vector<const ncgen::TRunProgram*>& programs) override;

  private:
    TMarkingLog& log_;
    TMarkRecord common_;
    std::vector<std::int64_t> serials_;
    std::int64_t run_;
};

} // namespace korvex::log

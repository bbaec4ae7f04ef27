#include "log/LoggedWrite.h"

#include "content/SymbolContent.h"

#include "base/AtomicFile.h"
#include "base/TextNumbers.h"
#include "log/Sha256.h"

namespace korvex::log {

namespace {

// Writes the files of begun records in order; the ones written are marked done, the rest
// dropped. How many were written, and why the log could not take their end: the files are in
// place all the same, and the next opening finds them complete.
std::size_t writeBegun(TMarkingLog& log, const std::vector<TMarkRecord>& records,
                       const std::vector<std::filesystem::path>& temporaries,
                       const std::vector<std::string_view>& bytes, base::TTextMessage& failure) {
    std::size_t written = 0;
    while (written < records.size() &&
           base::WriteFileAtomically(records[written].Output, bytes[written], temporaries[written]))
        ++written;
    std::vector<std::int64_t> done, dropped;
    for (std::size_t k = 0; k < records.size(); ++k)
        (k < written ? done : dropped).push_back(records[k].Id);
    try {
        log.AbandonWrites(dropped);
        log.FinishWrites(done);
    } catch (const ELogError& e) {
        failure = e.Message;
        // Our own words for the system's reason; the run's end tells what is on disk.
        if (e.Reason != 0) failure.DetailText = e.Reason;
        // Not "nothing was written": these files are in place and complete.
        if (written > 0 && failure.Text == text::LogCannotWrite)
            failure.Text = text::LogWrittenNotNoted;
    }
    return written;
}

} // namespace

void DescribeContent(TMarkRecord& record, content::TContentKind kind) {
    record.ContentKind = std::string(content::ContentFileName(kind));
    record.HumanReadable = content::PrepareContent(kind, record.Text).HumanReadable;
}

TLoggedWrite WriteLogged(TMarkingLog& log, TMarkRecord record, std::string_view bytes,
                         bool refuseDuplicates) {
    record.Sha256 = Sha256Hex(bytes);
    std::vector<TMarkRecord> records{std::move(record)};
    TMarkingLog::TBegun begun = log.BeginWrites(records, refuseDuplicates);
    TLoggedWrite result;
    if (begun.Duplicate) {
        result.Duplicate = std::move(begun.Duplicate);
        return result;
    }
    base::TTextMessage failure;
    result.Written = writeBegun(log, records, begun.Temporaries, {bytes}, failure) == 1;
    // The one file is in place; only its record's end is missing, which the next opening adds.
    return result;
}

TLoggedSink::TLoggedSink(TMarkingLog& log, TMarkRecord common, std::vector<std::int64_t> serials,
                         std::int64_t run)
    : log_(log), common_(std::move(common)), serials_(std::move(serials)), run_(run) {}

ncgen::TProgramSink::TWritten
TLoggedSink::Write(std::size_t first, const std::vector<const ncgen::TRunItem*>& items,
                   const std::vector<const ncgen::TRunProgram*>& programs) {
    std::vector<TMarkRecord> records;
    std::vector<std::string_view> bytes;
    for (std::size_t k = 0; k < items.size(); ++k) {
        TMarkRecord record = common_;
        record.Text = items[k]->Text;
        if (const auto kind = content::ContentKindFromName(record.ContentKind))
            DescribeContent(record, *kind);
        record.Output = items[k]->Output;
        record.SymbolSize = programs[k]->SymbolSize;
        record.Encodation = programs[k]->Encodation;
        record.ReadBack = programs[k]->ReadBack;
        record.Grade = programs[k]->Grade;
        record.Sha256 = Sha256Hex(programs[k]->Bytes);
        if (first + k < serials_.size()) record.Serial = serials_[first + k];
        records.push_back(std::move(record));
        bytes.push_back(programs[k]->Bytes);
    }
    TWritten written;
    TMarkingLog::TBegun begun;
    try {
        begun = log_.BeginWrites(records, false, run_);
    } catch (const ELogError& e) {
        written.Failure = e.Message;
        if (e.Reason != 0) written.Failure.DetailText = e.Reason;
        return written;
    }
    written.Count = writeBegun(log_, records, begun.Temporaries, bytes, written.Failure);
    return written;
}

} // namespace korvex::log

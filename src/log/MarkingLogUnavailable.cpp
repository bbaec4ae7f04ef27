// The log of a build without SQLite (the Windows cross build: Debian has no SQLite for it).
// Opening refuses with a message that names the way out, so nothing is written that the log
// should have recorded and nobody is told it was.
#include "base/PathText.h"
#include "base/TextNumbers.h"
#include "log/MarkingLog.h"

namespace korvex::log {

namespace {
[[noreturn]] void unavailable(const std::filesystem::path& file) {
    throw ELogError({text::LogNotInThisBuild, 0, base::PathText(file)});
}
} // namespace

TMarkingLog::TMarkingLog(const std::filesystem::path& file) : file_(file) {
    unavailable(file);
}
TMarkingLog::~TMarkingLog() = default;

std::optional<TMarkRecord> TMarkingLog::FindContent(std::string_view, std::string_view) const {
    unavailable(file_);
}
std::optional<std::pair<std::size_t, TMarkRecord>>
TMarkingLog::FindFirstLogged(const std::vector<std::string>&, std::string_view) const {
    unavailable(file_);
}
std::vector<TMarkRecord> TMarkingLog::Query(const TLogQuery&) const {
    unavailable(file_);
}
std::vector<TMarkRecord> TMarkingLog::FindHash(std::string_view) const {
    unavailable(file_);
}
std::int64_t TMarkingLog::NextSerial(std::string_view) const {
    unavailable(file_);
}
std::optional<TMarkingLog::TTakenRun>
TMarkingLog::TakeSerials(std::string_view, std::int64_t, std::int64_t,
                         const std::function<bool(std::int64_t)>&) {
    unavailable(file_);
}
void TMarkingLog::FinishRun(std::int64_t) {
    unavailable(file_);
}
TMarkingLog::TBegun TMarkingLog::BeginWrites(std::vector<TMarkRecord>&, bool, std::int64_t) {
    unavailable(file_);
}
void TMarkingLog::FinishWrites(const std::vector<std::int64_t>&) {
    unavailable(file_);
}
void TMarkingLog::AbandonWrites(const std::vector<std::int64_t>&) {
    unavailable(file_);
}

} // namespace korvex::log

#pragma once

#include "config/LanguageTexts.h"
#include "log/MarkingLog.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::log {

// The columns of a record as lists and exports give them, in this order.
inline constexpr std::array<std::string_view, 17> RECORD_COLUMNS = {
    "id",           "time_utc",       "time_local",  "user",       "host",    "text",
    "content_kind", "human_readable", "symbol_size", "encodation", "profile", "job",
    "output",       "sha256",         "read_back",   "counter",    "serial"};

// The record's values in RECORD_COLUMNS order, as UTF-8.
std::vector<std::string> RecordValues(const TMarkRecord& record);
// The same for a person: the content kind and the read-back verdict in the language.
std::vector<std::string> RecordWords(const TMarkRecord& record,
                                     const config::TLanguageTexts& texts);

// Whether any of the record's values holds the needle (UTF-8), letters of any case alike;
// an empty needle is in every record.
bool RecordMatches(const TMarkRecord& record, std::string_view needle);

// A header line and one line per record, CR LF, fields quoted where they hold a comma, quote
// or line break (RFC 4180); UTF-8. The values are RecordWords.
std::string RecordsCsv(const std::vector<TMarkRecord>& records,
                       const config::TLanguageTexts& texts);

// The CSV lines read back into rows of fields; for tests and imports.
std::vector<std::vector<std::string>> ReadCsv(std::string_view csv);

// A JSON array of objects named by RECORD_COLUMNS; serial is a number or null.
std::string RecordsJson(const std::vector<TMarkRecord>& records);

} // namespace korvex::log

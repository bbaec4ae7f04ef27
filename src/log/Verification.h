#pragma once

#include "log/RecordMapping.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace korvex::log {

// A photo of a marked part, verified and kept with the record of the program that marked it,
// many to a record. Texts are Windows-1252 like the rest of the core.
struct TVerification {
    std::int64_t Id = 0;
    std::int64_t Mark = 0; // the record's id
    std::string TimeUtc;   // "2026-12-10T20:41:07Z"; stamped when stored
    std::string Who;       // "user@host"; stamped when stored
    std::string Grade;     // the overall grade the photo gave, "A" ... "F"
    bool As9132Pass = false;
    std::string PhotoSha256; // of the photo file's bytes
    std::filesystem::path Photo;
    double DotSize = 0; // the measured dots' mean diameter over the cell: 0.74 is 74 %
};

// The schema step of each back end: a table of its own, so a reader of the older schema sees
// the marks as before.
inline constexpr const char* SqliteVerificationMigration =
    R"(CREATE TABLE verifications(id INTEGER PRIMARY KEY, mark INTEGER NOT NULL,
         time_utc TEXT NOT NULL, who TEXT NOT NULL, grade TEXT NOT NULL,
         as9132_pass INTEGER NOT NULL, photo_sha256 TEXT NOT NULL, photo TEXT NOT NULL,
         dot_size TEXT NOT NULL);
       CREATE INDEX verifications_mark ON verifications(mark);)";
inline constexpr const char* PgVerificationMigration =
    R"(CREATE TABLE korvex.verifications(id BIGSERIAL PRIMARY KEY, mark BIGINT NOT NULL,
         time_utc TEXT NOT NULL, who TEXT NOT NULL, grade TEXT NOT NULL,
         as9132_pass INTEGER NOT NULL, photo_sha256 TEXT NOT NULL, photo TEXT NOT NULL,
         dot_size TEXT NOT NULL);
       CREATE INDEX verifications_mark ON korvex.verifications(mark);)";

// The columns, in the order ReadVerification takes them and VerificationValues gives them
// (the id first only when read).
inline constexpr const char* VerificationColumns =
    "mark, time_utc, who, grade, as9132_pass, photo_sha256, photo, dot_size";
inline constexpr int VerificationColumnCount = 8;
TVerification ReadVerification(const TRow& row, int first = 0);
std::vector<TValue> VerificationValues(const TVerification& verification);

// "B, AS9132 passes, dots 74 %" (Windows-1252), for a listing.
std::string DescribeVerification(const TVerification& verification);

} // namespace korvex::log

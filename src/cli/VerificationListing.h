#pragma once

#include "log/MarkingLog.h"

#include <ostream>
#include <vector>

namespace korvex::cli {

// The listed records that have a verification, each with every photo kept for it and its
// prediction beside; nothing when none has one, so a listing without stays as it was.
void PrintVerifications(const log::TMarkingLog& markingLog,
                        const std::vector<log::TMarkRecord>& records, std::ostream& out);

// Of the records, those without a verification (korvex-cli log --unverified).
std::vector<log::TMarkRecord> OnlyUnverified(const log::TMarkingLog& markingLog,
                                             std::vector<log::TMarkRecord> records);

} // namespace korvex::cli

#pragma once

#include "log/MarkingLog.h"
#include "log/Verification.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvex::job {

// The record a verified photo belongs to: the log's earliest of the decoded content, as the
// duplicate check finds it (Windows-1252 bytes, the content kind as in the .ncm files).
std::optional<log::TMarkRecord> MarkedRecord(const log::TMarkingLog& log, std::string_view bytes,
                                             std::string_view contentKind);

// Keeps what a photo showed with the record, the photo's SHA-256 from its file, for the
// window and korvex-cli alike; false when the photo cannot be read again (then nothing is
// kept). Throws log::ELogError when the log refuses.
bool RecordVerification(log::TMarkingLog& log, const log::TMarkRecord& record,
                        log::TVerification& verification);

// "B, AS9132 passes, dots 74 %" beside the predicted grade when the log kept one.
std::string VerificationBesidePrediction(const std::string& predicted,
                                         const log::TVerification& verification);

} // namespace korvex::job

#pragma once

#include "config/LanguageTexts.h"
#include "verify/VerifyPhoto.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace korvex::cli {

// The marking log's record of the photo's decoded content, or that it has none, as lines of
// the report; with record, the verification is kept with that record. ExitOk, or ExitFailure
// when the log cannot be used or --record finds no record to keep it with.
int ReportMarkedRecord(const std::optional<std::string>& configOption,
                       const verify::TVerifyReport& report, const std::filesystem::path& photo,
                       bool record, const config::TLanguageTexts& texts, std::ostream& out,
                       std::ostream& err);

} // namespace korvex::cli

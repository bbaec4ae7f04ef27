#pragma once

#include "config/LanguageTexts.h"
#include "verify/VerifyPhoto.h"

#include <string>
#include <vector>

namespace korvex::verify {

// The report for people, in the user's language (Windows-1252): what the symbol says, each
// measured figure with its limit and grade, and that the grades are only indicative.
// `photoName` as it should be shown.
std::vector<std::string> VerifyReportLines(const TVerifyReport& report,
                                           const std::string& photoName,
                                           const config::TLanguageTexts& texts);

// Why the photo gives no report, in the user's language.
std::string VerifyProblemText(TVerifyProblem problem, const std::string& photoName,
                              const config::TLanguageTexts& texts);

} // namespace korvex::verify

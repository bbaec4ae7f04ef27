#pragma once

#include "config/LanguageTexts.h"
#include "grade/GradeFormat.h"
#include "grade/GradeReport.h"
#include "job/Job.h"

#include <string>
#include <vector>

namespace korvex::job {

// The profile's "TiefeToleranz" (mm); the default where it is missing or no number, and for a
// profile file named directly.
long double DepthTolerance(const TOpenJob& job);

// The predicted grade of a program of the job (layer 1, with the options' content kind).
grade::TGradeReport GradeOfProgram(const TOpenJob& job, const TJobOptions& options,
                                   const TProgram& program, bool verdict = true);

// The report in the texts' language, one line each.
std::vector<std::string> GradeReportLines(const grade::TGradeReport& report,
                                          const config::TLanguageTexts& texts);
// "Note B · AS9132 nicht erfüllt · knapp lesbar".
std::string GradeStatusText(const grade::TGradeReport& report, const config::TLanguageTexts& texts);
// Text 9955 when the report falls short of `requirement` ("as9132", "B" as given); empty when
// it meets it.
std::string GradeShortfall(const grade::TGradeReport& report, std::string_view requirement,
                           const config::TLanguageTexts& texts);

} // namespace korvex::job

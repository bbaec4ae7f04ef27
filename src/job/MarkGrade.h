#pragma once

#include "config/LanguageTexts.h"
#include "grade/GradeFormat.h"
#include "grade/GradeReport.h"
#include "job/Job.h"

#include <filesystem>
#include <string>
#include <vector>

namespace korvex::job {

// The profile's "TiefeToleranz" (mm) in the configuration folder; the default where it is
// missing or no number, and for a profile file named directly (number below 1). The window and
// korvex-cli grade with it alike.
long double DepthTolerance(const std::filesystem::path& configFolder, int profileNumber);
long double DepthTolerance(const TOpenJob& job);

// The predicted grade of a program of the job (layer 1, with the options' content kind).
grade::TGradeReport GradeOfProgram(const TOpenJob& job, const TJobOptions& options,
                                   const TProgram& program, bool verdict = true);

// The report in the texts' language, one line each.
std::vector<std::string> GradeReportLines(const grade::TGradeReport& report,
                                          const config::TLanguageTexts& texts);
// "Note B · AS9132 nicht erfüllt · knapp lesbar".
std::string GradeStatusText(const grade::TGradeReport& report, const config::TLanguageTexts& texts);
// What the marking log keeps of a predicted grade; empty when there is none (no tool in the
// profile).
std::string RecordedGrade(const grade::TGradeReport& report);

// The program of a run step graded: its simulation lines, layer 1 with the step's text.
grade::TGradeReport GradeOfStep(const std::vector<std::string>& simulationLines,
                                const ncgen::TLayer& layer, const ncgen::TActiveProfile& profile,
                                std::string_view blankDefinition, long double tolerance);
// Text 9955 with the requirement and the report's status when it falls short; empty otherwise.
base::TTextMessage RequirementRefusal(const grade::TGradeReport& report,
                                      std::string_view requirement,
                                      const config::TLanguageTexts& texts);

} // namespace korvex::job

#pragma once

#include "config/LanguageTexts.h"
#include "grade/GradeFormat.h"
#include "grade/GradeReport.h"
#include "job/Job.h"
#include "readback/ProgramNotes.h"

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
// Dots over 105 % which the predicted mark's readers read are no failed check: outside
// AS9132's window is a conformance matter (said as a warning), not an unreadable mark. The
// window, runs and single programs settle the read-back's verdict alike.
void SettleMergingDots(readback::TReadBackResult& check,
                       const std::vector<std::string>& simulationLines, const ncgen::TLayer& layer,
                       const ncgen::TActiveProfile& profile, const std::string& blankDefinition);
// The read-back's notes of a program, settled so.
readback::TProgramNotes NotesWithVerdict(const std::vector<std::string>& simulationLines,
                                         const ncgen::TLayer& layer,
                                         const ncgen::TActiveProfile& profile,
                                         const std::string& blankDefinition, bool stats, bool check,
                                         std::string_view rapidRate = {});

// Text 9955 with the requirement and the report's status when it falls short; empty otherwise.
base::TTextMessage RequirementRefusal(const grade::TGradeReport& report,
                                      std::string_view requirement,
                                      const config::TLanguageTexts& texts);

} // namespace korvex::job

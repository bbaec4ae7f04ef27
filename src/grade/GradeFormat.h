#pragma once

#include "grade/GradeReport.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvex::grade {

// The report as one JSON object with the keys the manual lists; the figures at the nominal
// depth, "pass" and "overall" over the whole depth tolerance.
std::string ReportJson(const TGradeReport& report);

// What `generate --require` asks of a program: AS9132, or at least an ISO/IEC 15415 grade.
struct TRequirement {
    bool As9132 = false;
    TGrade Least = TGrade::F;
};
// "as9132" (any case), "A", "B", "C", "D"; nothing for another word.
std::optional<TRequirement> ReadRequirement(std::string_view text);
// Why the report falls short of the requirement (English); empty when it meets it. A mark
// that does not read meets no requirement.
std::string ShortOf(const TGradeReport& report, const TRequirement& requirement);

// One line for the log and the status bar: "B, AS9132 fails, reads narrowly".
std::string GradeSummary(const TGradeReport& report);

} // namespace korvex::grade

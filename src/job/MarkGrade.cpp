#include "job/MarkGrade.h"

#include "base/DecimalText.h"
#include "base/TextLines.h"
#include "base/TextNumbers.h"
#include "config/ConfigFolder.h"
#include "config/IniFile.h"
#include "ncgen/NumberReading.h"
#include "readback/ProgramNotes.h"

#include <cmath>

namespace korvex::job {
namespace {

std::string fixed(double value, int decimals) {
    return base::FixedText(value, decimals);
}

std::string passText(bool pass, const config::TLanguageTexts& texts) {
    return texts.Text(pass ? text::GradePass : text::GradeFail);
}

std::string letter(grade::TGrade g) {
    return std::string(1, grade::GradeLetter(g));
}

std::string verdictText(const grade::TGradeReport& report, const config::TLanguageTexts& texts) {
    if (!report.Verdict) return texts.Text(text::GradeNoVerdict);
    switch (report.Verdict->Verdict) {
    case grade::TVerdict::Reads:
        return texts.Text(text::GradeReads);
    case grade::TVerdict::ReadsNarrowly:
        return texts.Text(text::GradeReadsNarrowly);
    case grade::TVerdict::DoesNotRead:
        break;
    }
    return texts.Text(text::GradeDoesNotRead);
}

std::string problemText(const grade::TGradeReport& report, const config::TLanguageTexts& texts) {
    return texts.Format(text::GradeNone,
                        texts.Text(report.NoTool ? text::GradeNoTool : text::GradeNoSymbol));
}

void depthLines(const grade::TGradeAtDepth& at, const config::TLanguageTexts& texts,
                std::vector<std::string>& lines) {
    const grade::TAs9132& as = at.As9132;
    const grade::TIso15415& iso = at.Iso;
    const std::string offset = base::FixedText(std::fabs(at.DepthOffset), 3);
    lines.push_back(at.DepthOffset == 0 ? texts.Text(text::GradeAtNominal)
                                        : texts.Format(at.DepthOffset < 0 ? text::GradeAtShallower
                                                                          : text::GradeAtDeeper,
                                                       offset));
    const auto add = [&lines](std::string line) { lines.push_back("  " + std::move(line)); };
    add(texts.Format(text::GradeDotSize, fixed(as.DotMin, 1), fixed(as.DotMean, 1),
                     fixed(as.DotMax, 1), fixed(as.OutsidePercent, 1),
                     passText(as.DotSizePass, texts)));
    add(texts.Format(text::GradeCentreOffset, fixed(as.CentreOffsetMax, 1),
                     passText(as.CentrePass, texts)));
    add(texts.Format(text::GradeOvality, fixed(as.OvalityMax, 1), passText(as.OvalityPass, texts)));
    add(texts.Format(text::GradeAngle, fixed(as.AngleOfDistortion, 2),
                     passText(as.AnglePass, texts)));
    add(as.QuietZone ? texts.Format(text::GradeQuietZone, fixed(*as.QuietZone, 1),
                                    passText(as.QuietPass, texts))
                     : texts.Text(text::GradeQuietNotJudged));
    add(texts.Format(text::GradeAxial, fixed(iso.AxialNonuniformity, 3), letter(iso.Axial)));
    add(texts.Format(text::GradeGrid, fixed(iso.GridNonuniformity, 3), letter(iso.Grid)));
    add(texts.Format(text::GradeUnused, fixed(iso.UnusedErrorCorrection, 2), letter(iso.Unused)));
    add(texts.Format(text::GradeFixedPattern, std::to_string(iso.DamagedPatternModules),
                     letter(iso.FixedPattern)));
    add(texts.Format(text::GradeAtDepth, letter(iso.Overall()), passText(as.Pass(), texts)));
}

} // namespace

long double DepthTolerance(const TOpenJob& job) {
    return DepthTolerance(job.Session.ConfigFolder, job.ProfileNumber);
}

long double DepthTolerance(const std::filesystem::path& configFolder, int profileNumber) {
    if (profileNumber < 1) return grade::DefaultDepthTolerance;
    const config::TIniReading ini(
        config::SettingsFile(configFolder, "profil" + std::to_string(profileNumber)), "set");
    const std::string value = ini.ReadString("TiefeToleranz");
    const ncgen::TNumberReading read = ncgen::ReadNumber(value);
    if (value.empty() || !read.ok || !std::isfinite(read.value))
        return grade::DefaultDepthTolerance;
    return std::fabs(read.value);
}

grade::TGradeReport GradeOfProgram(const TOpenJob& job, const TJobOptions& options,
                                   const TProgram& program, bool verdict) {
    ncgen::TLayer layer = job.Job.Layers.Layer(1);
    if (options.Content) layer.Content = *options.Content;
    return grade::GradeProgram(program.Generated.SimulationLines, layer, job.Profile.Profile,
                               program.Content, DepthTolerance(job), job.Job.BlankDefinition,
                               verdict);
}

std::vector<std::string> GradeReportLines(const grade::TGradeReport& report,
                                          const config::TLanguageTexts& texts) {
    if (!report.Ok()) return {problemText(report, texts)};
    std::vector<std::string> lines{texts.Format(text::GradeVerdict, verdictText(report, texts))};
    for (const grade::TGradeAtDepth& at : report.Depths)
        depthLines(at, texts, lines);
    lines.push_back(texts.Format(text::GradeOverTolerance, base::FixedText(report.Tolerance, 3),
                                 letter(report.Overall()), passText(report.As9132Pass(), texts)));
    lines.push_back(texts.Text(text::GradeNotPredicted));
    return lines;
}

std::string GradeStatusText(const grade::TGradeReport& report,
                            const config::TLanguageTexts& texts) {
    if (!report.Ok()) return problemText(report, texts);
    return texts.Format(text::GradeStatus, letter(report.Overall()),
                        passText(report.As9132Pass(), texts), verdictText(report, texts));
}

std::string RecordedGrade(const grade::TGradeReport& report) {
    return report.Ok() ? grade::GradeSummary(report) : std::string();
}

grade::TGradeReport GradeOfStep(const std::vector<std::string>& simulationLines,
                                const ncgen::TLayer& layer, const ncgen::TActiveProfile& profile,
                                std::string_view blankDefinition, long double tolerance) {
    return grade::GradeProgram(simulationLines, layer, profile, readback::LayerCode(layer),
                               tolerance, blankDefinition);
}

readback::TProgramNotes NotesWithVerdict(const std::vector<std::string>& simulationLines,
                                         const ncgen::TLayer& layer,
                                         const ncgen::TActiveProfile& profile,
                                         const std::string& blankDefinition, bool stats, bool check,
                                         std::string_view rapidRate) {
    readback::TProgramNotes notes = readback::NotesFor(simulationLines, layer, profile,
                                                       blankDefinition, stats, check, rapidRate);
    if (notes.Check)
        SettleMergingDots(*notes.Check, simulationLines, layer, profile, blankDefinition);
    return notes;
}

void SettleMergingDots(readback::TReadBackResult& check,
                       const std::vector<std::string>& simulationLines, const ncgen::TLayer& layer,
                       const ncgen::TActiveProfile& profile, const std::string& blankDefinition) {
    if (check.Verdict != readback::TReadBackVerdict::DoesNotRead ||
        check.Problem.Reason != readback::TProblem::DotsMerge)
        return;
    // The verdict at the nominal depth alone: the tolerance's ends do not change it.
    const grade::TGradeReport report = grade::GradeProgram(
        simulationLines, layer, profile, readback::LayerCode(layer), 0, blankDefinition);
    if (report.Ok() && report.Verdict && report.Verdict->Verdict != grade::TVerdict::DoesNotRead)
        check.Verdict = check.MirrorAsked ? readback::TReadBackVerdict::ReadsMirrored
                                          : readback::TReadBackVerdict::ReadsAsText;
}

base::TTextMessage RequirementRefusal(const grade::TGradeReport& report,
                                      std::string_view requirement,
                                      const config::TLanguageTexts& texts) {
    const auto wanted = grade::ReadRequirement(requirement);
    if (!wanted || grade::ShortOf(report, *wanted).empty()) return {};
    const std::string why =
        !report.Ok() ? problemText(report, texts) : GradeStatusText(report, texts);
    return {text::GradeShortOfRequire, 0, {}, {std::string(requirement), why}};
}

} // namespace korvex::job

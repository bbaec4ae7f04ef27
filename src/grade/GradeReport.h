#pragma once

#include "grade/PredictedMark.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::grade {

// ISO/IEC 15415 grades, 4 (A) down to 0 (F).
enum class TGrade { F = 0, D = 1, C = 2, B = 3, A = 4 };
char GradeLetter(TGrade grade);

// The SAE AS9132 figures of a dot-peen mark; percentages of the nominal cell.
struct TAs9132 {
    double DotMin = 0, DotMean = 0, DotMax = 0;
    double OutsidePercent = 0; // dots outside 60-105 %
    double CentreOffsetMax = 0;
    double OvalityMax = 0;           // (major - minor) / major of the worst dot
    double AngleOfDistortion = 0;    // degrees off 90 between the finder's legs
    std::optional<double> QuietZone; // modules; nothing without a blank
    bool DotSizePass = false, CentrePass = false, OvalityPass = false, AnglePass = false;
    bool QuietPass = true; // not judged without a blank
    bool Pass() const { return DotSizePass && CentrePass && OvalityPass && AnglePass && QuietPass; }
};

// The ISO/IEC 15415 parameters (with ISO/IEC TR 29158 for direct marks) that the geometry
// decides.
struct TIso15415 {
    double AxialNonuniformity = 0;
    double GridNonuniformity = 0;
    double UnusedErrorCorrection = 0;
    int DamagedPatternModules = 0; // finder, clock and quiet-zone modules sampled wrong
    TGrade Axial = TGrade::F, Grid = TGrade::F, Unused = TGrade::F, FixedPattern = TGrade::F;
    TGrade Overall() const;
};

struct TGradeAtDepth {
    long double DepthOffset = 0; // mm deeper than the program writes
    TAs9132 As9132;
    TIso15415 Iso;
};

// What readers make of the predicted mark: zxing-cpp and libdmtx at 5, 10 and 15 pixels per
// cell, clean and worn, each after the closings a reader tries (0.5 and 0.8 of the cell).
enum class TVerdict { Reads, ReadsNarrowly, DoesNotRead };
std::string_view VerdictWords(TVerdict verdict); // "reads", "reads narrowly", "does not read"

struct TReading {
    int PixelsPerCell = 0;
    bool Worn = false;
    bool Dmtx = false; // libdmtx, else zxing-cpp
    bool Reads = false;
};

struct TVerdictResult {
    TVerdict Verdict = TVerdict::DoesNotRead;
    std::vector<TReading> Readings;
};

// The parameters no geometry predicts; a verifier measures them on the part.
inline constexpr std::array<std::string_view, 3> NotPredicted = {
    "symbol contrast / cell contrast", "modulation / cell modulation", "minimum reflectance"};

// The figures of one predicted mark.
TGradeAtDepth GradeMark(const TPredictedMark& mark);
// The readers' verdict on one predicted mark that should carry `bytes`.
TVerdictResult ReadVerdict(const TPredictedMark& mark, std::string_view bytes);

// The readers' verdict exists only where the decoders are linked.
bool VerdictAvailable();

struct TGradeReport {
    std::string Problem; // English; when set, nothing else is
    bool NoTool = false; // the problem: no tool or no dot spacing
    long double Tolerance = 0;
    std::vector<TGradeAtDepth> Depths;     // nominal, shallower end, deeper end
    std::optional<TVerdictResult> Verdict; // at the nominal depth
    std::optional<TPredictedMark> Mark;    // at the nominal depth, for pictures

    bool Ok() const { return Problem.empty(); }
    // Over the whole depth tolerance.
    bool As9132Pass() const;
    TGrade Overall() const;
};

// The default depth tolerance, mm, of a profile without "TiefeToleranz".
inline constexpr long double DefaultDepthTolerance = 0.01L;

// The report of a program: the grade at the nominal depth and at both ends of the tolerance,
// the verdict at the nominal depth for the text the layer's content kind makes of `text`.
TGradeReport GradeProgram(const std::vector<std::string>& simulationLines,
                          const ncgen::TLayer& layer, const ncgen::TActiveProfile& profile,
                          std::string_view text, long double tolerance,
                          std::string_view blankDefinition = {}, bool verdict = true);

} // namespace korvex::grade

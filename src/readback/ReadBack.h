#pragma once

#include "ncgen/Layer.h"
#include "ncgen/OutputProfile.h"
#include "readback/ModuleGrid.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::readback {

enum class TReadBackVerdict {
    ReadsAsText,
    ReadsMirrored, // the text, but only in a mirror image
    DoesNotRead,
    ReadsAsOther,
};

// Why a symbol whose bytes are right still reads as something else: a scanner also reports
// the symbology identifier, the content type and the ECI, and systems act on them.
enum class TContentMismatch {
    None,
    Identifier,  // values: read, expected
    GsForFnc1,   // ]d1 where ]d2 was meant: a GS written instead of the leading FNC1
    ContentType, // values: read, expected
    NoEci,       // the text reads only as control characters without ECI 23
};

// How far a mark of round dots is from not reading, found on the same rendering.
struct TDotMargin {
    std::optional<float> ReadsFrom;    // the smallest fill of 40-110 % (5 % steps) that reads
    bool ReadsWithCentreError = false; // at the program's fills, centres off by up to 10 %
    std::optional<bool> SecondOpinion; // libdmtx at the program's fills, where it reads the size
};

// The dots as the tool makes them, in module widths.
struct TDotCheck {
    float SmallestFill = 0;
    float LargestFill = 0;
    std::optional<TDotMargin> Margin; // when the marks form a symbol
};

struct TReadBackResult {
    TReadBackVerdict Verdict = TReadBackVerdict::DoesNotRead;
    bool MirrorAsked = false;        // exactly one of the layer's mirrors is on
    std::string Decoded;             // what the symbol carries (Windows-1252) when it read
    std::string Detail;              // why it does not read, in English
    TReadBackProblem Problem;        // the same, for other languages
    std::optional<TDotCheck> Dots;   // with a tool: the marks were read as round dots
    std::string SymbologyIdentifier; // as read, "]d2"
    std::string ContentType;         // as read: "GS1", "ISO15434" or "Text"
    bool Eci = false;                // the read found an ECI designator
    TContentMismatch Mismatch = TContentMismatch::None;
    std::vector<std::string> MismatchValues;
};

// The margin in English: "reads from 60 %, with 10 % centre error: yes, libdmtx: no".
std::string DescribeMargin(const TDotMargin& margin);

// "reads as the text", "reads as the text only mirrored", "does not read",
// "reads as something else".
std::string_view VerdictText(TReadBackVerdict verdict);

// Reads as the text; a mirror image counts when a mirror was asked for.
bool ReadsAsIntended(const TReadBackResult& result);

// One line for people: the verdict, and the reason or what it read instead.
std::string Describe(const TReadBackResult& result);

// False in a build without zxing-cpp (the Windows build: Debian has it for Linux only); then
// CheckReadBack throws and front ends refuse the check with ReadBackMissing.
inline constexpr bool ReadBackAvailable = KORVEX_READBACK != 0;
inline constexpr std::string_view ReadBackMissing =
    "the read-back check is not part of this build (it needs zxing-cpp, which the Windows "
    "build does not have)";
// The mismatch in English, as korvex-cli says it; empty for None.
std::string MismatchText(TContentMismatch mismatch, const std::vector<std::string>& values);

// Rebuilds the symbol from the points the program marks (the simulation lines, rounded to the
// program's decimals, without the points whose template writes no X and Y), as seen from the
// tool: looking down -Z in the XY plane, or in lathe mode at the X/Z plane from +Y. Decodes it
// with zxing-cpp and compares with the text (Windows-1252) as the layer's content kind encodes
// it: the bytes a reader returns, the symbology identifier, the content type and the ECI. With
// a tool in the profile every
// mark is a round dot of the tool's diameter at its depth, seen as a DPM reader sees it
// (DotPicture), and the margin is measured; dots outside 60-105 % of the spacing do not read,
// even where a clean picture of them would. Without a tool the modules are perfect squares.
TReadBackResult CheckReadBack(const std::vector<std::string>& simulationLines,
                              const ncgen::TLayer& layer, const ncgen::TActiveProfile& profile,
                              std::string_view text, bool margin = true);

} // namespace korvex::readback

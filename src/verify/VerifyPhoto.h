#pragma once

#include "grade/GradeReport.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::verify {

// Why a photo gives no report. The first four are bad input, NoSymbol is a photo that shows
// no readable symbol.
enum class TVerifyProblem { None, Missing, NotImage, TooLarge, Damaged, NoSymbol };

// One dark module's dot as measured, in module widths of the grid the decoder found: module
// (Col, Row) is nominally centred at (Col + 0.5, Row + 0.5), rows from the top of the symbol as
// a reader lays it down (the L at the left and bottom).
struct TVerifiedDot {
    int Col = 0, Row = 0;
    double X = 0, Y = 0;
    double Diameter = 0; // of the cell: 0.8 is 80 %
    double Major = 0, Minor = 0;
    double Offset = 0;  // from the nominal centre, of the cell
    bool Found = false; // false: no edge all round (missing, or merged with its neighbours)
};

// A measured parameter with its grade (ISO/IEC 15415 letters).
struct TGradedValue {
    double Value = 0;
    grade::TGrade Grade = grade::TGrade::F;
};

struct TVerifyReport {
    TVerifyProblem Problem = TVerifyProblem::None;
    int PhotoWidth = 0, PhotoHeight = 0;

    // What the symbol says (set when Problem is None).
    std::string Bytes;               // as decoded
    std::string SymbologyIdentifier; // "]d1", "]d2" ...
    std::string ContentKind;         // "TEXT", "GS1", "ISO15434-06" ... as in the .ncm files
    int Cols = 0, Rows = 0;
    bool Mirrored = false;
    double PixelsPerCell = 0;
    double ClosingRadiusCells = 0; // the closing that made the photo readable, of the cell

    // Module units (u, v) to photo pixels: x = (G0 u + G1 v + G2) / (G6 u + G7 v + G8),
    // y = (G3 u + G4 v + G5) / (...), so a window can draw the grid on the photo.
    std::array<double, 9> Grid{};
    std::vector<TVerifiedDot> Dots;

    // The same figures and pass rules as the predicted grade, measured on the photo.
    grade::TAs9132 As9132;
    grade::TIso15415 Iso;
    // What only a photo shows; indicative, the lighting and optics are not calibrated.
    TGradedValue CellContrast, CellModulation, MinimumReflectance;

    bool Ok() const { return Problem == TVerifyProblem::None; }
    grade::TGrade Overall() const;
};

// Larger than any camera or microscope picture of a mark; a larger one is refused from its
// header, before it is decoded.
inline constexpr std::uint64_t MaxPhotoPixels = 50'000'000;

// Loads the photo (PNG, JPEG, TIFF, BMP), finds and decodes the symbol as a dot-peen reader
// does and measures the mark on the decoder's grid.
TVerifyReport VerifyPhoto(const std::filesystem::path& photo);
TVerifyReport VerifyPhotoBytes(const std::string& fileBytes);

// Whether a file's name says it is a photo Korvex reads (.png, .jpg, .jpeg, .tif, .tiff, .bmp,
// in any case); what it holds is judged when it is loaded.
bool IsPhotoName(const std::filesystem::path& file);

// The report as one JSON object; the keys the predicted grade uses where they mean the same.
std::string VerifyJson(const TVerifyReport& report);

// The problem in English, for the command line's messages and the log.
std::string_view ProblemWords(TVerifyProblem problem);

} // namespace korvex::verify

#pragma once

#include "ncgen/OutputProfile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::ncgen {

// Values of the placeholders for one point.
struct TPointValues {
    std::string_view XVal;  // [#XVAL]
    std::string_view YVal;  // [#YVAL]
    std::string_view ZVal;  // [#ZVAL]
    std::string_view RVal;  // [#RVAL]
    std::string_view FVal;  // [#FVAL]
    std::string_view XAxis; // [#XAXIS]
    std::string_view YAxis; // [#YAXIS]
    std::string_view ZAxis; // [#ZAXIS]
    std::string_view AVal;  // [#AVAL]: the rotary axis's angle
    std::string_view AAxis; // [#AAXIS]: its letter
};

// One replacement pass: the first occurrence of each placeholder, in fixed order.
void SubstitutePlaceholders(std::string& line, const TPointValues& values);

// Second pass, block numbering, then appends the line. With numbering on, a template line that
// began with "-" (`minusMarked`) is written without that "-" and without a number; a "-" that a
// value put at the start of the line is the value's sign and stays.
void EmitLine(std::string line, const TPointValues& values, const TActiveProfile& profile,
              std::int32_t& blockCounter, std::vector<std::string>& program, bool minusMarked);

// Both passes and EmitLine for one non-empty template line.
void WriteTemplateLine(const std::string& templateLine, const TPointValues& values,
                       const TActiveProfile& profile, std::int32_t& blockCounter,
                       std::vector<std::string>& program);

// A template with both replacement passes done once per generation for every value but the
// point's X and Y texts, so that a point's line is built in one piece. X and Y texts made of
// digits, signs and points (what FormatNumber writes) cannot form, split or hide a
// placeholder, so the passes find the same occurrences whatever their values; other texts
// (an empty one, say) need WriteTemplateLine.
class TTemplatePlan {
  public:
    TTemplatePlan(const TTemplate& lines, const TPointValues& values,
                  const TActiveProfile& profile);

    // Whether the plan writes what WriteTemplateLine would for these X and Y texts.
    static bool Accepts(std::string_view xText, std::string_view yText);

    // The lines of one point, as WriteTemplateLine writes them for each non-empty line.
    void Write(std::string_view xText, std::string_view yText, std::int32_t& blockCounter,
               std::vector<std::string>& program) const;

    // Lines written per point.
    std::size_t LineCount() const { return lines_.size(); }

  private:
    // Fixed text, or the point's X or Y text: pieces alternate between text and a value.
    struct TPiece {
        std::string Text;
        char Value = 0; // 'X', 'Y', or 0 for fixed text
    };
    struct TLine {
        std::vector<TPiece> Pieces;
        bool Numbered = false;
        std::size_t FixedSize = 0;
        int XCount = 0;
        int YCount = 0;
    };

    std::vector<TLine> lines_;
    std::string blockLetter_;
    std::int32_t step_ = 0;
};

// The R or Z text of a generation: the field formatted when it is a number, else the
// profile's text verbatim.
std::string FieldValueText(std::string_view fieldText, std::string_view profileText,
                           const TNCFormat& format);

} // namespace korvex::ncgen

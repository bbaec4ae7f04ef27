#pragma once

#include "ncgen/OutputProfile.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvex::ncgen {

// What an offset field shows after it was rejected.
inline constexpr std::string_view ResetOffsetText = "0.0";

// The main window's fields the status check reads.
struct TStatusFields {
    std::string_view EText;         // the text to encode, lines joined
    std::string_view EDrehWinkel;   // rotation
    std::string_view REbeneauswahl; // safety distance
    std::string_view ZEbeneauswahl; // infeed depth
};

// The field a failed status check is about, so the window can mark it while the user types.
enum class TStatusField { None, Rotation, SafetyDistance, InfeedDepth };

// Outcome of the status check after a parameter change.
struct TStatusCheck {
    bool ProgramOutOfDate = false; // enable Convert and restart ConvertTimer
    int MessageText = 0;           // language text to show, or 0
    int DetailText = 0;            // shown after MessageText and ": ", or 0
    TStatusField Field = TStatusField::None;
};

// The status check. The rotation must be a number within 0-360 (else text 9002). The R and Z
// fields must be numbers, or the profile's own safety distance or infeed depth as it stands
// (a controller parameter the program writes verbatim, but not a number with a decimal comma
// such as "1,900"); anything else would put the profile's
// value into the program while the graphic shows the partial value of the field (text 9008
// with the field's label). A text that is not a number never counts as its partial value.
// Valid fields with a non-empty text make the program out of date.
TStatusCheck Checkstatus(const TStatusFields& fields, const TActiveProfile& profile);

// Outcome of the generate command's field checks.
struct TGenerateCheck {
    bool Ok = true;
    int MessageText = 0; // shown as text MessageText + ": " + text DetailText
    int DetailText = 0;
    std::optional<std::string> EXVersatz; // new text of the field, when it must be reset
    std::optional<std::string> EYVersatz;
};

// Dot spacing (a number other than 0), then X and Y offset (numbers), as the generate command
// checks them before anything is generated.
TGenerateCheck CheckGenerateFields(std::string_view eGroesse, std::string_view eXVersatz,
                                   std::string_view eYVersatz);

} // namespace korvex::ncgen

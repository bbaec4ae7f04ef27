#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvex::ncgen {

// What an offset field shows after it was rejected.
inline constexpr std::string_view ResetOffsetText = "0.0";

// Outcome of the status check after a parameter change.
struct TStatusCheck {
    bool ProgramOutOfDate = false; // enable Convert and restart ConvertTimer
    int MessageText = 0;           // language text to show (9002), or 0
};

// The status check: angle within 0-360 and a non-empty text make the program out of date.
TStatusCheck Checkstatus(std::string_view eText, std::string_view eDrehWinkel);

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

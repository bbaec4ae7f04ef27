#include "ncgen/GenerateChecks.h"

#include "ncgen/NumberReading.h"
#include "base/TextNumbers.h"

namespace korvex::ncgen {

TStatusCheck Checkstatus(std::string_view eText, std::string_view eDrehWinkel) {
    const long double theta = 360 - ReadNumber(eDrehWinkel).value;
    const bool invalid = theta < 0 || theta > 360;
    return {!eText.empty() && !invalid, invalid ? text::AngleOutOfRange : 0};
}

TGenerateCheck CheckGenerateFields(std::string_view eGroesse, std::string_view eXVersatz,
                                   std::string_view eYVersatz) {
    const TNumberReading size = ReadNumber(eGroesse);
    if (!size.ok || size.value == 0) {
        return {false, text::InvalidInput, text::InvalidDotSpacing, {}, {}};
    }
    if (!ReadNumber(eXVersatz).ok) {
        return {false, text::InvalidInput, text::InvalidXOffset, std::string(ResetOffsetText), {}};
    }
    if (!ReadNumber(eYVersatz).ok) {
        return {false, text::InvalidInput, text::InvalidYOffset, {}, std::string(ResetOffsetText)};
    }
    return {};
}

} // namespace korvex::ncgen

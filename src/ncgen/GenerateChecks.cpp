#include "ncgen/GenerateChecks.h"

#include "base/TextNumbers.h"
#include "ncgen/NumberReading.h"

#include <string>

namespace korvex::ncgen {

namespace {

// "1,900" is a number typed with a decimal comma, not a controller parameter: written verbatim
// it would put a comma into every point.
bool decimalComma(std::string_view text) {
    if (text.find(',') == text.npos) return false;
    std::string dotted(text);
    for (char& c : dotted)
        if (c == ',') c = '.';
    return ReadNumber(dotted).ok;
}

bool levelFieldValid(std::string_view field, std::string_view profileText) {
    return ReadNumber(field).ok || (field == profileText && !decimalComma(profileText));
}

} // namespace

TStatusCheck Checkstatus(const TStatusFields& fields, const TActiveProfile& profile) {
    const TNumberReading angle = ReadNumber(fields.EDrehWinkel);
    const long double theta = 360 - angle.value;
    if (!angle.ok || theta < 0 || theta > 360)
        return {false, text::AngleOutOfRange, 0, TStatusField::Rotation};
    if (!levelFieldValid(fields.REbeneauswahl, profile.SafetyDistance))
        return {false, text::InvalidInput, text::SafetyDistanceLabel, TStatusField::SafetyDistance};
    if (!levelFieldValid(fields.ZEbeneauswahl, profile.InfeedDepth))
        return {false, text::InvalidInput, text::InfeedDepthLabel, TStatusField::InfeedDepth};
    return {!fields.EText.empty(), 0, 0};
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

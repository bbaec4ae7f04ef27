#include "ncgen/GenerateChecks.h"

#include "base/TextNumbers.h"
#include "ncgen/NumberReading.h"

namespace korvex::ncgen {

namespace {

bool levelFieldValid(std::string_view field, std::string_view profileText) {
    return ReadNumber(field).ok || field == profileText;
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

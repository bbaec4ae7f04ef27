#include "config/SettingsSteps.h"

#include "base/DecimalText.h"
#include "ncgen/NumberReading.h"

#include <cmath>

namespace korvex::config {

namespace {

std::string fixed(long double value, int decimals) {
    const long double scale = decimals == 2 ? 100.0L : 1000.0L;
    value = std::round(value * scale) / scale;
    if (value == 0) value = 0; // no "-0.000" after stepping down to zero
    return base::FixedText(value, decimals);
}

std::string whole(long double value) {
    return std::to_string(static_cast<long long>(value));
}

} // namespace

std::optional<std::string> StepSetting(TSettingsStep step, bool plus, std::string_view text) {
    const ncgen::TNumberReading reading = ncgen::ReadNumber(text);
    if (!reading.ok) {
        if (step == TSettingsStep::Level) return "0";
        return std::nullopt;
    }
    const long double value = reading.value;
    switch (step) {
    case TSettingsStep::DotSpacing:
        if (plus) return fixed(value + 0.1L, 2);
        // Compared after rounding, so 0.10 does not step down to a spacing of 0.00.
        if (std::round((value - 0.1L) * 1e6L) > 0) return fixed(value - 0.1L, 2);
        return std::nullopt;
    case TSettingsStep::Digits:
        if (plus) return value < 10 ? std::optional(whole(std::trunc(value) + 1)) : std::nullopt;
        return value > 0 ? std::optional(whole(std::trunc(value) - 1)) : std::nullopt;
    case TSettingsStep::BlockStep:
        // At its limit the field keeps its text, which the caller still copies to the start.
        if (plus) return value < 99 ? whole(std::trunc(value) + 1) : std::string(text);
        return value > 1 ? whole(std::trunc(value) - 1) : std::string(text);
    case TSettingsStep::Level:
        return fixed(value + (plus ? 0.1L : -0.1L), 3);
    }
    return std::nullopt;
}

} // namespace korvex::config

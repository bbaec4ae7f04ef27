#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvex::config {

// The − and + buttons of the settings dialog.
enum class TSettingsStep {
    DotSpacing, // EAufloesung: 0.1, stays above 0, two decimals
    Digits,     // EEStellen, EENachkommastellen: whole numbers 0-10
    BlockStep,  // EESatzschritt: whole numbers 1-99
    Level,      // EERebene, EEZebene: 0.1, three decimals
};

// The field's new text after one press, or nothing when the field stays as it is. A level
// field that holds no number becomes "0"; the other fields then stay. The block step at its
// limit answers its own text, so the start field still follows it.
std::optional<std::string> StepSetting(TSettingsStep step, bool plus, std::string_view text);

} // namespace korvex::config

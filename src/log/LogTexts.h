#pragma once

#include "config/LanguageTexts.h"
#include "log/MarkingLog.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace korvex::log {

// The text with %1, %2 ... replaced by the values in order.
std::string FillIn(std::string_view text, std::initializer_list<std::string_view> values);

// "SN-7 wurde am 2026-12-09 19:24:55 +0100 bereits markiert (Datei ...)", as a question
// ("Trotzdem schreiben?") or as a refusal.
std::string DuplicateText(const config::TLanguageTexts& texts, const TMarkRecord& earlier,
                          bool question);

// What the next start says of a serial run that was cut short.
std::string InterruptedRunText(const config::TLanguageTexts& texts, const TInterruptedRun& run);

} // namespace korvex::log

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

// A log failure in the language: what failed, our own words for the system's reason, the
// system's detail, and the way to write without the log.
std::string LogErrorText(const config::TLanguageTexts& texts, const ELogError& error);

// A record's content kind and read-back verdict in the language (the log keeps them in the
// words of the file format and of the writer's read-back).
std::string ContentKindWords(const config::TLanguageTexts& texts, std::string_view kind);
std::string ReadBackWords(const config::TLanguageTexts& texts, std::string_view readBack);

// What the next start says of a serial run that was cut short.
std::string InterruptedRunText(const config::TLanguageTexts& texts, const TInterruptedRun& run);

} // namespace korvex::log

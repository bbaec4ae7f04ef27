#pragma once

#include <string>
#include <string_view>

namespace korvex::log {

// What a reader gets of a content, as the log compares it: a GS1 element set in AI order (the
// same for GS1 and ISO/IEC 15434 format 05), the UII of format 06, else the bytes read. Two
// typings that a scanner cannot tell apart have one key. Texts in Windows-1252.
std::string ContentKey(std::string_view contentKind, std::string_view text);

} // namespace korvex::log

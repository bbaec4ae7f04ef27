#pragma once

#include <string_view>

namespace korvex::ncgen {

// A text whose last line is empty (a trailing Return) encodes CR LF at its end: a larger symbol
// than the user sees in the field, so the window says so.
bool TextEndsWithLineBreak(std::string_view code);

} // namespace korvex::ncgen

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvex::base {

// The lines of a text whose line breaks may be CR LF, LF or CR; a break at the very end
// does not start another line.
std::vector<std::string> SplitLines(std::string_view text);

// Lines joined with CR LF between them and none after the last (the NC program file format).
std::string JoinLines(const std::vector<std::string>& lines);

} // namespace korvex::base

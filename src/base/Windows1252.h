#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvex::base {

// Windows-1252 <-> UTF-8 at the boundary of the core (command line, widgets).
// The core keeps every text as single bytes of the Windows Western code page.

struct TCodePageResult {
    std::string text; // converted bytes, valid when ok
    bool ok = false;
    // The first character without a code as a message names it: its UTF-8, or "U+2009" for
    // one that cannot be seen; or the bad bytes.
    std::string offending;
};

// UTF-8 to Windows-1252. A character without a single-byte code, or malformed UTF-8, fails.
TCodePageResult Utf8ToWindows1252(std::string_view utf8);

// Windows-1252 to UTF-8. The five unassigned bytes (81, 8D, 8F, 90, 9D) map to the C1
// controls of the same value, so every byte survives a round trip.
std::string Windows1252ToUtf8(std::string_view bytes);

// The bytes are UTF-8 as far as the lead bytes and their continuation bytes go (overlong forms
// and surrogates are not told apart): a file's text can be taken as UTF-8 rather than
// Windows-1252.
bool ValidUtf8(std::string_view bytes);

} // namespace korvex::base

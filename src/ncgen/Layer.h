#pragma once

#include "content/ContentKind.h"
#include "ncgen/HrtLine.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvex::ncgen {

inline constexpr int MaxLayerLines = 100;

// One labeling layer: the text of one symbol and its placement. Numbers are held as typed.
struct TLayer {
    bool Shown = true;
    std::string Name;
    std::array<std::string, MaxLayerLines> Lines; // lines 1-100 at index 0-99
    std::int32_t LineCount = 0;
    std::string Size = "0.5"; // dot spacing
    std::string XDis = "0";
    std::string YDis = "0";
    std::string Angle = "0";
    std::string DMForm = "0"; // symbol size index as decimal text
    std::string DMEnc = "0";  // encodation index as decimal text
    bool XMirror = false;
    bool YMirror = false;
    content::TContentKind Content = content::TContentKind::Text;
    bool Dmre = false; // a too small rectangle may grow into a DMRE size
    THrtLine Hrt;

    bool operator==(const TLayer&) const = default;
};

// Whether a symbol's text (the lines joined by CR LF) ends with a line break, as "SN-0001" and
// Enter does: the symbol encodes the CR LF as data (a larger size, too), and nothing on the
// screen but the caret shows it.
inline bool EndsWithLineBreak(std::string_view code) {
    return !code.empty() && (code.back() == '\n' || code.back() == '\r');
}

} // namespace korvex::ncgen

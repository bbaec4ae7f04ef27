#pragma once

#include "content/ContentKind.h"

#include <array>
#include <cstdint>
#include <string>

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

    bool operator==(const TLayer&) const = default;
};

} // namespace korvex::ncgen

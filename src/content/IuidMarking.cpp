#include "content/IuidMarking.h"

#include "base/TextNumbers.h"

#include <charconv>
#include <cmath>
#include <string>

namespace korvex::content {

namespace {

std::string millimetres(long double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                   std::chars_format::fixed, 3);
    return std::string(buffer, end.ptr) + " mm";
}

} // namespace

std::vector<base::TTextMessage> IuidMarkingWarnings(TContentKind kind, long double moduleSize,
                                                    int cols, int rows) {
    std::vector<base::TTextMessage> warnings;
    if (!IsIso15434(kind)) return warnings;
    const long double size = std::fabs(moduleSize);
    // A hair of tolerance, so that 0.19 typed as 0.19 is inside.
    constexpr long double slack = 1e-9L;
    if (size < 0.19L - slack || size > 0.64L + slack)
        warnings.push_back({text::IuidModuleSize, 0, millimetres(size)});
    const long double side = size * std::max(cols, rows);
    if (side > 25.4L + slack) warnings.push_back({text::IuidSymbolTooLarge, 0, millimetres(side)});
    if (cols != rows)
        warnings.push_back(
            {text::IuidNotSquare, 0, std::to_string(cols) + " x " + std::to_string(rows)});
    return warnings;
}

} // namespace korvex::content

#include "ncgen/SimulationLine.h"

#include "base/DecimalText.h"

#include <string_view>

namespace korvex::ncgen {
namespace {

// A value that rounds to zero is written without sign: rotation leaves residues like -1E-19.
std::string numberText(long double value) {
    std::string text = base::FixedText(value, 3);
    if (text == "-0.000") {
        text.erase(0, 1);
    }
    return text;
}

// Sized once: the simulation keeps one such line per dot.
std::string twoFieldLine(std::string_view tag, long double a, long double b) {
    const std::string first = numberText(a);
    const std::string second = numberText(b);
    std::string line(tag.size() + first.size() + 1 + second.size(), ';');
    tag.copy(line.data(), tag.size());
    first.copy(line.data() + tag.size(), first.size());
    second.copy(line.data() + tag.size() + first.size() + 1, second.size());
    return line;
}

} // namespace

std::string LevelLine(long double r, long double z) {
    return twoFieldLine("ZR;", r, z);
}

std::string PointLine(long double x, long double y) {
    return twoFieldLine("XY;", x, y);
}

} // namespace korvex::ncgen

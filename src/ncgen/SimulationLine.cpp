#include "ncgen/SimulationLine.h"

#include "ncgen/DecimalText.h"

namespace korvex::ncgen {
namespace {

// A value that rounds to zero is written without sign: rotation leaves residues like -1E-19.
void appendNumber(std::string& line, long double value) {
    std::string text = FixedText(value, 3);
    if (text == "-0.000") {
        text.erase(0, 1);
    }
    line += text;
}

std::string twoFieldLine(const char* tag, long double a, long double b) {
    std::string line = tag;
    appendNumber(line, a);
    line += ';';
    appendNumber(line, b);
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

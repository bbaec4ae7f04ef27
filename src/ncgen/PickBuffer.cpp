#include "ncgen/PickBuffer.h"

#include "ncgen/NumberReading.h"
#include "ncgen/SimulationLine.h"

#include <algorithm>

namespace korvex::ncgen {

void ConvertBuffer(const TGenerateInput& input, TPickState& pick,
                   std::vector<std::string>& bufferLines) {
    if (pick.PickX.empty()) {
        pick.PickX = input.Layer.XDis;
        pick.PickY = input.Layer.YDis;
    }
    TLayer placed = input.Layer;
    placed.XDis = pick.PickX;
    placed.YDis = pick.PickY;
    bufferLines.clear();
    TGenerateOutput output;
    GenerateLayer({placed, input.Matrix, input.MatrixCols, input.MatrixRows, input.Profile,
                   input.REbeneauswahl, input.ZEbeneauswahl, true, input.Surface},
                  output);
    bufferLines = std::move(output.BufferLines);
    pick.LetzterX = pick.PickX;
    pick.LetzterY = pick.PickY;
}

void ShiftPointLines(std::vector<std::string>& lines, long double dx, long double dy) {
    for (std::string& line : lines) {
        if (line.find("XY") == std::string::npos) {
            continue;
        }
        const std::string_view rest =
            std::string_view(line).substr(std::min<std::size_t>(3, line.size()));
        const auto separator = rest.find(';');
        const std::string_view xText = rest.substr(0, separator);
        const std::string_view yText =
            separator == std::string_view::npos ? std::string_view() : rest.substr(separator + 1);
        line = PointLine(ReadNumber(xText).value + dx, ReadNumber(yText).value + dy);
    }
}

void ConvertGrafikBuffer(const TGenerateInput& input, TPickState& pick,
                         std::vector<std::string>& bufferLines) {
    if (pick.PickX.empty()) {
        ConvertBuffer(input, pick, bufferLines);
        return;
    }
    long double dx = ReadNumber(pick.PickX).value - ReadNumber(pick.LetzterX).value;
    // The buffer holds X after the lathe's sign change, which follows the offset.
    if (IsLatheMode(input.Profile)) {
        dx = -dx;
    }
    const long double dy = ReadNumber(pick.PickY).value - ReadNumber(pick.LetzterY).value;
    ShiftPointLines(bufferLines, dx, dy);
    pick.LetzterX = pick.PickX;
    pick.LetzterY = pick.PickY;
}

} // namespace korvex::ncgen

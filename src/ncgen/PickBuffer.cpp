#include "ncgen/PickBuffer.h"

#include "ncgen/NumberReading.h"
#include "ncgen/SimulationLine.h"

namespace korvex::ncgen {

std::string PickXForOffset(const std::string& offsetX, bool lathe) {
    if (!lathe) return offsetX;
    const TNumberReading read = ReadNumber(offsetX);
    if (!read.ok || read.value == 0) return offsetX;
    const std::size_t start = offsetX.find_first_not_of(' ');
    const char sign = offsetX[start];
    if (sign == '-') return offsetX.substr(0, start) + offsetX.substr(start + 1);
    if (sign == '+') return offsetX.substr(0, start) + '-' + offsetX.substr(start + 1);
    return offsetX.substr(0, start) + '-' + offsetX.substr(start);
}

std::string OffsetXForPick(const std::string& pickX, bool lathe) {
    return PickXForOffset(pickX, lathe);
}

void BeginPick(const std::vector<std::string>& lines, const std::string& offsetX,
               const std::string& offsetY, bool lathe, TPickState& pick,
               std::vector<std::string>& bufferLines) {
    bufferLines = lines;
    pick.LetzterX = PickXForOffset(offsetX, lathe);
    pick.LetzterY = offsetY;
    pick.PickX = pick.LetzterX;
    pick.PickY = pick.LetzterY;
}

TPickOffsets OffsetsForPick(const TPickState& pick, bool lathe) {
    return {OffsetXForPick(pick.PickX, lathe), pick.PickY};
}

void ShiftToPick(std::vector<std::string>& bufferLines, TPickState& pick) {
    const long double dx = ReadNumber(pick.PickX).value - ReadNumber(pick.LetzterX).value;
    const long double dy = ReadNumber(pick.PickY).value - ReadNumber(pick.LetzterY).value;
    ShiftPointLines(bufferLines, dx, dy);
    pick.LetzterX = pick.PickX;
    pick.LetzterY = pick.PickY;
}

} // namespace korvex::ncgen

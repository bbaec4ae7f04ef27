#include "base/SimulationLineText.h"

#include <algorithm>

namespace korvex::base {

TSimulationLineText SplitSimulationLine(std::string_view line) {
    TSimulationLineText read;
    if (line.starts_with("SF;") && line.size() > 7 && line.substr(4, 3) == ";R;") {
        read.kind = TSimulationLineText::RotarySurface;
        read.along = line[3];
        const std::string_view rest = line.substr(7);
        const std::size_t split = rest.find(';');
        const std::size_t next = split == rest.npos ? rest.npos : rest.find(';', split + 1);
        if (next == rest.npos) return read;
        read.separated = true;
        read.first = rest.substr(0, split);
        read.second = rest.substr(split + 1, next - split - 1);
        return read;
    }
    if (line.starts_with("ZR"))
        read.kind = TSimulationLineText::Level;
    else if (line.starts_with("XY"))
        read.kind = TSimulationLineText::Point;
    else
        return read;
    read.tagEnded = line.size() > 2 && line[2] == ';';
    const std::string_view rest = line.substr(std::min<std::size_t>(3, line.size()));
    const std::size_t split = rest.find(';');
    if (split == rest.npos) return read;
    read.separated = true;
    read.first = rest.substr(0, split);
    read.second = rest.substr(split + 1);
    return read;
}

} // namespace korvex::base

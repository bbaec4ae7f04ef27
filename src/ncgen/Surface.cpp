#include "ncgen/Surface.h"

#include <cctype>
#include <string>

namespace korvex::ncgen {

std::optional<TSurfaceMode> ReadSurfaceMode(std::string_view text) {
    std::string word;
    for (const char c : text)
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (word == "flat") return TSurfaceMode::Flat;
    if (word == "follow") return TSurfaceMode::Follow;
    if (word == "rotary") return TSurfaceMode::Rotary;
    return std::nullopt;
}

std::string_view SurfaceModeName(TSurfaceMode mode) {
    switch (mode) {
    case TSurfaceMode::Follow:
        return "FOLLOW";
    case TSurfaceMode::Rotary:
        return "ROTARY";
    case TSurfaceMode::Flat:
        break;
    }
    return "FLAT";
}

} // namespace korvex::ncgen

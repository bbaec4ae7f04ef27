#include "simulation/BlankDefinition.h"

#include "simulation/EConvertError.h"
#include "simulation/SimulationNumber.h"

#include <cmath>
#include <utility>

namespace korvex::simulation {

std::string BuildBlankDefinition(const BlankFields& f) {
    switch (f.shape) {
    case BlankFields::Box:
        return "ROHDEF QUAD XM" + f.quader1.xm + " YP" + f.quader1.yp + " ZP" + f.quader1.zp +
               " XP" + f.quader1.xp + " YM" + f.quader1.ym + " ZM" + f.quader1.zm;
    case BlankFields::CylinderZ:
        return "ROHDEF ZYL1 XC" + f.zyl1.x + " YC" + f.zyl1.y + " RA" + f.zyl1.r + " ZP" +
               f.zyl1.zp + " ZM" + f.zyl1.zm;
    case BlankFields::CylinderX:
        return "ROHDEF ZYL2 XM" + f.zyl2.xm + " YC" + f.zyl2.y + " RA" + f.zyl2.r + " ZC" +
               f.zyl2.z + " XP" + f.zyl2.xp;
    case BlankFields::CylinderY:
        return "ROHDEF ZYL3 XC" + f.zyl3.x + " YM" + f.zyl3.ym + " RA" + f.zyl3.r + " ZC" +
               f.zyl3.z + " YP" + f.zyl3.yp;
    default:
        return {};
    }
}

long double BlankValue(std::string_view definition, std::string_view key) {
    const std::size_t at = definition.find(key);
    if (key.empty() || at == std::string_view::npos) return 0;
    std::size_t end = at + key.size();
    const std::size_t begin = end;
    while (end < definition.size()) {
        const char c = definition[end];
        if (c != '+' && c != '-' && c != '.' && !(c >= '0' && c <= '9')) break;
        ++end;
    }
    if (end == begin) return 0;
    try {
        return ParseSimulationNumber(definition.substr(begin, end - begin));
    } catch (const EConvertError&) {
        return 0;
    }
}

BlankFields::Shape BlankShapeOf(std::string_view definition) {
    BlankFields::Shape shape = BlankFields::None;
    if (definition.find("QUAD") != definition.npos) shape = BlankFields::Box;
    if (definition.find("ZYL1") != definition.npos) shape = BlankFields::CylinderZ;
    if (definition.find("ZYL2") != definition.npos) shape = BlankFields::CylinderX;
    if (definition.find("ZYL3") != definition.npos) shape = BlankFields::CylinderY;
    return shape;
}

base::TCylinder CylinderOf(std::string_view definition) {
    const BlankFields::Shape shape = BlankShapeOf(definition);
    if (shape != BlankFields::CylinderX && shape != BlankFields::CylinderY) return {};
    const char along = shape == BlankFields::CylinderX ? 'X' : 'Y';
    return {along, BlankValue(definition, along == 'X' ? "YC" : "XC"), BlankValue(definition, "ZC"),
            UnusableRadius(definition) ? 0 : BlankValue(definition, "RA")};
}

std::optional<std::string> UnusableRadius(std::string_view definition) {
    const BlankFields::Shape shape = BlankShapeOf(definition);
    if (shape != BlankFields::CylinderX && shape != BlankFields::CylinderY) return std::nullopt;
    const std::size_t at = definition.find("RA");
    if (at == std::string_view::npos) return std::string();
    const std::string_view rest = definition.substr(at + 2);
    const std::string_view text = rest.substr(0, rest.find(' '));
    // The drawing reads "1e300" as 1 and "-15" as a radius of 15: neither is what was meant.
    if (text.find_first_not_of("+-.0123456789") != std::string_view::npos ||
        !(BlankValue(definition, "RA") > 0))
        return std::string(text);
    return std::nullopt;
}

std::optional<std::string> ShownCylinderTaken(bool roundSurface, std::string_view jobBlank,
                                              bool jobBlankFromPage, std::string_view shown) {
    if (!roundSurface) return std::nullopt;
    if (!jobBlankFromPage && CylinderOf(jobBlank).Usable()) return std::nullopt;
    if (shown == jobBlank || !CylinderOf(shown).Usable()) return std::nullopt;
    return std::string(shown);
}

} // namespace korvex::simulation

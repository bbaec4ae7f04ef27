#pragma once

#include "base/Cylinder.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvex::simulation {

// The field texts of the blank page, as typed, with their defaults; one set per shape.
struct BlankFields {
    enum Shape { None = 0, Box = 1, CylinderZ = 2, CylinderX = 3, CylinderY = 4 };
    int shape = Box;
    struct {
        std::string xm = "0", xp = "100", ym = "0", yp = "50", zm = "-10", zp = "0";
    } quader1;
    struct {
        std::string x = "0", y = "0", r = "50", zm = "-10", zp = "0";
    } zyl1;
    struct {
        std::string xm = "0", xp = "50", y = "0", z = "0", r = "25";
    } zyl2;
    struct {
        std::string x = "0", ym = "-25", yp = "25", z = "0", r = "30";
    } zyl3;
};

// The one-line blank definition ("ROHDEF QUAD XM0 YP50 ...") of the chosen shape, each key
// followed by its field text verbatim. An unknown shape number gives an empty text.
std::string BuildBlankDefinition(const BlankFields& fields);

// The shape a definition names: the last of "QUAD", "ZYL1", "ZYL2", "ZYL3" it contains wins,
// as the drawing and the fit check have always read it; None without any.
BlankFields::Shape BlankShapeOf(std::string_view definition);

// The number after the first occurrence of `key` (characters "+", "-", "." and digits);
// 0 when the key is missing or its text does not convert.
long double BlankValue(std::string_view definition, std::string_view key);

// The cylinder along X ("ZYL2") or Y ("ZYL3") the definition describes, read as the drawing
// reads it (a later shape word wins); not usable for a box, a cylinder along Z or no blank.
// A radius that is not a number larger than 0 ("RA-15", "RA1e300") gives no usable cylinder.
base::TCylinder CylinderOf(std::string_view definition);

// The text after "RA" of a cylinder along X or Y when it is no radius larger than 0, up to the
// next blank; nothing otherwise.
std::optional<std::string> UnusableRadius(std::string_view definition);

// The blank a round surface marks on when the blank page shows `shown`: the page's cylinder
// counts without "Rohteil anzeigen" and follows its fields as they are filled in, but never
// replaces a usable cylinder the job had otherwise (`jobBlankFromPage` false). Nothing when the
// job's blank stays.
std::optional<std::string> ShownCylinderTaken(bool roundSurface, std::string_view jobBlank,
                                              bool jobBlankFromPage, std::string_view shown);

} // namespace korvex::simulation

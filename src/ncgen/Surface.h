#pragma once

#include "base/Cylinder.h"
#include "ncgen/Tool.h"

#include <optional>
#include <string_view>

namespace korvex::ncgen {

// How a job's points meet a round blank. Flat marks every dot at the same Z, as the layer's
// plane; Follow takes each depth from the surface above the dot and lays the symbol across
// the cylinder by arc length; Rotary turns the part (A about X, B about Y, a lathe's C) and
// plunges radially at the top.
enum class TSurfaceMode { Flat, Follow, Rotary };

// "flat", "follow", "rotary" in any case; nothing for another word.
std::optional<TSurfaceMode> ReadSurfaceMode(std::string_view text);
// "FLAT", "FOLLOW", "ROTARY": the word a job file stores.
std::string_view SurfaceModeName(TSurfaceMode mode);

// What the generator lays the points onto.
struct TSurface {
    TSurfaceMode Mode = TSurfaceMode::Flat;
    base::TCylinder Cylinder; // from the job's blank
    TTool Tool;               // aims the dots; none takes the profile's
};

} // namespace korvex::ncgen

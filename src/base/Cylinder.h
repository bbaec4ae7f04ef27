#pragma once

namespace korvex::base {

// A blank's cylinder lying along X or Y: the round surfaces a symbol can be laid onto from
// above. Across is the horizontal coordinate at right angles to the axis (Y along X, X along Y).
struct TCylinder {
    char Along = 0;         // 'X' or 'Y'; 0 when the blank is no such cylinder
    long double Axis = 0;   // the axis's coordinate across (YC along X, XC along Y)
    long double ZC = 0;     // the axis's height
    long double Radius = 0; // > 0

    bool Usable() const { return (Along == 'X' || Along == 'Y') && Radius > 0; }
};

// A point of the surface `arc` along it from the top line, positive towards +across.
struct TSurfacePoint {
    long double Across = 0;
    long double Height = 0;
    long double Angle = 0; // radians from the top, arc / radius
};

TSurfacePoint OnSurface(const TCylinder& cylinder, long double arc);

// The arc from the top line to the surface point above `across` (clamped to the sides).
long double ArcAbove(const TCylinder& cylinder, long double across);

// The arc from the top line to the radial line through (across, height).
long double ArcOfRadial(const TCylinder& cylinder, long double across, long double height);

} // namespace korvex::base

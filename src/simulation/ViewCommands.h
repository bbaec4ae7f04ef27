#pragma once

#include "simulation/Canvas.h"
#include "simulation/TMathImage.h"

#include <string>

namespace korvex::simulation {

// The view arithmetic of the graphic's commands; each changes the image's angles or world
// box through its setters. Redrawing is the caller's.

enum class ViewPreset { XY, XZ, YZ, XYZ };

struct ViewAngles {
    long double yRotation = 0;
    long double zRotation = 0;
};

ViewAngles ViewPresetAngles(ViewPreset preset);
// Sets the preset's angles. False only for XY when the view already is XY: nothing changes
// and nothing is to be redrawn.
bool ApplyViewPreset(TMathImage& image, ViewPreset preset);

enum class RotationButton { YM_ROT, YP_ROT, ZM_ROT, ZP_ROT };
// +5 / -5 degrees on D3Yrotation (YM / YP) or -5 / +5 on D3Zrotation (ZM / ZP), unwrapped.
void RotateStep(TMathImage& image, RotationButton button);

// Widens every axis by a tenth of its extent (truncated) at both ends; an axis below extent
// 10 stays, unless `atLeastOne` (the wheel), which widens it by 1.
void ZoomOutStep(TMathImage& image, bool atLeastOne);
// Page Up / Page Down: widens (`out`) or narrows every axis by a tenth of its extent
// (truncated) at both ends; z moves by at least 1, x and y below extent 10 stay.
void KeyZoomStep(TMathImage& image, bool out);
// The wheel turned away from the user over pixel (px, py): each extent becomes 0.9 of the
// old one, centred on the world point under the pixel.
void WheelZoomIn(TMathImage& image, int px, int py);
// A click in zoom rectangle mode: half the x and y extent centred on the world point under
// the pixel, z 0..1.
void ZoomToRectangle(TMathImage& image, int px, int py);
// A drag with the left button from `last` to `now`: one degree per axis that moved.
// True when an angle changed.
bool DragRotationStep(TMathImage& image, PixelPoint last, PixelPoint now);

// The read-out text of a coordinate: fixed point with 3 decimals, rounded to 15 significant
// digits, "." as separator ("10.000", "-72.125").
std::string FormatReadOut(long double value);

} // namespace korvex::simulation

#include "simulation/ViewCommands.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace korvex::simulation {

namespace {

constexpr long double ROTATION_STEP = 5;
constexpr long double WHEEL_HALF_EXTENT = 0.45L;
constexpr long double RECTANGLE_HALF_EXTENT = 0.25L;

} // namespace

ViewAngles ViewPresetAngles(ViewPreset preset) {
    switch (preset) {
    case ViewPreset::XY:
        return {0, -90};
    case ViewPreset::XZ:
        return {90, -90};
    case ViewPreset::YZ:
        return {90, 180};
    case ViewPreset::XYZ:
        return {55, -105};
    }
    return {55, -105};
}

bool ApplyViewPreset(TMathImage& image, ViewPreset preset) {
    const ViewAngles angles = ViewPresetAngles(preset);
    if (preset == ViewPreset::XY && image.D3Yrotation() == angles.yRotation &&
        image.D3Zrotation() == angles.zRotation)
        return false;
    image.SetD3Yrotation(angles.yRotation);
    image.SetD3Zrotation(angles.zRotation);
    return true;
}

void RotateStep(TMathImage& image, RotationButton button) {
    switch (button) {
    case RotationButton::YM_ROT:
        image.SetD3Yrotation(image.D3Yrotation() + ROTATION_STEP);
        break;
    case RotationButton::YP_ROT:
        image.SetD3Yrotation(image.D3Yrotation() - ROTATION_STEP);
        break;
    case RotationButton::ZM_ROT:
        image.SetD3Zrotation(image.D3Zrotation() - ROTATION_STEP);
        break;
    case RotationButton::ZP_ROT:
        image.SetD3Zrotation(image.D3Zrotation() + ROTATION_STEP);
        break;
    }
}

void ZoomOutStep(TMathImage& image, bool atLeastOne) {
    const auto step = [atLeastOne](long double lo, long double hi) {
        const long double d = std::trunc(std::fabs(hi - lo) / 10);
        return d == 0 && atLeastOne ? 1.0L : d;
    };
    const long double dx = step(image.D3WorldX1(), image.D3WorldX2());
    image.SetD3WorldX1(image.D3WorldX1() - dx);
    image.SetD3WorldX2(image.D3WorldX2() + dx);
    const long double dy = step(image.D3WorldY1(), image.D3WorldY2());
    image.SetD3WorldY1(image.D3WorldY1() - dy);
    image.SetD3WorldY2(image.D3WorldY2() + dy);
    const long double dz = step(image.D3WorldZ1(), image.D3WorldZ2());
    image.SetD3WorldZ1(image.D3WorldZ1() - dz);
    image.SetD3WorldZ2(image.D3WorldZ2() + dz);
}

void KeyZoomStep(TMathImage& image, bool out) {
    const auto step = [out](long double low, long double high, bool isZ) {
        long double d = std::trunc(std::fabs(high - low) / 10);
        if (isZ && d == 0) d = 1;
        return std::pair{out ? low - d : low + d, out ? high + d : high - d};
    };
    const auto [x1, x2] = step(image.D3WorldX1(), image.D3WorldX2(), false);
    image.SetD3WorldX1(x1);
    image.SetD3WorldX2(x2);
    const auto [y1, y2] = step(image.D3WorldY1(), image.D3WorldY2(), false);
    image.SetD3WorldY1(y1);
    image.SetD3WorldY2(y2);
    const auto [z1, z2] = step(image.D3WorldZ1(), image.D3WorldZ2(), true);
    image.SetD3WorldZ1(z1);
    image.SetD3WorldZ2(z2);
}

void WheelZoomIn(TMathImage& image, int px, int py) {
    const WorldPoint w = image.UnprojectPixel(px, py);
    const long double ex = image.D3WorldX2() - image.D3WorldX1();
    const long double ey = image.D3WorldY2() - image.D3WorldY1();
    const long double ez = image.D3WorldZ2() - image.D3WorldZ1();
    // Both bounds of an axis at once: one by one, a point beyond the range makes the first
    // bound cross the other and be refused while the second is taken, widening the axis.
    const auto setAxis = [&image](int axis, long double centre, long double extent) {
        std::array<long double, 6> box = {image.D3WorldX1(), image.D3WorldY1(), image.D3WorldZ1(),
                                          image.D3WorldX2(), image.D3WorldY2(), image.D3WorldZ2()};
        box[axis] = centre - WHEEL_HALF_EXTENT * extent;
        box[axis + 3] = centre + WHEEL_HALF_EXTENT * extent;
        image.SetWorldBox(box[0], box[1], box[2], box[3], box[4], box[5]);
    };
    setAxis(0, w.x, ex);
    setAxis(1, w.y, ey);
    setAxis(2, w.z, ez);
}

void ZoomToRectangle(TMathImage& image, int px, int py) {
    const WorldPoint w = image.UnprojectPixel(px, py);
    const long double hx = RECTANGLE_HALF_EXTENT * (image.D3WorldX2() - image.D3WorldX1());
    const long double hy = RECTANGLE_HALF_EXTENT * (image.D3WorldY2() - image.D3WorldY1());
    image.SetWorldBox(w.x - hx, w.y - hy, 0, w.x + hx, w.y + hy, 1);
}

bool DragRotationStep(TMathImage& image, PixelPoint last, PixelPoint now) {
    const int up = now.y < last.y ? 1 : now.y > last.y ? -1 : 0;
    const int left = now.x < last.x ? 1 : now.x > last.x ? -1 : 0;
    if (up != 0) image.SetD3Yrotation(image.D3Yrotation() + up);
    if (left != 0) image.SetD3Zrotation(image.D3Zrotation() + left);
    return up != 0 || left != 0;
}

std::string FormatReadOut(long double value) {
    if (!std::isfinite(value)) return "0.000";
    // Fifteen significant digits first, then three decimals rounded half away from zero on
    // those decimal digits, as the platform's fixed format does.
    char buffer[64];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string text(buffer, r.ptr);
    const bool negative = text[0] == '-';
    const std::size_t ePos = text.find('e');
    std::string digits;
    for (std::size_t p = negative ? 1 : 0; p < ePos; ++p)
        if (text[p] != '.') digits += text[p];
    const int exponent = std::atoi(text.c_str() + ePos + 1);
    // Place the digits on a fixed grid: integer digits, then exactly four decimals.
    const int integerDigits = exponent + 1;
    std::string fixed;
    if (integerDigits > 0) {
        fixed = digits.substr(0, std::min<std::size_t>(digits.size(), integerDigits));
        fixed.append(integerDigits - fixed.size(), '0');
        const std::string rest =
            integerDigits < static_cast<int>(digits.size()) ? digits.substr(integerDigits) : "";
        fixed += (rest + "0000").substr(0, 4);
    } else {
        const std::string decimals = std::string(-integerDigits, '0') + digits + "0000";
        fixed = "0" + decimals.substr(0, 4);
    }
    // fixed holds the value times 10^4 as digits; round the last one away.
    const bool roundUp = fixed.back() >= '5';
    fixed.pop_back();
    if (roundUp) {
        int p = static_cast<int>(fixed.size()) - 1;
        while (p >= 0 && fixed[p] == '9')
            fixed[p--] = '0';
        if (p < 0)
            fixed.insert(fixed.begin(), '1');
        else
            ++fixed[p];
    }
    const std::size_t first = std::min(fixed.find_first_not_of('0'), fixed.size() - 4);
    std::string out =
        fixed.substr(first, fixed.size() - 3 - first) + "." + fixed.substr(fixed.size() - 3);
    if (out.empty() || out[0] == '.') out.insert(out.begin(), '0');
    // A value that rounds to zero carries no sign.
    if (negative && out.find_first_not_of("0.") != std::string::npos) out.insert(out.begin(), '-');
    return out;
}

} // namespace korvex::simulation

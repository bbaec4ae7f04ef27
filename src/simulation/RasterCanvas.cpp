#include "simulation/RasterCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace korvex::simulation {

namespace {

constexpr RasterCanvas::Pixel WHITE = 0xFFFFFFFFu;
constexpr RasterCanvas::Pixel RGB_BITS = 0x00FFFFFFu;

// The platform's cosmetic dotted pen: three pixels on, three off, from the start of a line.
constexpr long long DOT_ON = 3;
constexpr long long DOT_PERIOD = 6;

// Far beyond any pixel the projection gives (it clamps to +-16000); keeps the clipping
// arithmetic of the longest possible line inside 64 bits.
constexpr long long FAR_LIMIT = 1LL << 28;

long long clampCoordinate(int v) {
    return std::clamp<long long>(v, -FAR_LIMIT, FAR_LIMIT);
}

long long ceilDiv(long long a, long long b) { // b > 0
    return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// Which way a line rounds a minor step that falls exactly halfway: octants 3, 5, 6 and 8
// (counted clockwise from +x, y downwards) round away from the start, the others towards it,
// so a line covers the same pixels drawn either way round.
int tieBias(long long dx, long long dy) {
    int octant;
    if (dy > 0)
        octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
    else
        octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
    return octant == 3 || octant == 5 || octant == 6 || octant == 8 ? 1 : 0;
}

} // namespace

RasterCanvas::RasterCanvas(int width, int height) {
    resize(width, height);
}

void RasterCanvas::resize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    // A fresh vector, not a resize: the window re-wraps the new memory anyway.
    std::vector<Pixel>(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), WHITE)
        .swap(pixels_);
}

RasterCanvas::PixelOp RasterCanvas::penOp(Color color) const {
    const Pixel source = toPixel(color);
    if (pen().mode == PenMode::NotXor) return {~Pixel{0}, ~source & RGB_BITS};
    return {0, source};
}

void RasterCanvas::fillRect(int x1, int y1, int x2, int y2) {
    if (brush().style == BrushStyle::Clear) return;
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, width_);
    y2 = std::min(y2, height_);
    if (x1 >= x2 || y1 >= y2) return;
    const Pixel fill = toPixel(brush().color);
    for (int y = y1; y < y2; ++y) {
        Pixel* row = pixels_.data() + index(0, y);
        std::fill(row + x1, row + x2, fill);
    }
}

void RasterCanvas::drawLine(PixelPoint from, PixelPoint to) {
    strokeLine(from, to, 0);
}

void RasterCanvas::polyline(std::span<const PixelPoint> points) {
    if (points.size() < 2) return;
    const bool onePixel = std::all_of(points.begin(), points.end(),
                                      [&](const PixelPoint& p) { return p == points.front(); });
    if (onePixel) {
        const PixelPoint p = points.front();
        if (p.x < 0 || p.y < 0 || p.x >= width_ || p.y >= height_) return;
        const PixelOp op = penOp(pen().color);
        Pixel& target = pixels_[index(p.x, p.y)];
        target = (target & op.keep) ^ op.flip;
        return;
    }
    long long dash = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        dash = strokeLine(points[i - 1], points[i], dash);
}

long long RasterCanvas::strokeLine(PixelPoint from, PixelPoint to, long long dashOffset) {
    const long long x0 = clampCoordinate(from.x);
    const long long y0 = clampCoordinate(from.y);
    const long long dx = clampCoordinate(to.x) - x0;
    const long long dy = clampCoordinate(to.y) - y0;
    const bool xMajor = std::llabs(dx) > std::llabs(dy);
    // Pixel i (0 <= i < length) lies i steps along the major axis and
    // floor((2*i*minorLength + length - 1 + bias) / (2*length)) steps along the minor one.
    const long long length = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long minorLength = xMajor ? std::llabs(dy) : std::llabs(dx);
    if (length == 0 || width_ == 0 || height_ == 0) return dashOffset;
    const long long bias = tieBias(dx, dy);
    const long long major0 = xMajor ? x0 : y0;
    const long long minor0 = xMajor ? y0 : x0;
    const long long majorSign = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const long long minorSign = (xMajor ? dy : dx) > 0 ? 1 : -1;
    const long long majorLimit = xMajor ? width_ : height_;
    const long long minorLimit = xMajor ? height_ : width_;

    const long long twoLength = 2 * length;
    long long first = 0;
    long long end = length;
    // The numerator above for the first step drawn, split into whole steps and remainder.
    long long minorSteps = 0;
    long long remainder = length - 1 + bias;
    const long long x1 = x0 + dx;
    const long long y1 = y0 + dy;
    const bool inside = x0 >= 0 && y0 >= 0 && x0 < width_ && y0 < height_ && x1 >= 0 && y1 >= 0 &&
                        x1 < width_ && y1 < height_;
    if (!inside) {
        // The steps whose pixels lie inside the buffer, first along the major axis...
        if (majorSign > 0) {
            first = std::max(first, -major0);
            end = std::min(end, majorLimit - major0);
        } else {
            first = std::max(first, major0 - majorLimit + 1);
            end = std::min(end, major0 + 1);
        }
        // ...then along the minor one, whose offset grows monotonically with the step.
        const long long lowOffset = minorSign > 0 ? -minor0 : minor0 - minorLimit + 1;
        const long long highOffset = minorSign > 0 ? minorLimit - 1 - minor0 : minor0;
        if (minorLength == 0) {
            if (lowOffset > 0 || highOffset < 0) return dashOffset + length;
        } else {
            const long long twoMinor = 2 * minorLength;
            first = std::max(first, ceilDiv(2 * lowOffset * length - length + 1 - bias, twoMinor));
            end =
                std::min(end, ceilDiv(2 * (highOffset + 1) * length - length + 1 - bias, twoMinor));
        }
        if (first >= end) return dashOffset + length;
        const long long start = remainder + 2 * first * minorLength;
        minorSteps = start / twoLength;
        remainder = start % twoLength;
    }

    const long long major = major0 + majorSign * first;
    const long long minor = minor0 + minorSign * minorSteps;
    const long long x = xMajor ? major : minor;
    const long long y = xMajor ? minor : major;
    const std::ptrdiff_t stride = width_;
    const std::ptrdiff_t majorStep = xMajor ? majorSign : majorSign * stride;
    const std::ptrdiff_t minorStep = xMajor ? minorSign * stride : minorSign;
    const long long twoMinor = 2 * minorLength;
    Pixel* p = pixels_.data() + static_cast<std::ptrdiff_t>(y) * stride + x;
    long long count = end - first;

    const PixelOp on = penOp(pen().color);
    if (pen().style == PenStyle::Solid) {
        for (;;) {
            *p = (*p & on.keep) ^ on.flip;
            if (--count == 0) break;
            remainder += twoMinor;
            if (remainder >= twoLength) {
                remainder -= twoLength;
                p += minorStep;
            }
            p += majorStep;
        }
    } else {
        const bool gaps = brush().style != BrushStyle::Clear;
        const PixelOp off = penOp(brush().color);
        long long phase = (dashOffset + first) % DOT_PERIOD;
        for (;;) {
            if (phase < DOT_ON)
                *p = (*p & on.keep) ^ on.flip;
            else if (gaps)
                *p = (*p & off.keep) ^ off.flip;
            if (--count == 0) break;
            if (++phase == DOT_PERIOD) phase = 0;
            remainder += twoMinor;
            if (remainder >= twoLength) {
                remainder -= twoLength;
                p += minorStep;
            }
            p += majorStep;
        }
    }
    return dashOffset + length;
}

void RasterCanvas::textOut(int x, int y, std::string_view text) {
    if (text_ != nullptr) text_->drawText(*this, x, y, text, font(), brush());
}

int RasterCanvas::textWidth(std::string_view text) const {
    return text_ != nullptr ? text_->textWidth(text, font()) : 0;
}

int RasterCanvas::textHeight(std::string_view text) const {
    return text_ != nullptr ? text_->textHeight(text, font()) : 0;
}

} // namespace korvex::simulation

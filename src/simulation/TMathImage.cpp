#include "simulation/TMathImage.h"

#include "simulation/EMathError.h"
#include "simulation/EMathImageError.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>

namespace korvex::simulation {

namespace {

constexpr long double DEGREE = std::numbers::pi_v<long double> / 180;
constexpr long double PIXEL_LIMIT = 16000;
constexpr long double EYE_DISTANCE_FLOOR = 1e-10L;

int toPixel(long double p) {
    if (!std::isfinite(p)) throw EMathImageError();
    if (std::fabs(p) < PIXEL_LIMIT) return static_cast<int>(std::rint(p)); // halves to even
    return p < 0 ? -16000 : 16000;
}

// The platform computes extents through exp(ln(x)), which faults for an extent <= 0.
long double extent(long double lo, long double hi) {
    const long double d = hi - lo;
    if (d == 0) throw EMathError::ZeroDivide();
    if (!(d > 0) || !std::isfinite(d)) throw EMathError::InvalidOp();
    return d;
}

} // namespace

TMathImage::TMathImage(int width, int height) : width_(width), height_(height) {
    RecomputeView();
}

void TMathImage::SetCanvas(Canvas* canvas) {
    canvas_ = canvas;
    if (canvas_ == nullptr) return;
    canvas_->setFont(font_);
    canvas_->setPen(pen_);
    canvas_->setBrush(brush_);
}

Canvas& TMathImage::DrawingCanvas() {
    if (canvas_ == nullptr) throw std::logic_error("Image needs Bitmap for Drawing");
    return *canvas_;
}

void TMathImage::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
    RefreshView();
    if (OnResize) OnResize();
}

void TMathImage::SetD3WorldX1(long double v) {
    SetWorldBox(v, box_[1], box_[2], box_[3], box_[4], box_[5]);
}
void TMathImage::SetD3WorldY1(long double v) {
    SetWorldBox(box_[0], v, box_[2], box_[3], box_[4], box_[5]);
}
void TMathImage::SetD3WorldZ1(long double v) {
    SetWorldBox(box_[0], box_[1], v, box_[3], box_[4], box_[5]);
}
void TMathImage::SetD3WorldX2(long double v) {
    SetWorldBox(box_[0], box_[1], box_[2], v, box_[4], box_[5]);
}
void TMathImage::SetD3WorldY2(long double v) {
    SetWorldBox(box_[0], box_[1], box_[2], box_[3], v, box_[5]);
}
void TMathImage::SetD3WorldZ2(long double v) {
    SetWorldBox(box_[0], box_[1], box_[2], box_[3], box_[4], v);
}

void TMathImage::SetD3Zrotation(long double v) {
    zRotation_ = v;
    RecomputeView();
}
void TMathImage::SetD3Yrotation(long double v) {
    yRotation_ = v;
    RecomputeView();
}
void TMathImage::SetD3ViewDist(long double v) {
    viewDist_ = v;
    RecomputeView();
}
void TMathImage::SetD3ViewAngle(long double v) {
    viewAngle_ = v;
    RecomputeView();
}
void TMathImage::SetD3AspectRatio(bool v) {
    aspectRatio_ = v;
    RecomputeView();
}
void TMathImage::SetD3Xscale(long double v) {
    xScale_ = v;
    RecomputeView();
}
void TMathImage::SetD3Yscale(long double v) {
    yScale_ = v;
    RecomputeView();
}
void TMathImage::SetD3Zscale(long double v) {
    zScale_ = v;
    RecomputeView();
}

void TMathImage::SetPen(const Pen& pen) {
    pen_ = pen;
    if (canvas_ != nullptr) canvas_->setPen(pen);
}

void TMathImage::SetBrush(const Brush& brush) {
    brush_ = brush;
    if (canvas_ != nullptr) canvas_->setBrush(brush);
}

void TMathImage::SetFont(const Font& font) {
    font_ = font;
    if (canvas_ != nullptr) canvas_->setFont(font);
}

void TMathImage::RestorePen() {
    DrawingCanvas().setPen(pen_);
}
void TMathImage::RestoreBrush() {
    DrawingCanvas().setBrush(brush_);
}

void TMathImage::SetWorldBox(long double x1, long double y1, long double z1, long double x2,
                             long double y2, long double z2) {
    std::array<long double, 6> previous;
    std::copy(std::begin(box_), std::end(box_), previous.begin());
    const long double wanted[6] = {x1, y1, z1, x2, y2, z2};
    std::copy(std::begin(wanted), std::end(wanted), std::begin(box_));
    try {
        RecomputeView();
    } catch (const EMathError&) {
        std::copy(previous.begin(), previous.end(), std::begin(box_));
        RecomputeView();
    }
}

void TMathImage::RecomputeView() {
    if (viewDist_ < 0.0001L) viewDist_ = 0.0001L;
    if (viewAngle_ > 179) viewAngle_ = 179;
    if (viewAngle_ < 0.01L) viewAngle_ = 0.01L;

    Mapping m;
    m.sinZ = std::sin(zRotation_ * DEGREE);
    m.cosZ = std::cos(zRotation_ * DEGREE);
    m.sinY = std::sin(yRotation_ * DEGREE);
    m.cosY = std::cos(yRotation_ * DEGREE);
    const long double t = std::tan(viewAngle_ * std::numbers::pi_v<long double> / 360);

    const long double dx = extent(box_[0], box_[3]);
    const long double dy = extent(box_[1], box_[4]);
    const long double dz = extent(box_[2], box_[5]);
    if (aspectRatio_) {
        const long double most = std::max({xScale_ * dx, yScale_ * dy, zScale_ * dz});
        if (most == 0) throw EMathError::ZeroDivide();
        m.sx = 2 * xScale_ / most;
        m.sy = 2 * yScale_ / most;
        m.sz = 2 * zScale_ / most;
    } else {
        m.sx = 2 / dx;
        m.sy = 2 / dy;
        m.sz = 2 / dz;
    }
    m.ox = -m.sx * (box_[0] + box_[3]) / 2;
    m.oy = -m.sy * (box_[1] + box_[4]) / 2;
    m.oz = -m.sz * (box_[2] + box_[5]) / 2;
    m.f = static_cast<long double>(std::min(width_, height_)) / 2 / t / viewDist_;
    m.cx = static_cast<long double>(width_) / 2;
    m.cy = static_cast<long double>(height_) / 2;

    m.ex = m.sinY * m.cosZ;
    m.ey = m.sinY * m.sinZ;
    m.ez = m.cosY;
    m.rx = -m.sinZ;
    m.ry = m.cosZ;
    m.wx = -m.cosY * m.cosZ;
    m.wy = -m.cosY * m.sinZ;
    m.wz = m.sinY;

    const long double checks[] = {m.sinZ, m.cosZ, m.sinY, m.cosY, t,    m.sx,
                                  m.sy,   m.sz,   m.ox,   m.oy,   m.oz, m.f};
    for (long double c : checks)
        if (!std::isfinite(c)) throw EMathError::InvalidOp();

    // Farthest corner of the normalised cube; on a tie the corner visited later wins.
    long double best = -std::numeric_limits<long double>::infinity();
    int fi = -1, fj = -1, fk = -1;
    for (int i = -1; i <= 1; i += 2)
        for (int j = -1; j <= 1; j += 2)
            for (int k = -1; k <= 1; k += 2) {
                const long double distance = viewDist_ - (i * m.ex + j * m.ey + k * m.ez);
                if (distance >= best) {
                    best = distance;
                    fi = i;
                    fj = j;
                    fk = k;
                }
            }
    far_ = {fi < 0 ? box_[0] : box_[3], fj < 0 ? box_[1] : box_[4], fk < 0 ? box_[2] : box_[5]};
    near_ = {fi < 0 ? box_[3] : box_[0], fj < 0 ? box_[4] : box_[1], fk < 0 ? box_[5] : box_[2]};
    m_ = m;
}

PixelPoint TMathImage::ProjectPoint(long double x, long double y, long double z) const {
    const long double xn = m_.sx * x + m_.ox;
    const long double yn = m_.sy * y + m_.oy;
    const long double zn = m_.sz * z + m_.oz;
    long double distance = viewDist_ - (xn * m_.ex + yn * m_.ey + zn * m_.ez);
    if (distance <= 0) distance = EYE_DISTANCE_FLOOR;
    const long double u = (xn * m_.rx + yn * m_.ry) / distance;
    const long double v = (xn * m_.wx + yn * m_.wy + zn * m_.wz) / distance;
    return {toPixel(m_.f * u + m_.cx), toPixel(m_.cy - m_.f * v)};
}

WorldPoint TMathImage::UnprojectPixel(int px, int py) const {
    if (m_.f == 0) throw EMathError::ZeroDivide();
    const long double a = (px - m_.cx) / m_.f * viewDist_;
    const long double b = (m_.cy - py) / m_.f * viewDist_;
    const long double xn = a * m_.rx + b * m_.wx;
    const long double yn = a * m_.ry + b * m_.wy;
    const long double zn = b * m_.wz;
    return {(xn - m_.ox) / m_.sx, (yn - m_.oy) / m_.sy, (zn - m_.oz) / m_.sz};
}

void TMathImage::MoveTo3D(long double x, long double y, long double z) {
    const PixelPoint p = ProjectPoint(x, y, z);
    DrawingCanvas().moveTo(p.x, p.y);
}

void TMathImage::LineTo3D(long double x, long double y, long double z) {
    const PixelPoint p = ProjectPoint(x, y, z);
    DrawingCanvas().lineTo(p.x, p.y);
}

void TMathImage::ClearImage() {
    DrawingCanvas().fillRect(0, 0, width_, height_);
}

} // namespace korvex::simulation

#pragma once

#include "simulation/Canvas.h"

#include <functional>
#include <string>

namespace korvex::simulation {

struct WorldPoint {
    long double x = 0;
    long double y = 0;
    long double z = 0;
};

// The 3D drawing surface of the tool-path graphic: a world box, a viewing direction, a
// perspective distance and angle, mapped to the pixels of a Canvas. All constants of the
// mapping are computed once per view change; a point costs a few multiply-adds.
class TMathImage {
  public:
    TMathImage(int width = 0, int height = 0);

    // The backing surface; it receives the stored font, pen and brush when attached.
    void SetCanvas(Canvas* canvas);
    // Throws std::logic_error "Image needs Bitmap for Drawing" when no surface is attached.
    Canvas& DrawingCanvas();
    int Width() const { return width_; }
    int Height() const { return height_; }
    // A size change: RefreshView, then OnResize.
    void SetSize(int width, int height);
    std::function<void()> OnResize;

    long double D3WorldX1() const { return box_[0]; }
    long double D3WorldY1() const { return box_[1]; }
    long double D3WorldZ1() const { return box_[2]; }
    long double D3WorldX2() const { return box_[3]; }
    long double D3WorldY2() const { return box_[4]; }
    long double D3WorldZ2() const { return box_[5]; }
    void SetD3WorldX1(long double value);
    void SetD3WorldY1(long double value);
    void SetD3WorldZ1(long double value);
    void SetD3WorldX2(long double value);
    void SetD3WorldY2(long double value);
    void SetD3WorldZ2(long double value);

    long double D3Zrotation() const { return zRotation_; }
    long double D3Yrotation() const { return yRotation_; }
    long double D3ViewDist() const { return viewDist_; }
    long double D3ViewAngle() const { return viewAngle_; }
    bool D3AspectRatio() const { return aspectRatio_; }
    long double D3Xscale() const { return xScale_; }
    long double D3Yscale() const { return yScale_; }
    long double D3Zscale() const { return zScale_; }
    // Each stores the value, then RecomputeView (which may throw EMathError).
    void SetD3Zrotation(long double value);
    void SetD3Yrotation(long double value);
    void SetD3ViewDist(long double value);
    void SetD3ViewAngle(long double value);
    void SetD3AspectRatio(bool value);
    void SetD3Xscale(long double value);
    void SetD3Yscale(long double value);
    void SetD3Zscale(long double value);

    // Stored attributes; setting one also sets it on the attached canvas.
    const Pen& GetPen() const { return pen_; }
    void SetPen(const Pen& pen);
    const Brush& GetBrush() const { return brush_; }
    void SetBrush(const Brush& brush);
    const Font& GetFont() const { return font_; }
    void SetFont(const Font& font);
    void RestorePen();
    void RestoreBrush();

    // An invalid box (an extent of zero or less) leaves the previous one in place, silently.
    void SetWorldBox(long double x1, long double y1, long double z1, long double x2, long double y2,
                     long double z2);
    // Clamps the viewing distance and angle, then derives the mapping. Throws EMathError
    // for an empty box or zero axis weights and then keeps the previous mapping.
    void RecomputeView();
    void RefreshView() { RecomputeView(); }

    // Throws EMathImageError when the mapping overflows or meets a value that is not a number.
    PixelPoint ProjectPoint(long double x, long double y, long double z) const;
    PixelPoint ProjectPoint(const WorldPoint& p) const { return ProjectPoint(p.x, p.y, p.z); }
    // The world point on the view plane (through the box centre) under a pixel.
    WorldPoint UnprojectPixel(int px, int py) const;
    // The box corner farthest from the eye, and its opposite.
    WorldPoint FarCorner() const { return far_; }
    WorldPoint NearCorner() const { return near_; }

    void MoveTo3D(long double x, long double y, long double z);
    void LineTo3D(long double x, long double y, long double z);
    void DrawSegment3D(const WorldPoint& p1, const WorldPoint& p2);
    void DrawArrow3D(const WorldPoint& p1, const WorldPoint& p2);
    void DrawWireBox3D(long double x1, long double y1, long double z1, long double x2,
                       long double y2, long double z2);
    void DrawTickedAxes(const std::string& labelX, const std::string& labelY,
                        const std::string& labelZ, int ticksX, int ticksY, int ticksZ, int placeX,
                        int placeY, int placeZ);
    void DrawOriginAxes();
    void DrawBackWalls();
    void ClearImage();

  private:
    struct Mapping {
        long double sx = 1, sy = 1, sz = 1, ox = 0, oy = 0, oz = 0;
        long double ex = 0, ey = 0, ez = 1; // viewing direction
        long double rx = 0, ry = 1;         // screen right (no z part)
        long double wx = 0, wy = 0, wz = 0; // screen up
        long double sinZ = 0, cosZ = 1, cosY = 1, sinY = 0;
        long double f = 0, cx = 0, cy = 0;
    };
    void drawTicks(int axis, int count, const WorldPoint& axisBase);

    Canvas* canvas_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    long double box_[6] = {-1, -1, -1, 1, 1, 1}; // x1 y1 z1 x2 y2 z2
    long double zRotation_ = 45;
    long double yRotation_ = 45;
    long double viewDist_ = 6.4L;
    long double viewAngle_ = 6;
    bool aspectRatio_ = true;
    long double xScale_ = 1, yScale_ = 1, zScale_ = 1;
    Pen pen_;
    Brush brush_;
    Font font_;
    Mapping m_;
    WorldPoint far_, near_;
};

} // namespace korvex::simulation

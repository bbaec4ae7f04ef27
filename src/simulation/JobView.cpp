#include "simulation/JobView.h"

#include "simulation/BlankDefinition.h"
#include "simulation/BlankDrawing.h"
#include "simulation/EConvertError.h"
#include "simulation/SimulationLineReader.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace korvex::simulation {

namespace {

void widen(long double& low, long double& high) {
    if (high - low <= 0) {
        low -= 1;
        high += 1;
    }
    const long double margin = (high - low) / 10;
    low -= margin;
    high += margin;
}

} // namespace

void SetInitialView(TMathImage& image) {
    image.SetWorldBox(-80, -80, -80, 80, 80, 80);
    image.SetD3ViewDist(3);
    image.SetD3ViewAngle(6);
    image.SetD3AspectRatio(true);
    image.SetD3Zrotation(-90);
    image.SetD3Yrotation(0);
}

WorldBox JobExtents(const std::vector<std::string>& lines, const std::string& blank) {
    constexpr long double NONE = std::numeric_limits<long double>::infinity();
    WorldBox box{NONE, NONE, NONE, -NONE, -NONE, -NONE};
    const auto take = [&box](long double x, long double y, long double z) {
        box.x1 = std::min(box.x1, x);
        box.x2 = std::max(box.x2, x);
        box.y1 = std::min(box.y1, y);
        box.y2 = std::max(box.y2, y);
        box.z1 = std::min(box.z1, z);
        box.z2 = std::max(box.z2, z);
    };
    long double safety = 0;
    long double depth = 0;
    for (const std::string& line : lines) {
        try {
            const SimulationLineFields read = ReadSimulationLineFields(line);
            if (!read.tagEnded || !read.separated) continue;
            if (read.kind == SimulationLineFields::Level) {
                safety = read.first;
                depth = read.second;
            } else if (read.kind == SimulationLineFields::Point) {
                take(read.first, read.second, safety);
                take(read.first, read.second, depth);
            }
        } catch (const EConvertError&) {
            // The pass stops at such a line; the extents need not know it.
        }
    }
    const BlankValues v = ReadBlankValues(blank);
    switch (BlankShapeOf(blank)) {
    case BlankFields::Box:
        take(v.xm, v.ym, v.zm);
        take(v.xp, v.yp, v.zp);
        break;
    case BlankFields::CylinderZ:
        take(v.xc - v.ra, v.yc - v.ra, v.zm);
        take(v.xc + v.ra, v.yc + v.ra, v.zp);
        break;
    case BlankFields::CylinderX:
        take(v.xm, v.yc - v.ra, v.zc - v.ra);
        take(v.xp, v.yc + v.ra, v.zc + v.ra);
        break;
    case BlankFields::CylinderY:
        take(v.xc - v.ra, v.ym, v.zc - v.ra);
        take(v.xc + v.ra, v.yp, v.zc + v.ra);
        break;
    default:
        break;
    }
    if (box.x1 > box.x2) box = {0, 0, 0, 0, 0, 0};
    widen(box.x1, box.x2);
    widen(box.y1, box.y2);
    widen(box.z1, box.z2);
    return box;
}

void FitJob(TMathImage& image, const WorldBox& job) {
    const long double cx = (job.x1 + job.x2) / 2, cy = (job.y1 + job.y2) / 2,
                      cz = (job.z1 + job.z2) / 2;
    long double scale = 1;
    for (int step = 0; step < 60; ++step) {
        image.SetWorldBox(cx + (job.x1 - cx) * scale, cy + (job.y1 - cy) * scale,
                          cz + (job.z1 - cz) * scale, cx + (job.x2 - cx) * scale,
                          cy + (job.y2 - cy) * scale, cz + (job.z2 - cz) * scale);
        image.RecomputeView();
        bool inside = true;
        try {
            for (int corner = 0; corner < 8 && inside; ++corner) {
                const PixelPoint p =
                    image.ProjectPoint(corner & 1 ? job.x2 : job.x1, corner & 2 ? job.y2 : job.y1,
                                       corner & 4 ? job.z2 : job.z1);
                inside = p.x >= 0 && p.y >= 0 && p.x < image.Width() && p.y < image.Height();
            }
        } catch (const std::exception&) {
            inside = false;
        }
        if (inside) break;
        scale *= 1.2L;
    }
}

} // namespace korvex::simulation

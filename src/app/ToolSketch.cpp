#include "app/ToolSketch.h"

#include "ncgen/ToolGeometry.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <vector>

namespace korvex::app {

ToolSketch::ToolSketch(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("WzSkizze"));
    setMinimumSize(120, 70);
}

void ToolSketch::Show(const std::optional<ncgen::TTool>& tool, long double depth) {
    tool_ = tool && tool->Kind != ncgen::TToolKind::None ? tool : std::nullopt;
    depth_ = depth > 0 ? depth : 0.1L;
    update();
}

void ToolSketch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const double surface = height() * 0.45;
    const double cx = width() / 2.0;
    // The part below its surface.
    painter.fillRect(QRectF(0, surface, width(), height() - surface), QColor(0xd8, 0xd8, 0xd8));
    painter.setPen(QPen(palette().text().color(), 1));
    painter.drawLine(QPointF(0, surface), QPointF(width(), surface));
    if (!tool_) return;
    const long double diameter = ncgen::DotDiameter(*tool_, depth_);
    // Scale so the depth and the dot both fit with room for the shank.
    const double span =
        std::max<double>(static_cast<double>(diameter) * 1.6, static_cast<double>(depth_) * 3.0);
    const double scale = std::min(width() * 0.8, (height() - surface) * 2.4) / span;
    const double tipY = surface + static_cast<double>(depth_) * scale;
    // The tool's side view up past the window's top, mirrored about its axis.
    const std::vector<ncgen::TOutlinePoint> outline =
        ncgen::ToolOutline(*tool_, static_cast<long double>(tipY / scale));
    QPolygonF shape;
    for (auto it = outline.rbegin(); it != outline.rend(); ++it)
        shape << QPointF(cx - static_cast<double>(it->Across) * scale,
                         tipY - static_cast<double>(it->Up) * scale);
    for (const ncgen::TOutlinePoint& point : outline)
        shape << QPointF(cx + static_cast<double>(point.Across) * scale,
                         tipY - static_cast<double>(point.Up) * scale);
    painter.setBrush(QColor(0x70, 0x90, 0xc0));
    painter.setPen(QPen(QColor(0x30, 0x40, 0x60), 1));
    painter.drawPolygon(shape);
    // The dot it leaves, at the surface.
    const double d = static_cast<double>(diameter) * scale;
    painter.setPen(QPen(QColor(0xc0, 0x20, 0x20), 2));
    painter.drawLine(QPointF(cx - d / 2, surface), QPointF(cx + d / 2, surface));
}

} // namespace korvex::app

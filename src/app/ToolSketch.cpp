#include "app/ToolSketch.h"

#include "ncgen/DotGeometry.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

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
    QPainterPath shape;
    if (tool_->Kind == ncgen::TToolKind::Cone) {
        const double half = static_cast<double>(tool_->Angle) * M_PI / 360.0;
        const double flat = static_cast<double>(tool_->Tip) * scale / 2;
        const double rise = tipY - 4; // up to above the window's top
        const double spread = flat + rise * std::tan(half);
        shape.moveTo(cx - flat, tipY);
        shape.lineTo(cx + flat, tipY);
        shape.lineTo(cx + spread, tipY - rise);
        shape.lineTo(cx - spread, tipY - rise);
        shape.closeSubpath();
    } else {
        const double r = static_cast<double>(tool_->Radius) * scale;
        const QPointF centre(cx, tipY - r);
        shape.addEllipse(centre, r, r);
        shape.addRect(QRectF(cx - r, 0, 2 * r, centre.y()));
        shape.setFillRule(Qt::WindingFill);
    }
    painter.setBrush(QColor(0x70, 0x90, 0xc0));
    painter.setPen(QPen(QColor(0x30, 0x40, 0x60), 1));
    painter.drawPath(shape.simplified());
    // The dot it leaves, at the surface.
    const double d = static_cast<double>(diameter) * scale;
    painter.setPen(QPen(QColor(0xc0, 0x20, 0x20), 2));
    painter.drawLine(QPointF(cx - d / 2, surface), QPointF(cx + d / 2, surface));
}

} // namespace korvex::app

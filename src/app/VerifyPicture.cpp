#include "app/VerifyPicture.h"

#include "verify/DotCriterion.h"

#include <QPainter>

#include <algorithm>

namespace korvex::app {

namespace {

QPointF toPhoto(const verify::TVerifyReport& r, double u, double v) {
    const auto& g = r.Grid;
    const double w = g[6] * u + g[7] * v + g[8];
    return {(g[0] * u + g[1] * v + g[2]) / w, (g[3] * u + g[4] * v + g[5]) / w};
}

} // namespace

QColor CriterionColour(int criterion) {
    switch (static_cast<verify::TDotCriterion>(criterion)) {
    case verify::TDotCriterion::Good:
        return QColor(40, 180, 70);
    case verify::TDotCriterion::Size:
        return QColor(240, 160, 0);
    case verify::TDotCriterion::Offset:
        return QColor(220, 40, 40);
    case verify::TDotCriterion::Ovality:
        return QColor(160, 60, 200);
    case verify::TDotCriterion::Missing:
        break;
    }
    return QColor(140, 140, 140);
}

QImage VerifyPicture(const QImage& photo, const verify::TVerifyReport& report, int longest) {
    const double scale =
        std::min(1.0, double(longest) / std::max(1, std::max(photo.width(), photo.height())));
    QImage shown = photo.convertToFormat(QImage::Format_RGB32)
                       .scaled(int(photo.width() * scale), int(photo.height() * scale),
                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!report.Ok()) return shown;
    QPainter p(&shown);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const double pen = 1.0 / scale;
    p.setPen(QPen(QColor(0, 170, 255, 170), pen));
    for (int c = 0; c <= report.Cols; ++c)
        p.drawLine(toPhoto(report, c, 0), toPhoto(report, c, report.Rows));
    for (int r = 0; r <= report.Rows; ++r)
        p.drawLine(toPhoto(report, 0, r), toPhoto(report, report.Cols, r));
    p.setBrush(Qt::NoBrush);
    for (const verify::TVerifiedDot& dot : report.Dots) {
        const QColor colour = CriterionColour(static_cast<int>(verify::DotCriterion(dot)));
        p.setPen(QPen(colour, 2 * pen));
        const double u = dot.Found ? dot.X : dot.Col + 0.5, v = dot.Found ? dot.Y : dot.Row + 0.5;
        const double radius =
            std::max(0.15, dot.Found ? dot.Diameter / 2 : 0.3) * report.PixelsPerCell;
        p.drawEllipse(toPhoto(report, u, v), radius, radius);
    }
    return shown;
}

} // namespace korvex::app

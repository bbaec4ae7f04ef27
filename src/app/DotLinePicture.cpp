#include "app/DotLinePicture.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace korvex::app {

QImage DrawDiscsWithDotLine(const datamatrix::TIArray& matrix, int columns, int rows,
                            const std::vector<ncgen::THrtDot>& dots, double pitch, int side,
                            const TDiscStyle& style) {
    if (dots.empty() || columns <= 0 || rows <= 0 || !(pitch > 0))
        return DrawDiscs(matrix, columns, rows, side, style);
    // In modules, rows downwards as the picture runs: module (c, r) has its centre at (c, r).
    double x0 = -0.5, x1 = columns - 0.5, y0 = -0.5, y1 = rows - 0.5;
    for (const ncgen::THrtDot& dot : dots) {
        const double x = static_cast<double>(dot.X);
        const double y = rows - 1 - static_cast<double>(dot.Y);
        x0 = std::min(x0, x - pitch / 2), x1 = std::max(x1, x + pitch / 2);
        y0 = std::min(y0, y - pitch / 2), y1 = std::max(y1, y + pitch / 2);
    }
    // A module of margin all round, as a quiet zone would show.
    x0 -= 1, x1 += 1, y0 -= 1, y1 += 1;
    const double scale = side / std::max(x1 - x0, y1 - y0);
    const double left = (side - (x1 - x0) * scale) / 2 - x0 * scale;
    const double top = (side - (y1 - y0) * scale) / 2 - y0 * scale;

    QImage picture(qMax(1, side), qMax(1, side), QImage::Format_ARGB32_Premultiplied);
    picture.fill(style.Background);
    QPainter painter(&picture);
    const int symbolSide = qMax(1, static_cast<int>(std::lround(columns * scale)));
    painter.drawImage(QPointF(left - 0.5 * scale, top - 0.5 * scale),
                      DrawDiscs(matrix, columns, rows, symbolSide, style));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(style.Dark);
    const double radius = pitch * scale * 0.48;
    for (const ncgen::THrtDot& dot : dots)
        painter.drawEllipse(QPointF(left + static_cast<double>(dot.X) * scale,
                                    top + (rows - 1 - static_cast<double>(dot.Y)) * scale),
                            radius, radius);
    return picture;
}

} // namespace korvex::app

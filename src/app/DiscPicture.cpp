#include "app/DiscPicture.h"

#include <QPainter>

#include <cmath>

namespace korvex::app {

QSize FittedSide(int natural, int panelHeight) {
    if (panelHeight > 0 && panelHeight < natural) return {panelHeight, panelHeight};
    return {natural, natural};
}

namespace {

QImage disc(int size, const QColor& colour, bool ring) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = size / 25.0;
    const QRectF box(inset, inset, size - 2 * inset, size - 2 * inset);
    if (ring) {
        painter.setPen(QPen(colour, qMax<qreal>(1.0, size / 12.5)));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(box.adjusted(size / 25.0, size / 25.0, -size / 25.0, -size / 25.0));
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(box);
    }
    return image;
}

} // namespace

QImage DrawDiscs(const datamatrix::TIArray& matrix, int columns, int rows, int side,
                 const TDiscStyle& style) {
    QImage picture(qMax(1, side), qMax(1, side), QImage::Format_ARGB32_Premultiplied);
    picture.fill(style.Background);
    if (columns <= 0 || rows <= 0) return picture;
    const double cell = static_cast<double>(side) / columns;
    const int sprite = qMax(1, static_cast<int>(std::lround(cell)));
    const QImage dark = disc(sprite, style.Dark, false);
    const QImage light = disc(sprite, style.Light, style.LightRing);
    QPainter painter(&picture);
    for (int y = 0; y < rows; ++y) {
        const int top = static_cast<int>(std::lround(y * cell));
        for (int x = 0; x < columns; ++x) {
            const bool isDark = x < static_cast<int>(matrix.size()) &&
                                y < static_cast<int>(matrix[x].size()) && matrix[x][y] != 0;
            painter.drawImage(static_cast<int>(std::lround(x * cell)), top, isDark ? dark : light);
        }
    }
    return picture;
}

} // namespace korvex::app

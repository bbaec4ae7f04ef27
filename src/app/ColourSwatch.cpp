#include "app/ColourSwatch.h"

#include <QMouseEvent>

namespace korvex::app {

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setFixedSize(48, 20);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
}

void ColourSwatch::SetColour(config::TColor colour) {
    colour_ = colour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    setPalette(palette);
}

QColor ColourSwatch::ToQColor(config::TColor colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

config::TColor ColourSwatch::FromQColor(const QColor& colour) {
    return static_cast<config::TColor>(colour.red()) |
           static_cast<config::TColor>(colour.green()) << 8 |
           static_cast<config::TColor>(colour.blue()) << 16;
}

void ColourSwatch::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit Pressed();
}

} // namespace korvex::app

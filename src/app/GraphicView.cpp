#include "app/GraphicView.h"

#include "base/Windows1252.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace korvex::app {

namespace {

QFont qtFont(const simulation::Font& font) {
    QFont result(QString::fromStdString(font.name));
    // The core's sizes are points of a 96 dpi screen.
    result.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size * 96.0 / 72.0))));
    return result;
}

QColor qtColor(simulation::Color color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

QString qtText(std::string_view text) {
    return QString::fromStdString(base::Windows1252ToUtf8(std::string(text)));
}

} // namespace

QImage WrapCanvas(simulation::RasterCanvas& canvas) {
    return QImage(reinterpret_cast<uchar*>(canvas.bits()), canvas.width(), canvas.height(),
                  static_cast<qsizetype>(canvas.bytesPerLine()), QImage::Format_RGB32);
}

void QtTextRenderer::drawText(simulation::RasterCanvas& canvas, int x, int y, std::string_view text,
                              const simulation::Font& font, const simulation::Brush& brush) {
    if (canvas.width() <= 0 || canvas.height() <= 0) return;
    QImage image = WrapCanvas(canvas);
    QPainter painter(&image);
    const QFont qfont = qtFont(font);
    painter.setFont(qfont);
    const QString string = qtText(text);
    const QFontMetrics metrics(qfont);
    const QRect box(x, y, metrics.horizontalAdvance(string), metrics.height());
    if (brush.style == simulation::BrushStyle::Solid) painter.fillRect(box, qtColor(brush.color));
    painter.setPen(qtColor(font.color));
    painter.drawText(QPoint(x, y + metrics.ascent()), string);
}

int QtTextRenderer::textWidth(std::string_view text, const simulation::Font& font) const {
    return QFontMetrics(qtFont(font)).horizontalAdvance(qtText(text));
}

int QtTextRenderer::textHeight(std::string_view, const simulation::Font& font) const {
    return QFontMetrics(qtFont(font)).height();
}

GraphicView::GraphicView(simulation::TMathImage& image, QWidget* parent)
    : QWidget(parent), image_(image) {
    setObjectName(QStringLiteral("Grafik"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.setTextRenderer(&text_);
    image_.SetCanvas(&canvas_);
}

void GraphicView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect().topLeft(), WrapCanvas(canvas_), event->rect());
}

void GraphicView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    canvas_.resize(width(), height());
    image_.SetSize(width(), height());
    emit GrafikResize();
}

void GraphicView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit MouseMoved(p.x(), p.y(), event->buttons(), event->modifiers());
}

void GraphicView::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit MousePressed(p.x(), p.y());
}

} // namespace korvex::app

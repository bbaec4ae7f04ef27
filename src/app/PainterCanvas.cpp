#include "app/PainterCanvas.h"

#include <QPainter>

namespace korvex::app {

QColor ColorFromBgr(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

PainterCanvas::PainterCanvas(int width, int height)
    : image_(qMax(1, width), qMax(1, height), QImage::Format_RGB32) {
    image_.fill(Qt::white);
    own_ = std::make_unique<QPainter>(&image_);
    painter_ = own_.get();
}

void PainterCanvas::fillRect(int x, int y, int width, int height, std::uint32_t colour) {
    painter_->fillRect(x, y, width, height, ColorFromBgr(colour));
}

std::unique_ptr<datamatrix::SymbolCanvas> PainterCanvas::createPicture(int width, int height) {
    return std::unique_ptr<SymbolCanvas>(new PainterCanvas(width, height));
}

void PainterCanvas::drawPicture(const SymbolCanvas& picture, int x, int y, int width, int height) {
    const auto& source = static_cast<const PainterCanvas&>(picture);
    if (source.own_) source.own_->end();
    painter_->drawImage(QRect(x, y, width, height), source.image_);
}

} // namespace korvex::app

#pragma once

#include "datamatrix/SymbolCanvas.h"

#include <QImage>
#include <QPainter>

namespace korvex::app {

// The encoder's drawing surface on a QPainter (a printer page), with QImage scratch pictures.
class PainterCanvas : public datamatrix::SymbolCanvas {
  public:
    explicit PainterCanvas(QPainter& painter) : painter_(&painter) {}

    void fillRect(int x, int y, int width, int height, std::uint32_t colour) override;
    std::unique_ptr<SymbolCanvas> createPicture(int width, int height) override;
    void drawPicture(const SymbolCanvas& picture, int x, int y, int width, int height) override;

  private:
    PainterCanvas(int width, int height);
    QPainter* painter_ = nullptr;
    QImage image_;
    std::unique_ptr<QPainter> own_;
};

// 0x00BBGGRR as the settings files and the encoder hold colours.
QColor ColorFromBgr(std::uint32_t colour);

} // namespace korvex::app

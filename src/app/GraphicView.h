#pragma once

#include "simulation/RasterCanvas.h"
#include "simulation/TMathImage.h"

#include <QImage>
#include <QWidget>

namespace korvex::app {

// Draws the core's texts with Qt's fonts straight into the raster canvas's pixels.
class QtTextRenderer : public simulation::RasterTextRenderer {
  public:
    void drawText(simulation::RasterCanvas& canvas, int x, int y, std::string_view text,
                  const simulation::Font& font, const simulation::Brush& brush) override;
    int textWidth(std::string_view text, const simulation::Font& font) const override;
    int textHeight(std::string_view text, const simulation::Font& font) const override;
};

// A QImage over the canvas's own pixels: valid until the canvas is resized.
QImage WrapCanvas(simulation::RasterCanvas& canvas);

// The drawing surface `Grafik`: it shows the raster canvas the image draws into and reports
// size changes and the mouse. Drawing happens elsewhere; painting only copies the pixels.
class GraphicView : public QWidget {
    Q_OBJECT
  public:
    explicit GraphicView(simulation::TMathImage& image, QWidget* parent = nullptr);

    simulation::RasterCanvas& Canvas() { return canvas_; }
    simulation::TMathImage& Image() { return image_; }

  signals:
    void GrafikResize();
    void MouseMoved(int x, int y, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void MousePressed(int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    simulation::TMathImage& image_;
    simulation::RasterCanvas canvas_;
    QtTextRenderer text_;
};

} // namespace korvex::app

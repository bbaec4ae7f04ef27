#pragma once

#include "config/Settings.h"

#include <QColor>
#include <QFrame>

namespace korvex::app {

// A colour field of the settings: any mouse button on it says Pressed (the colour dialog).
class ColourSwatch : public QFrame {
    Q_OBJECT
  public:
    explicit ColourSwatch(QWidget* parent = nullptr);

    config::TColor Colour() const { return colour_; }
    void SetColour(config::TColor colour);

    // The settings hold colours as Windows does, red in the lowest byte.
    static QColor ToQColor(config::TColor colour);
    static config::TColor FromQColor(const QColor& colour);

  signals:
    void Pressed();

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    config::TColor colour_ = 0;
};

} // namespace korvex::app

#pragma once

#include "simulation/TMathImage.h"

#include <QWidget>

class QLabel;

namespace korvex::app {

// The world position under the mouse, shown under the graphic as X, Y and Z with three
// decimals.
class PointerReadOut : public QWidget {
  public:
    explicit PointerReadOut(QWidget* parent = nullptr);
    void Show(const simulation::WorldPoint& w);
    void SetCaption(const QString& text);

  private:
    QLabel* caption_ = nullptr;
    QLabel* values_[3] = {};
};

} // namespace korvex::app

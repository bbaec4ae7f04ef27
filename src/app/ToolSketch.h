#pragma once

#include "ncgen/Tool.h"

#include <QWidget>

#include <optional>

namespace korvex::app {

// The marking tool's point in the part at a depth, and the dot it leaves, to scale, so the
// user sees what the angle, tip or radius typed means.
class ToolSketch : public QWidget {
    Q_OBJECT
  public:
    explicit ToolSketch(QWidget* parent = nullptr);
    // Nothing is drawn but the surface when the tool is none or unreadable.
    void Show(const std::optional<ncgen::TTool>& tool, long double depth);
    QSize sizeHint() const override { return {150, 90}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<ncgen::TTool> tool_;
    long double depth_ = 0.1L;
};

} // namespace korvex::app

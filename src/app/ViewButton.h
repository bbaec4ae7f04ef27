#pragma once

#include <QToolButton>

namespace korvex::app {

// A button of the view bar: 110 pixels wide where there is room; in a narrow window they shrink
// to their text instead of lying on top of each other.
class ViewButton : public QToolButton {
  public:
    using QToolButton::QToolButton;
    QSize sizeHint() const override { return QToolButton::sizeHint().expandedTo({110, 40}); }
    QSize minimumSizeHint() const override {
        return {fontMetrics().horizontalAdvance(text()) + 12, 40};
    }
};

} // namespace korvex::app

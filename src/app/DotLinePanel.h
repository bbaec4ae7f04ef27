#pragma once

#include "ncgen/HrtLine.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace korvex::app {

class Messages;

// The layer's human-readable line in dots (position, character height, dot spacing, free
// text) and whether its symbol may grow into a DMRE rectangle.
class DotLinePanel : public QWidget {
    Q_OBJECT
  public:
    explicit DotLinePanel(QWidget* parent = nullptr);

    ncgen::THrtLine Hrt() const;
    // Shows a layer's line and DMRE choice without telling of a change.
    void SetLayer(const ncgen::THrtLine& hrt, bool dmre);
    bool Dmre() const;
    // The captions in the user's language.
    void ApplyTexts(const Messages& messages);

  signals:
    void Changed(); // the dot line
    void DmreToggled(bool allowed);

  private:
    void showWarning();

    QCheckBox* dmre_ = nullptr;
    QLabel* dmreWarning_ = nullptr;
    QGroupBox* group_ = nullptr;
    QComboBox* position_ = nullptr;
    QLabel* heightLabel_ = nullptr;
    QLabel* pitchLabel_ = nullptr;
    QLabel* textLabel_ = nullptr;
    QLineEdit* height_ = nullptr;
    QLineEdit* pitch_ = nullptr;
    QLineEdit* text_ = nullptr;
};

} // namespace korvex::app

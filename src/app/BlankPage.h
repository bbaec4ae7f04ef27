#pragma once

#include "simulation/BlankDefinition.h"

#include <QWidget>

#include <string>

class QLineEdit;
class QToolButton;

namespace korvex::app {

// The "Rohteil" page: the four blank shapes, their fields and the two commands.
class BlankPage : public QWidget {
    Q_OBJECT
  public:
    explicit BlankPage(QWidget* parent = nullptr);

    int Shape() const { return fields_.shape; }
    void SelectShape(int shape);
    // The definition of the chosen shape from the fields as typed.
    std::string Definition();
    void RAnzeigenClick();
    void RDeleteClick();

  signals:
    // "Rohteil anzeigen" (the definition) and "Rohteil löschen" (empty).
    void BlankChosen(const std::string& definition);

  private:
    // The centre caption stands beside the first field of the axis position.
    QWidget* shapePanel(const char* name, int shape, int centreRow);
    QLineEdit* field(QWidget* panel, int row, const char* name, const QString& caption,
                     std::string& text);

    simulation::BlankFields fields_;
    QToolButton* shapeButtons_[4] = {};
    QWidget* panels_[4] = {};
};

} // namespace korvex::app

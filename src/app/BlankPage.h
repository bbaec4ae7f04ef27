#pragma once

#include "config/LanguageTexts.h"
#include "ncgen/Surface.h"
#include "simulation/BlankDefinition.h"

#include <QWidget>

#include <string>

class QGroupBox;
class QLineEdit;
class QRadioButton;
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
    // Shows the job's choice for round parts without announcing it.
    void SetSurface(ncgen::TSurfaceMode mode);
    ncgen::TSurfaceMode Surface() const;
    // The round-part choice in the user's language (it is not in the caption table).
    void ApplySurfaceTexts(const config::TLanguageTexts& texts);

  signals:
    // "Rohteil anzeigen" (the definition) and "Rohteil löschen" (empty).
    void BlankChosen(const std::string& definition);
    // The user picked how a cylinder along X or Y is marked.
    void SurfaceChosen(ncgen::TSurfaceMode mode);
    // A field or the shape changed by the user.
    void Edited();

  private:
    // The centre caption stands beside the first field of the axis position.
    QWidget* shapePanel(const char* name, int shape, int centreRow);
    void addShapeFields();
    QGroupBox* surfaceChoice();
    QLineEdit* field(QWidget* panel, int row, const char* name, const QString& caption,
                     std::string& text);

    simulation::BlankFields fields_;
    QToolButton* shapeButtons_[4] = {};
    QWidget* panels_[4] = {};
    QWidget* surfaceGroup_ = nullptr;
    QRadioButton* surfaceButtons_[3] = {}; // flat, follow, rotary
};

} // namespace korvex::app

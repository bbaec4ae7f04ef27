#pragma once

#include "grade/GradeReport.h"

#include <QDialog>
#include <QImage>

namespace korvex::app {

class Messages;

// The report of the predicted grade: every parameter with its limit, at the nominal depth and
// both ends of the tolerance, beside the predicted mark with the dots outside 60-105 % ringed.
class GradeDialog : public QDialog {
    Q_OBJECT
  public:
    GradeDialog(const grade::TGradeReport& report, const Messages& messages, QWidget* parent);

    // The predicted mark at `pixelsPerCell`, dots outside the window ringed in red.
    static QImage MarkPicture(const grade::TPredictedMark& mark, int pixelsPerCell);
};

} // namespace korvex::app

#pragma once

#include "grade/GradeReport.h"

#include <QObject>

#include <memory>
#include <optional>

class QPushButton;
class QStatusBar;
class QWidget;

namespace korvex::app {

class GenerateController;
class Messages;

// The predicted grade at a glance in the status bar, worked out beside the window after each
// program (it takes tenths of a second: typing never waits for it); a click shows the report.
class GradeStatus : public QObject {
    Q_OBJECT
  public:
    GradeStatus(QStatusBar& bar, const Messages& messages, GenerateController& generator,
                QWidget* window);

    const std::optional<grade::TGradeReport>& Report() const { return report_; }

  signals:
    void Graded(); // the report of the program shown is in

  private:
    void start();
    void showReport();

    const Messages& messages_;
    GenerateController& generator_;
    QWidget* window_;
    QPushButton* mark_ = nullptr;
    std::optional<grade::TGradeReport> report_;
    unsigned started_ = 0; // a later program makes an earlier result stale
};

} // namespace korvex::app

#pragma once

#include "grade/GradeReport.h"

#include <QFuture>
#include <QObject>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

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
    // The profile's depth tolerance comes from its file in the configuration folder.
    GradeStatus(QStatusBar& bar, const Messages& messages, GenerateController& generator,
                std::filesystem::path configFolder, QWidget* window);

    const std::optional<grade::TGradeReport>& Report() const { return report_; }
    // What the marking log keeps of the last program's grade, waited for when it is still being
    // worked out (a save or the batch right after the generation); empty before any program.
    std::string RecordedGrade() const;

  signals:
    void Graded(); // the report of the program shown is in

  private:
    void start();
    void showReport();

    const Messages& messages_;
    GenerateController& generator_;
    std::filesystem::path configFolder_;
    QWidget* window_;
    QFuture<grade::TGradeReport> future_; // of the last program
    QPushButton* mark_ = nullptr;
    std::optional<grade::TGradeReport> report_;
    unsigned started_ = 0; // a later program makes an earlier result stale
};

} // namespace korvex::app

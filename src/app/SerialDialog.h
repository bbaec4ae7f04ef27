#pragma once

#include "job/Run.h"
#include "job/Series.h"
#include "ncgen/SerialRun.h"

#include <QDialog>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace korvex::app {

class ProgramLog;
namespace Ui {
class SerialDialog;
}

class GenerateController;
class Messages;

// One NC program per serial number, from the job as the window shows it: the numbers put into
// a text pattern for layer 1 and into a file-name pattern. The run works on copies on a thread
// of its own, so the window's job stays as it is and the dialog can cancel it.
class SerialDialog : public QDialog, private job::TRunFront {
    Q_OBJECT
  public:
    // `folder` and `suffix` give the defaults of the output folder and the name pattern.
    SerialDialog(GenerateController& generator, const Messages& messages, const QString& folder,
                 const QString& suffix, QWidget* parent = nullptr);
    ~SerialDialog() override;

    // The defaults again, from the settings and the profile now in use; a field the user
    // changed keeps the change.
    void SetDefaults(const QString& folder, const QString& suffix);
    // The marking log the run records its programs in, and the job template whose counter's
    // next number is the first number's default.
    void SetLog(ProgramLog* log, const std::filesystem::path& jobFile);
    void StartClick();
    void CancelClick();
    bool Running() const { return worker_.joinable(); }

  signals:
    void Finished(); // the summary shows how the run ended

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private:
    struct TPlan {
        ncgen::TSerialRange Range;
        std::string Text; // Windows-1252
        QString Folder;
        QString Names;
    };
    std::optional<TPlan> plan(QString& problem) const;
    ncgen::TRunItem item(const TPlan& plan, std::int64_t k) const;
    void applyTexts();
    void updatePreview();
    void setRunning(bool running);
    void showNextNumber();
    void finish(const job::TSeriesOutcome& outcome);
    void stopAndWait();
    // The counter of the run when its first number is the counter's, as the field was given it.
    std::optional<std::string> counterFor(std::int64_t start) const;
    void refused(const job::TRunReport& report);
    void execute();

    bool WriteAgain(const log::TMarkRecord& earlier, std::size_t item) override;
    void Tell(job::TRunNews news, const std::string& words) override;
    bool Step(const job::TSeriesStep& step) override;
    bool Replace(std::size_t existing) override;

    GenerateController& generator_;
    const Messages& messages_;
    std::unique_ptr<Ui::SerialDialog> ui_;

    QWidget* fields_ = nullptr;
    QLineEdit* start_ = nullptr;
    QSpinBox* count_ = nullptr;
    QLineEdit* step_ = nullptr;
    QLineEdit* text_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QLineEdit* names_ = nullptr;
    QCheckBox* check_ = nullptr;
    QString defaultFolder_, defaultNames_;
    QLabel* preview_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* reset_ = nullptr;           // when the counter starts again, if it does
    std::vector<ncgen::TShift> shifts_; // the settings' shifts, for {shift} in the preview
    QPushButton* startButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;

    std::vector<ncgen::TRunItem> items_; // the run's, for its summary
    // Copies the run works on: the window's job and profile stay untouched, whatever it does.
    ncgen::TJob runJob_;
    ncgen::TActiveProfile runProfile_;
    std::string runProfileName_;
    std::unique_ptr<job::TRun> run_;
    ProgramLog* log_ = nullptr;
    std::filesystem::path jobFile_;
    std::string counter_;  // Windows-1252, jobFile_'s
    QString defaultStart_; // the counter's next number when the dialog last showed it
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::atomic<std::size_t> done_{0};
    std::atomic<bool> updatePosted_{false};
};

} // namespace korvex::app

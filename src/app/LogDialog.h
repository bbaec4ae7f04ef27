#pragma once

#include "app/Messages.h"
#include "log/MarkingLog.h"

#include <QDialog>

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace korvex::app {

class ProgramLog;

// "Datei / Markierprotokoll": the records of the marking log in a table, narrowed by a search
// text over every column, and exported as CSV as korvex-cli log gives it.
class LogDialog : public QDialog {
    Q_OBJECT
  public:
    LogDialog(ProgramLog& log, const Messages& messages, QWidget* parent = nullptr);

    // Reads the records again and shows those the search text finds.
    void Reload();
    // The shown records as CSV; false (with a message) when the file cannot be written.
    bool ExportCsv(const QString& file);
    const std::vector<log::TMarkRecord>& Shown() const { return shown_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void applyTexts();
    void fill();
    void exportClick();

    ProgramLog& log_;
    const Messages& messages_;
    std::vector<log::TMarkRecord> records_;
    std::vector<log::TMarkRecord> shown_;
    QLabel* searchLabel_ = nullptr;
    QLineEdit* search_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace korvex::app

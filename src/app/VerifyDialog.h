#pragma once

#include "verify/VerifyPhoto.h"

#include <QDialog>
#include <QFutureWatcher>

#include <filesystem>
#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace korvex::log {
struct TMarkRecord;
}

namespace korvex::app {

class Messages;
class ProgramLog;

// "Datei / Markierung prüfen ...": a photo of a marked part verified off the window's thread,
// shown with the grid the decoder found and each dot coloured by the AS9132 criterion it
// misses, the parameters, the marking log's record of its content and a button to keep the
// verification there.
class VerifyDialog : public QDialog {
    Q_OBJECT
  public:
    VerifyDialog(std::filesystem::path photo, ProgramLog& log, const Messages& messages,
                 QWidget* parent = nullptr);
    ~VerifyDialog() override;
    // Whether the verification has come back (for tests and screenshots).
    bool Done() const { return report_.has_value(); }

  private:
    void shown();
    void findRecord();
    void record();

    std::filesystem::path photo_;
    ProgramLog& log_;
    const Messages& messages_;
    QFutureWatcher<verify::TVerifyReport> watcher_;
    std::optional<verify::TVerifyReport> report_;
    std::int64_t recordId_ = 0;
    QLabel* picture_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* logLine_ = nullptr;
    QTableWidget* table_ = nullptr;
    QPushButton* recordButton_ = nullptr;
};

// Dropping one photo file on `window` opens its verification, as the menu item does.
void AcceptPhotoDrops(QWidget& window, ProgramLog& log, const Messages& messages);

// Asks for a photo when none is given, then shows its verification.
void OpenVerifyDialog(QWidget& parent, ProgramLog& log, const Messages& messages,
                      std::filesystem::path photo = {});

} // namespace korvex::app

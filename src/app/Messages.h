#pragma once

#include "app/Version.h"

#include <QString>

#include <string>
#include <string_view>

class QWidget;

namespace korvex::base {
struct TTextMessage;
}

namespace korvex::config {
class TLanguageTexts;
}

namespace korvex::app {

// Where the program's messages go: a box with the application title, or standard error in an
// unattended run, which then ends with status 1 because nobody can answer.
class Messages {
  public:
    static inline const QString Title = ProgramTitle;

    explicit Messages(const config::TLanguageTexts& texts) : texts_(texts) {}

    void SetBatchMode(bool batch) { batch_ = batch; }
    bool BatchMode() const { return batch_; }
    void SetParent(QWidget* parent) { parent_ = parent; }

    // Language text number, then ": " and the detail when there is one.
    void Show(int number, std::string_view detail = {}) const;
    // A message the core handed up.
    void Show(const base::TTextMessage& message) const;
    // Text N, ": " and text M, as the field checks name the field.
    void ShowWithDetail(int number, int detailNumber) const;
    void ShowText(const QString& text) const;
    // Something the user should know that stops nothing: a box, or a line on standard error
    // in an unattended run, which goes on.
    void ShowNotice(const QString& text) const;
    // The general error handler's box: stop icon, a full stop after a final letter or digit.
    void ShowError(const QString& text) const;

    QString Text(int number) const;
    QString Text(const base::TTextMessage& message) const;
    // For the words korvex-cli shares with the window.
    const config::TLanguageTexts& LanguageTexts() const { return texts_; }

    // A batch run that met a message ends with this status.
    static int BatchFailures();

  private:
    const config::TLanguageTexts& texts_;
    QWidget* parent_ = nullptr;
    bool batch_ = false;
};

// "Fehler" -> "Fehler.", "Ende." stays, "Ende!" stays.
QString WithFullStop(const QString& text);

// Ends an unattended run with status 1 once the event loop runs (or at once if it does).
void FailBatch(const QString& text);

} // namespace korvex::app

#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace korvex::config {
class TLanguageTexts;
}

namespace korvex::app {

// The information dialog: name, version and what the program does. No network.
class TInfo : public QDialog {
    Q_OBJECT
  public:
    explicit TInfo(const config::TLanguageTexts& texts, QWidget* parent = nullptr);
    // Takes the texts of the loaded language.
    void Prepare();

  private:
    const config::TLanguageTexts& texts_;
    QLabel* name_ = nullptr;
    QLabel* description_ = nullptr;
    QLabel* version_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace korvex::app

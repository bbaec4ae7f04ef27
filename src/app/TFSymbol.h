#pragma once

#include "datamatrix/TDatamatrix.h"

#include <QDialog>

#include <cstdint>

class QLabel;
class QListWidget;
class QPushButton;

namespace korvex::config {
class TLanguageTexts;
}

namespace korvex::app {

// "Symbolgröße und Kodierung": size and encodation lists with a live one-character preview.
class TFSymbol : public QDialog {
    Q_OBJECT
  public:
    explicit TFSymbol(const config::TLanguageTexts& texts, QWidget* parent = nullptr);

    // Selects the current choice in both lists; the dialog keeps nothing between openings.
    void Prepare(std::uint8_t size, std::uint8_t encodation);
    std::uint8_t ChosenSize() const;
    std::uint8_t ChosenEncodation() const;

    void VorschauRefresh();
    QImage Picture() const { return picture_; }

  private:
    void SymboxClick();

    const config::TLanguageTexts& texts_;
    datamatrix::TDatamatrix datamatrix_;
    QListWidget* symbox_ = nullptr;
    QListWidget* codebox_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QLabel* previewLabel_ = nullptr;
    QLabel* codeLabel_ = nullptr;
    QWidget* panel_ = nullptr;
    QLabel* image_ = nullptr;
    QImage picture_;
};

} // namespace korvex::app

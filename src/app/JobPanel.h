#pragma once

#include "ncgen/LayerTable.h"

#include <QWidget>

#include <string>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace korvex::app {

class DotLinePanel;
class Messages;
class TextField;

// The left panel: the text and placement of the current layer, the mirror toggles, the
// generate button and its progress bar Verlauf1.
class JobPanel : public QWidget {
    Q_OBJECT
  public:
    explicit JobPanel(QWidget* parent = nullptr);

    // The window's fields as the core's layer operations see them (Windows-1252). The symbol
    // size and encodation are not panel fields; the caller fills them.
    ncgen::TLayerFields Fields() const;
    // Shows a layer; every field change runs its change handling, as typing would.
    void SetFields(const ncgen::TLayerFields& fields);
    // The layer's name above the text field (the caption table would put "Text" there).
    void SetLayerName(const std::string& name);

    // Lines of the text field joined with CR LF (Windows-1252).
    std::string Code() const;
    bool HasText() const;
    void ClearText();

    void SetConvertEnabled(bool enabled);
    // Width 0 navy while the program is out of date, 233 lime after a generation.
    void SetProgress(bool generated);

    QLineEdit* EGroesse() const { return groesse_; }
    QLineEdit* EXVersatz() const { return xVersatz_; }
    QLineEdit* EYVersatz() const { return yVersatz_; }
    QLineEdit* EDrehWinkel() const { return drehWinkel_; }
    TextField* EText() const { return text_; }
    content::TContentKind ContentKind() const;
    QComboBox* EInhalt() const { return content_; }
    DotLinePanel* DotLine() const { return dotLine_; }
    void ApplyTexts(const Messages& messages);

  signals:
    void TextChanged();  // preview refresh and status check
    void FieldChanged(); // status check
    void StepWanted();   // a step button, before its field changes
    void ConvertClicked();
    void SymbolDialogWanted();
    void DmreToggled(bool allowed);
    void Refused(const QString& character);
    void TooManyLines(int most);

  private:
    void connectFields(QPushButton* symbolButton);
    TextField* text_ = nullptr;
    QComboBox* content_ = nullptr;
    QLabel* layerName_ = nullptr;
    QLineEdit* groesse_ = nullptr;
    QLineEdit* xVersatz_ = nullptr;
    QLineEdit* yVersatz_ = nullptr;
    QLineEdit* drehWinkel_ = nullptr;
    QToolButton* xMirror_ = nullptr;
    QToolButton* yMirror_ = nullptr;
    QPushButton* convert_ = nullptr;
    QFrame* progress_ = nullptr;
    DotLinePanel* dotLine_ = nullptr;
};

} // namespace korvex::app

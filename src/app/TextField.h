#pragma once

#include <QPlainTextEdit>

namespace korvex::app {

// The text to encode. A character without a Windows-1252 code is refused before it enters the
// field (typed, pasted or dropped), so the symbol never marks a substitute; so are lines beyond
// the 100 a layer stores, so what is marked, saved and read back is the same text.
class TextField : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit TextField(QWidget* parent = nullptr);

  signals:
    void Refused(const QString& character);
    void TooManyLines(int most);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;

  private:
    bool acceptable(const QString& text);
    // How many more line breaks the field takes at the cursor.
    int breaksAllowed() const;
};

} // namespace korvex::app

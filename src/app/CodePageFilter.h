#pragma once

#include <QValidator>

class QLineEdit;

namespace korvex::app {

// Refuses a typed or pasted character without a Windows-1252 code, as the text field does: the
// field keeps what it held, so nothing reaches a program that the field does not show.
class CodePageFilter : public QValidator {
    Q_OBJECT
  public:
    explicit CodePageFilter(QLineEdit* field);
    State validate(QString& input, int& pos) const override;

  signals:
    void Refused(const QString& character) const;
};

} // namespace korvex::app

#pragma once

#include <QValidator>

class QLineEdit;

namespace korvex::app {

// The key filter of the numeric fields: "+", ",", "-", ".", digits pass, a comma becomes a point,
// everything else is dropped. It judges only what was typed or pasted, so a field that holds a
// controller parameter ("Q200") keeps it.
class NumericKeyFilter : public QValidator {
    Q_OBJECT
  public:
    explicit NumericKeyFilter(QLineEdit* field);
    State validate(QString& input, int& pos) const override;

    // Attaches a filter to the field.
    static void Attach(QLineEdit* field);
    // Puts a text into a field as the program does (a layer, a profile): unfiltered.
    static void SetText(QLineEdit* field, const QString& text);

  private:
    bool bypass_ = false;
    QString before_;
};

} // namespace korvex::app

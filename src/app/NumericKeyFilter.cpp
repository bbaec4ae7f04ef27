#include "app/NumericKeyFilter.h"

#include <QLineEdit>

namespace korvex::app {

NumericKeyFilter::NumericKeyFilter(QLineEdit* field) : QValidator(field), field_(field) {}

void NumericKeyFilter::Attach(QLineEdit* field) {
    field->setValidator(new NumericKeyFilter(field));
}

QValidator::State NumericKeyFilter::validate(QString& input, int& pos) const {
    const QString before = field_->text();
    // The inserted part is what lies between the common beginning and the common end.
    qsizetype head = 0;
    const qsizetype shorter = qMin(before.size(), input.size());
    while (head < shorter && before[head] == input[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == input[input.size() - 1 - tail])
        ++tail;
    const QString inserted = input.mid(head, input.size() - head - tail);
    QString kept;
    for (QChar c : inserted) {
        if (c == QLatin1Char(','))
            kept += QLatin1Char('.');
        else if (c.isDigit() && c.unicode() < 128)
            kept += c;
        else if (c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.'))
            kept += c;
    }
    if (kept.size() != inserted.size() || kept != inserted) {
        input = input.left(head) + kept + input.right(tail);
        pos = static_cast<int>(qMin<qsizetype>(head + kept.size(), input.size()));
    }
    return Acceptable;
}

} // namespace korvex::app

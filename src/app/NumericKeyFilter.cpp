#include "app/NumericKeyFilter.h"

#include <QLineEdit>

namespace korvex::app {

NumericKeyFilter::NumericKeyFilter(QLineEdit* field) : QValidator(field), before_(field->text()) {
    // The field already holds the edited text when it asks; what it held before comes from here.
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
}

void NumericKeyFilter::Attach(QLineEdit* field) {
    field->setValidator(new NumericKeyFilter(field));
}

void NumericKeyFilter::SetText(QLineEdit* field, const QString& text) {
    auto* filter = qobject_cast<NumericKeyFilter*>(const_cast<QValidator*>(field->validator()));
    if (filter) filter->bypass_ = true;
    field->setText(text);
    if (filter) filter->bypass_ = false;
}

QValidator::State NumericKeyFilter::validate(QString& input, int& pos) const {
    if (bypass_) return Acceptable;
    const QString& before = before_;
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

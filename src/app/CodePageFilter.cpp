#include "app/CodePageFilter.h"

#include "app/CodePage.h"

#include <QLineEdit>

namespace korvex::app {

CodePageFilter::CodePageFilter(QLineEdit* field) : QValidator(field) {
    field->setValidator(this);
}

QValidator::State CodePageFilter::validate(QString& input, int& /*pos*/) const {
    const TCodePageText converted = ToCodePage(input);
    if (converted.Ok) return Acceptable;
    emit Refused(converted.Offending);
    return Invalid;
}

} // namespace korvex::app

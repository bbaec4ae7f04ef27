#include "app/StepField.h"

#include "app/CodePage.h"
#include "app/NumericKeyFilter.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace korvex::app {

namespace {

QToolButton* stepButton(QWidget* parent, const QString& caption) {
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setAutoRepeat(true);
    button->setFixedWidth(26);
    // Out of the Tab chain, as in most desktop programs: Tab goes from field to field.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

StepField::StepField(QWidget* parent) : QWidget(parent) {
    field_ = new QLineEdit(this);
    minus_ = stepButton(this, QStringLiteral("−"));
    plus_ = stepButton(this, QStringLiteral("+"));
    // As high as the field: a taller row in a stretching layout would float the field.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(field_, 1);
    row->addWidget(minus_);
    row->addWidget(plus_);
    connect(minus_, &QToolButton::clicked, this, [this] { emit Stepped(false); });
    connect(plus_, &QToolButton::clicked, this, [this] { emit Stepped(true); });
}

StepField::StepField(QWidget* parent, const char* fieldName, const char* minusName,
                     const char* plusName)
    : StepField(parent) {
    setFieldName(QString::fromLatin1(fieldName));
    setMinusName(QString::fromLatin1(minusName));
    setPlusName(QString::fromLatin1(plusName));
}

void StepField::StepWith(ncgen::TStepButton minus, ncgen::TStepButton plus) {
    connect(this, &StepField::Stepped, this, [this, minus, plus](bool up) {
        const TCodePageText current = ToCodePage(field_->text());
        if (!current.Ok) return;
        const ncgen::TStepResult result = ncgen::StepField(up ? plus : minus, current.Bytes);
        if (result.Changed) NumericKeyFilter::SetText(field_, FromCodePage(result.Text));
    });
}

QString StepField::fieldName() const {
    return field_->objectName();
}

void StepField::setFieldName(const QString& name) {
    field_->setObjectName(name);
}

QString StepField::minusName() const {
    return minus_->objectName();
}

void StepField::setMinusName(const QString& name) {
    minus_->setObjectName(name);
}

QString StepField::plusName() const {
    return plus_->objectName();
}

void StepField::setPlusName(const QString& name) {
    plus_->setObjectName(name);
}

int StepField::buttonWidth() const {
    return minus_->minimumWidth();
}

void StepField::setButtonWidth(int width) {
    minus_->setFixedWidth(width);
    plus_->setFixedWidth(width);
}

} // namespace korvex::app

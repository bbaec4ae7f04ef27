#include "app/StepButtons.h"

#include "app/CodePage.h"
#include "app/NumericKeyFilter.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace korvex::app {

namespace {

QToolButton* stepButton(QWidget* parent, QLineEdit* field, ncgen::TStepButton step,
                        const char* name, const QString& caption,
                        const std::function<void()>& beforeStep) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setAutoRepeat(true);
    button->setFixedWidth(26);
    // Out of the Tab chain, as in most desktop programs: Tab goes from field to field.
    button->setFocusPolicy(Qt::NoFocus);
    QObject::connect(button, &QToolButton::clicked, field, [field, step, beforeStep] {
        if (beforeStep) beforeStep();
        const TCodePageText current = ToCodePage(field->text());
        if (!current.Ok) return;
        const ncgen::TStepResult result = ncgen::StepField(step, current.Bytes);
        if (result.Changed) NumericKeyFilter::SetText(field, FromCodePage(result.Text));
    });
    return button;
}

} // namespace

QLayout* FieldWithSteps(QWidget* parent, QLineEdit* field, ncgen::TStepButton minus,
                        const char* minusName, ncgen::TStepButton plus, const char* plusName,
                        const std::function<void()>& beforeStep) {
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(field, 1);
    row->addWidget(stepButton(parent, field, minus, minusName, QStringLiteral("−"), beforeStep));
    row->addWidget(stepButton(parent, field, plus, plusName, QStringLiteral("+"), beforeStep));
    return row;
}

} // namespace korvex::app

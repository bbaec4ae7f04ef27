#pragma once

#include "ncgen/StepButton.h"

class QLineEdit;
class QLayout;
class QWidget;

namespace korvex::app {

// The − and + buttons beside a numeric field, named after the step (XMinus, Xplus ...).
QLayout* FieldWithSteps(QWidget* parent, QLineEdit* field, ncgen::TStepButton minus,
                        const char* minusName, ncgen::TStepButton plus, const char* plusName);

} // namespace korvex::app

#pragma once

#include "ncgen/StepButton.h"

#include <functional>

class QLineEdit;
class QLayout;
class QWidget;

namespace korvex::app {

// The − and + buttons beside a numeric field, named after the step (XMinus, Xplus ...).
// beforeStep runs first on every click (pick mode ends before the field moves).
QLayout* FieldWithSteps(QWidget* parent, QLineEdit* field, ncgen::TStepButton minus,
                        const char* minusName, ncgen::TStepButton plus, const char* plusName,
                        const std::function<void()>& beforeStep = {});

} // namespace korvex::app

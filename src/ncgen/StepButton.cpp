#include "ncgen/StepButton.h"

#include "base/DecimalText.h"
#include "ncgen/NumberReading.h"

namespace korvex::ncgen {

TStepResult StepField(TStepButton button, std::string_view fieldText) {
    const TNumberReading reading = ReadNumber(fieldText);
    if (!reading.ok) {
        return {};
    }
    const long double value = reading.value;
    long double step = 0.1L;
    bool endsPick = true;
    bool allowed = true;
    switch (button) {
    case TStepButton::XMinus:
    case TStepButton::YMinus:
        step = -0.1L;
        break;
    case TStepButton::Xplus:
    case TStepButton::YPlus:
    case TStepButton::GPlus:
        break;
    case TStepButton::GMinus:
        step = -0.1L;
        allowed = value + step > 0;
        break;
    case TStepButton::DMinus:
        step = -5;
        allowed = !(value < 5);
        break;
    case TStepButton::DPlus:
        step = 5;
        allowed = !(value > 355);
        break;
    case TStepButton::RMinus:
    case TStepButton::ZMinus:
        step = -0.1L;
        endsPick = false;
        break;
    case TStepButton::RPlus:
    case TStepButton::ZPlus:
        endsPick = false;
        break;
    }
    if (!allowed) {
        return {};
    }
    std::string text = base::FixedText(value + step, 2);
    if (text.size() < 3) {
        text.insert(0, 3 - text.size(), ' ');
    }
    return {true, text, endsPick};
}

} // namespace korvex::ncgen

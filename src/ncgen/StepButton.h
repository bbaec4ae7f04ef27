#pragma once

#include <string>
#include <string_view>

namespace korvex::ncgen {

// The parameter step buttons beside the main window's fields.
enum class TStepButton {
    XMinus,
    Xplus, // EXVersatz
    YMinus,
    YPlus, // EYVersatz
    GMinus,
    GPlus, // EGroesse
    DMinus,
    DPlus, // EDrehWinkel
    RMinus,
    RPlus, // REbeneauswahl
    ZMinus,
    ZPlus, // ZEbeneauswahl
};

struct TStepResult {
    bool Changed = false;      // false: leave the field and pick mode alone
    std::string Text;          // new field text when Changed ("0.60", "-0.10", "15.00")
    bool EndsPickMode = false; // the caller ends pick mode before writing Text
};

// One press of a step button on the field's current text.
TStepResult StepField(TStepButton button, std::string_view fieldText);

} // namespace korvex::ncgen

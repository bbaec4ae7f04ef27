#include "app/GenerateController.h"

#include "app/CodePage.h"
#include "app/NumericKeyFilter.h"
#include "app/JobPanel.h"
#include "app/Messages.h"
#include "app/NCEditor.h"
#include "app/ProfilePanel.h"
#include "app/SymbolPreview.h"
#include "datamatrix/ERangeError.h"
#include "ncgen/GenerateChecks.h"
#include "ncgen/GenerateLayer.h"
#include "ncgen/TextNumbers.h"

#include <QApplication>
#include <QLineEdit>

namespace korvex::app {

GenerateController::GenerateController(JobPanel& panel, SymbolPreview& preview, NCEditor& editor,
                                       ProfilePanel& profilePanel, ncgen::TJob& job,
                                       const ncgen::TActiveProfile& profile,
                                       const Messages& messages, QObject* parent)
    : QObject(parent), panel_(panel), preview_(preview), editor_(editor),
      profilePanel_(profilePanel), job_(job), profile_(profile), messages_(messages) {
    timer_.setObjectName(QStringLiteral("ConvertTimer"));
    timer_.setSingleShot(true);
    timer_.setInterval(250);
    connect(&timer_, &QTimer::timeout, this, &GenerateController::ConvertTimerTimer);
}

void GenerateController::Checkstatus() {
    const ncgen::TStatusCheck status =
        ncgen::Checkstatus(panel_.Code(), ToCodePage(panel_.EDrehWinkel()->text()).Bytes);
    if (status.MessageText != 0) messages_.Show(status.MessageText);
    // A text field with only line breaks still has characters.
    outOfDate_ = panel_.HasText() && status.MessageText == 0;
    panel_.SetConvertEnabled(outOfDate_);
    if (outOfDate_) panel_.SetProgress(false);
    timer_.stop();
    if (outOfDate_) timer_.start();
}

void GenerateController::ConvertTimerTimer() {
    timer_.stop();
    QWidget* focus = QApplication::focusWidget();
    if (outOfDate_ && graphicVisible_ && graphicVisible_()) ConvertClick();
    if (focus) focus->setFocus();
}

void GenerateController::ClearProgram() {
    editor_.Clear();
    simulationLines_.clear();
    bufferLines_.clear();
}

bool GenerateController::ConvertClick() {
    // A program must never mark the text as it was before the last keystroke: a refresh that
    // is still waiting runs now. Its range error ends the command here.
    if (preview_.RefreshPending()) preview_.DMTimerTimer();

    outOfDate_ = false;
    panel_.SetConvertEnabled(false);
    timer_.stop();
    emit Starting();
    ClearProgram();

    const ncgen::TGenerateCheck check = ncgen::CheckGenerateFields(
        ToCodePage(panel_.EGroesse()->text()).Bytes, ToCodePage(panel_.EXVersatz()->text()).Bytes,
        ToCodePage(panel_.EYVersatz()->text()).Bytes);
    if (!check.Ok) {
        messages_.ShowWithDetail(check.MessageText, check.DetailText);
        if (check.EXVersatz)
            NumericKeyFilter::SetText(panel_.EXVersatz(), FromCodePage(*check.EXVersatz));
        if (check.EYVersatz)
            NumericKeyFilter::SetText(panel_.EYVersatz(), FromCodePage(*check.EYVersatz));
        return false;
    }

    ncgen::TLayerFields fields = panel_.Fields();
    fields.CurrentSymbolSize = preview_.CurrentSymbolSize();
    fields.CurrentEncodation = preview_.CurrentEncodation();
    job_.Layers.StoreCurrentLayer(fields);

    if (!preview_.SymbolCurrent()) {
        // The symbol on screen is not the one of this text (it did not fit, or there is none).
        if (panel_.Code().empty()) {
            messages_.ShowText(QStringLiteral("Layer 1 of the job has no text to encode"));
            return false;
        }
        throw datamatrix::ERangeError();
    }

    emit Status(messages_.Text(text::GeneratingStatus));
    ncgen::TGenerateOutput output;
    const ncgen::TGenerateInput input{job_.Layers.Layer(1),
                                      preview_.Matrix(),
                                      preview_.MatrixCols(),
                                      preview_.MatrixRows(),
                                      profile_,
                                      profilePanel_.REbeneauswahl(),
                                      profilePanel_.ZEbeneauswahl(),
                                      false};
    try {
        ncgen::GenerateLayer(input, output);
    } catch (...) {
        editor_.ShowProgram(output.NCLines, output.LastUsedFormat);
        simulationLines_ = std::move(output.SimulationLines);
        throw;
    }
    simulationLines_ = std::move(output.SimulationLines);
    editor_.ShowProgram(output.NCLines, output.LastUsedFormat);
    panel_.SetProgress(true);
    emit Status(messages_.Text(text::GeneratedStatus));
    emit Generated();
    return true;
}

} // namespace korvex::app

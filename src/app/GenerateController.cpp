#include "app/GenerateController.h"

#include "readback/JobSurface.h"

#include "app/CodePage.h"
#include "app/NumericKeyFilter.h"
#include "app/JobPanel.h"
#include "app/Messages.h"
#include "app/NCEditor.h"
#include "app/ProfilePanel.h"
#include "app/SymbolPreview.h"
#include "ncgen/GenerateChecks.h"
#include "ncgen/GenerateCommand.h"
#include "base/TextNumbers.h"

#include <QApplication>
#include <QLineEdit>

namespace korvex::app {

GenerateController::GenerateController(JobPanel& panel, SymbolPreview& preview, NCEditor& editor,
                                       ProfilePanel& profilePanel, ncgen::TJob& job,
                                       const ncgen::TActiveProfile& profile,
                                       const Messages& messages, const std::string& profileName,
                                       QObject* parent)
    : QObject(parent), panel_(panel), preview_(preview), editor_(editor),
      profilePanel_(profilePanel), job_(job), profile_(profile), messages_(messages),
      profileName_(profileName) {
    timer_.setObjectName(QStringLiteral("ConvertTimer"));
    timer_.setSingleShot(true);
    timer_.setInterval(250);
    connect(&timer_, &QTimer::timeout, this, &GenerateController::ConvertTimerTimer);
}

void GenerateController::Checkstatus() {
    const std::string code = panel_.Code();
    const std::string angle = ToCodePage(panel_.EDrehWinkel()->text()).Bytes;
    const std::string r = profilePanel_.REbeneauswahl();
    const std::string z = profilePanel_.ZEbeneauswahl();
    const ncgen::TStatusCheck status = ncgen::Checkstatus({code, angle, r, z}, profile_);
    if (status.MessageText != 0) messages_.ShowWithDetail(status.MessageText, status.DetailText);
    // A text field with only line breaks still has characters.
    outOfDate_ = panel_.HasText() && status.MessageText == 0;
    panel_.SetConvertEnabled(outOfDate_);
    if (outOfDate_) panel_.SetProgress(false);
    if (outOfDate_ && notesCurrent_) {
        notesCurrent_ = false;
        emit NotesChanged();
    }
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
    notes_ = {};
    notesCurrent_ = false;
    emit NotesChanged();
}

void GenerateController::RefreshBlankFit() {
    const readback::TProgramNotes fit = readback::NotesFor(
        simulationLines_, job_.Layers.Layer(1), profile_, job_.BlankDefinition, false, false);
    notes_.BlankFit = fit.BlankFit;
    notes_.BlankWarning = fit.BlankWarning;
    notes_.Round = fit.Round;
    notes_.RoundWarnings = fit.RoundWarnings;
    emit NotesChanged();
}

ncgen::TGenerateFields GenerateController::Fields() const {
    ncgen::TGenerateFields fields{panel_.Fields(), profilePanel_.REbeneauswahl(),
                                  profilePanel_.ZEbeneauswahl(), readback::JobSurface(job_)};
    fields.Layer.CurrentSymbolSize = preview_.CurrentSymbolSize();
    fields.Layer.CurrentEncodation = preview_.CurrentEncodation();
    return fields;
}

bool GenerateController::ConvertClick() {
    // The preview shows what will be marked: a refresh still waiting for its timer runs first,
    // and its range error ends the command here.
    if (preview_.RefreshPending()) preview_.DMTimerTimer();

    outOfDate_ = false;
    panel_.SetConvertEnabled(false);
    timer_.stop();
    emit Starting();
    // The editor is emptied only where nothing new replaces it: clearing 30,000 lines before
    // setting 30,000 new ones would cost as much again, and nothing is drawn in between.
    simulationLines_.clear();
    notes_ = {};
    notesCurrent_ = false;
    emit NotesChanged();

    const ncgen::TGenerateFields fields = Fields();
    emit Status(messages_.Text(text::GeneratingStatus));
    ncgen::TGenerateCommandResult result;
    try {
        ncgen::GenerateCommand(job_.Layers, fields, profile_, profileName_, result);
    } catch (...) {
        // The program as far as the generator got, as the editor showed it.
        simulationLines_ = std::move(result.SimulationLines);
        editor_.ShowProgram(result.NCLines, result.LastUsedFormat);
        throw;
    }
    if (result.Outcome != ncgen::TGenerateOutcome::Generated) editor_.Clear();
    switch (result.Outcome) {
    case ncgen::TGenerateOutcome::Refused:
        messages_.Show(result.Message);
        if (result.EXVersatz)
            NumericKeyFilter::SetText(panel_.EXVersatz(), FromCodePage(*result.EXVersatz));
        if (result.EYVersatz)
            NumericKeyFilter::SetText(panel_.EYVersatz(), FromCodePage(*result.EYVersatz));
        return false;
    case ncgen::TGenerateOutcome::NoText:
        // Only a batch gets here: the window keeps Convert disabled without a text.
        if (messages_.BatchMode())
            FailBatch(QStringLiteral("Layer 1 of the job has no text to encode"));
        return false;
    case ncgen::TGenerateOutcome::Generated:
        break;
    }
    simulationLines_ = std::move(result.SimulationLines);
    editor_.ShowProgram(result.NCLines, result.LastUsedFormat);
    panel_.SetProgress(true);
    // Nobody looks at a batch run's status bar; its program is written as it is.
    if (!messages_.BatchMode()) {
        notes_ = readback::NotesFor(simulationLines_, job_.Layers.Layer(1), profile_,
                                    job_.BlankDefinition, true, true);
        notesCurrent_ = true;
        emit NotesChanged();
    }
    emit Status(messages_.Text(text::GeneratedStatus));
    emit Generated();
    return true;
}

} // namespace korvex::app

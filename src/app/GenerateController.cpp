#include "app/GenerateController.h"

#include "app/AppTexts.h"
#include "readback/JobSurface.h"

#include "app/CodePage.h"
#include "app/NumericKeyFilter.h"
#include "app/JobDocument.h"
#include "app/JobPanel.h"
#include "app/Messages.h"
#include "app/NCEditor.h"
#include "app/ProfilePanel.h"
#include "app/SymbolPreview.h"
#include "job/LoggedRun.h"
#include "job/MarkGrade.h"
#include "ncgen/GenerateChecks.h"
#include "ncgen/NCGenerateCommand.h"
#include "base/TextMessage.h"
#include "base/TextNumbers.h"

#include <QApplication>
#include <QFutureWatcher>
#include <QLineEdit>
#include <QtConcurrent/QtConcurrentRun>

namespace korvex::app {

namespace {

void markField(QLineEdit* field, bool invalid) {
    field->setStyleSheet(invalid ? QStringLiteral("QLineEdit { background: #ffd6d6; }")
                                 : QString());
}

} // namespace

GenerateController::GenerateController(JobPanel& panel, SymbolPreview& preview, NCEditor& editor,
                                       ProfilePanel& profilePanel, JobDocument& document,
                                       const Messages& messages, const config::TSettings& settings,
                                       QObject* parent)
    : QObject(parent), panel_(panel), preview_(preview), editor_(editor),
      profilePanel_(profilePanel), document_(document), messages_(messages), settings_(settings) {
    timer_.setObjectName(QStringLiteral("ConvertTimer"));
    timer_.setSingleShot(true);
    timer_.setInterval(250);
    connect(&timer_, &QTimer::timeout, this, &GenerateController::ConvertTimerTimer);
    // The window's DMRE choice belongs to the job's symbol, as the symbol dialog's does.
    connect(&panel_, &JobPanel::DmreToggled, this, [this](bool allowed) {
        ncgen::TSymbolChoice symbol = document_.Symbol();
        symbol.Dmre = allowed;
        document_.SetSymbol(symbol);
        preview_.ETextChange(panel_.Code(), panel_.ContentKind());
        Checkstatus();
    });
}

const ncgen::TJob& GenerateController::Job() const {
    return document_.Job();
}

const ncgen::TActiveProfile& GenerateController::Profile() const {
    return document_.Profile();
}

const std::vector<std::string>& GenerateController::SimulationLines() const {
    return document_.SimulationLines();
}

const std::string& GenerateController::ProfileName() const {
    return document_.ProfileName();
}

int GenerateController::ProfileNumber() const {
    return document_.ProfileNumber();
}

void GenerateController::Checkstatus() {
    const std::string code = panel_.Code();
    const std::string angle = ToCodePage(panel_.EDrehWinkel()->text()).Bytes;
    const std::string r = profilePanel_.REbeneauswahl();
    const std::string z = profilePanel_.ZEbeneauswahl();
    const ncgen::TStatusCheck status = ncgen::Checkstatus({code, angle, r, z}, Profile());
    // While the user types, a box per keystroke would be in the way: the status bar says it and
    // the field is marked; the box comes when a generation is asked for. Content its kind
    // refuses is said the same way and cannot be generated.
    using F = ncgen::TStatusField;
    markField(panel_.EDrehWinkel(), status.Field == F::Rotation);
    markField(profilePanel_.RField(), status.Field == F::SafetyDistance);
    markField(profilePanel_.ZField(), status.Field == F::InfeedDepth);
    const content::TSymbolContent content = content::PrepareContent(panel_.ContentKind(), code);
    const bool refused = panel_.HasText() && !content.Ok();
    if (status.MessageText != 0) {
        emit Status(messages_.Text(base::TTextMessage{status.MessageText, status.DetailText, {}}));
        statusProblem_ = true;
    } else if (refused) {
        emit Status(messages_.Text(content.Refusal));
        statusProblem_ = true;
    } else if (statusProblem_) {
        emit Status(QString());
        statusProblem_ = false;
    }
    // A text field with only line breaks still has characters.
    outOfDate_ = panel_.HasText() && status.MessageText == 0 && !refused;
    panel_.SetConvertEnabled(outOfDate_);
    if (outOfDate_) panel_.SetProgress(false);
    if (outOfDate_ && notesCurrent_) {
        notesCurrent_ = false;
        // They judged the content as it was (an IUID rule after a switch to Text).
        contentWarnings_.clear();
        emit NotesChanged();
    }
    timer_.stop();
    if (outOfDate_) timer_.start();
}

void GenerateController::ConvertTimerTimer() {
    timer_.stop();
    QWidget* focus = QApplication::focusWidget();
    if (outOfDate_ && graphicShown_) ConvertClick();
    if (focus) focus->setFocus();
}

void GenerateController::forgetProgram() {
    // A read-back still running belongs to the program before.
    ++program_;
    readBackPending_ = false;
    notes_ = {};
    contentWarnings_.clear();
    record_ = {};
    notesCurrent_ = false;
    emit NotesChanged();
}

void GenerateController::ClearProgram() {
    editor_.Clear();
    document_.SetSimulationLines({});
    forgetProgram();
}

void GenerateController::ShowOtherProgram(const std::vector<std::string>& ncLines,
                                          const std::vector<std::string>& simulationLines) {
    timer_.stop();
    document_.SetSimulationLines(simulationLines);
    editor_.ShowProgram(ncLines, Profile().Format);
    forgetProgram();
    // Not out of date, or showing the graphic would generate the job over it at once; the
    // Convert button brings the job's program back.
    outOfDate_ = false;
    panel_.SetConvertEnabled(panel_.HasText());
    panel_.SetProgress(false);
    emit Generated();
}

void GenerateController::RefreshBlankFit() {
    const ncgen::TJob& job = Job();
    const readback::TProgramNotes fit = readback::NotesFor(
        SimulationLines(), job.Layers.Layer(1), Profile(), job.BlankDefinition, false, false);
    notes_.BlankFit = fit.BlankFit;
    notes_.BlankWarning = fit.BlankWarning;
    notes_.Round = fit.Round;
    notes_.RoundWarnings = fit.RoundWarnings;
    emit NotesChanged();
}

ncgen::TGenerateFields GenerateController::Fields() const {
    ncgen::TGenerateFields fields{panel_.Fields(), profilePanel_.REbeneauswahl(),
                                  profilePanel_.ZEbeneauswahl(), readback::JobSurface(Job())};
    fields.Layer.CurrentSymbolSize = document_.Symbol().Size;
    fields.Layer.Dmre = document_.Symbol().Dmre;
    fields.Layer.CurrentEncodation = document_.Symbol().Encodation;
    return fields;
}

// Shows why a program was not made (a partial one in the editor, the refusal, a batch's
// missing text); true when it was made.
bool GenerateController::generatedOrTold(job::TProgram& program, const job::TOutcome& outcome) {
    ncgen::TGenerateCommandResult& result = program.Generated;
    if (program.Partial) {
        // The program as far as the generator got, as the editor showed it.
        document_.SetSimulationLines(std::move(result.SimulationLines));
        editor_.ShowProgram(result.NCLines, result.LastUsedFormat);
        emit Status(messages_.Text(NotGeneratedStatus));
        messages_.ShowError(messages_.Text(outcome.Message));
        return false;
    }
    if (!outcome.Ok()) {
        editor_.Clear();
        // The box goes, the status bar stays: it must not still say that a program is coming.
        const QString why = messages_.Text(result.Message);
        emit Status(messages_.Text(NotGeneratedStatus) +
                    (why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    }
    switch (result.Outcome) {
    case ncgen::TGenerateOutcome::Refused:
        // What refused it may lie outside the fields the status check watches (the blank page).
        panel_.SetConvertEnabled(panel_.HasText());
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
    return true;
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
    document_.SetSimulationLines({});
    forgetProgram();

    const ncgen::TGenerateFields fields = Fields();
    emit Status(messages_.Text(text::GeneratingStatus));
    // Nobody looks at a batch run's notes; its program is written as it is. The read-back runs
    // beside the window.
    const auto notes = messages_.BatchMode()
                           ? std::nullopt
                           : std::optional(job::TNotesWanted{true, false, settings_.RapidRate});
    job::TProgram program;
    const job::TOutcome outcome = document_.Generate(fields, notes, program);
    if (!generatedOrTold(program, outcome)) return false;
    ncgen::TGenerateCommandResult& result = program.Generated;
    record_ = job::ProgramRecord(program, fields.Layer.Content, ProfileName(), {});
    document_.SetSimulationLines(std::move(result.SimulationLines));
    editor_.ShowProgram(result.NCLines, result.LastUsedFormat);
    panel_.SetProgress(true);
    if (notes) {
        notes_ = std::move(program.Notes);
        contentWarnings_ = std::move(program.Warnings);
        notesCurrent_ = true;
        startReadBack();
        emit NotesChanged();
    }
    emit Status(messages_.Text(text::GeneratedStatus));
    emit Generated();
    return true;
}

void GenerateController::startReadBack() {
    const ncgen::TLayer& layer = Job().Layers.Layer(1);
    // Square modules take a few milliseconds even on the largest symbol.
    if (!notes_.Dots) {
        notes_.Check = readback::CheckReadBack(SimulationLines(), layer, Profile(),
                                               readback::LayerCode(layer));
        return;
    }
    readBackPending_ = true;
    auto* watcher = new QFutureWatcher<readback::TReadBackResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, program = program_] {
        watcher->deleteLater();
        if (program != program_) return;
        notes_.Check = watcher->result();
        readBackPending_ = false;
        emit NotesChanged();
        emit ReadBackDone();
    });
    // Copies: the window may change the job and the profile while it runs.
    watcher->setFuture(
        QtConcurrent::run([lines = SimulationLines(), layer, profile = Profile(),
                           code = readback::LayerCode(layer), blank = Job().BlankDefinition] {
            readback::TReadBackResult check = readback::CheckReadBack(lines, layer, profile, code);
            job::SettleMergingDots(check, lines, layer, profile, blank);
            return check;
        }));
}

} // namespace korvex::app

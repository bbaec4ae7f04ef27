#include "app/SerialDialog.h"
#include "app/ProgramLog.h"
#include "base/TextNumbers.h"
#include "job/LoggedRun.h"
#include "job/MarkGrade.h"
#include "job/Run.h"
#include "job/Series.h"

#include "app/AppTexts.h"
#include "app/CodePage.h"
#include "app/GenerateController.h"
#include "app/Messages.h"
#include "app/AppPlatform.h"
#include "app/ProgramNotesText.h"
#include "readback/ProgramNotes.h"
#include "readback/ReadBack.h"
#include "ui_SerialDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QThread>

#include <algorithm>
#include <exception>
#include <filesystem>

namespace korvex::app {

namespace {

// "Se&rienlauf ..." -> "Serienlauf"
QString titleOf(QString menuText) {
    menuText.remove(QLatin1Char('&'));
    if (menuText.endsWith(QStringLiteral("..."))) menuText.chop(3);
    return menuText.trimmed();
}

} // namespace

SerialDialog::SerialDialog(GenerateController& generator, const Messages& messages,
                           const QString& folder, const QString& suffix, QWidget* parent)
    : QDialog(parent), generator_(generator), messages_(messages),
      ui_(std::make_unique<Ui::SerialDialog>()) {
    ui_->setupUi(this);
    fields_ = ui_->PFelder;
    start_ = ui_->EStart;
    count_ = ui_->EAnzahl;
    step_ = ui_->ESchritt;
    text_ = ui_->ETextmuster;
    folder_ = ui_->EOrdner;
    names_ = ui_->ENamensmuster;
    check_ = ui_->CLesekontrolle;
    preview_ = ui_->LVorschau;
    progress_ = ui_->Fortschritt;
    summary_ = ui_->LErgebnis;
    reset_ = new QLabel(this);
    reset_->setObjectName(QStringLiteral("LNeubeginn"));
    ui_->fieldsLayout->insertRow(1, reset_);
    reset_->hide();
    startButton_ = ui_->Starten;
    cancelButton_ = ui_->Abbrechen;
    closeButton_ = ui_->Schliessen;
    QPushButton* browse = ui_->BOrdner;

    // Signed whole numbers; the range check below knows the limits.
    auto* whole =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-+]?\\d{0,19}")), this);
    start_->setValidator(whole);
    step_->setValidator(whole);
    count_->setRange(1, static_cast<int>(ncgen::MaxSerialCount));
    count_->setValue(10);
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(browse->text()) + 24);
    SetDefaults(folder, suffix);

    for (QLineEdit* edit : {start_, step_, text_, folder_, names_})
        connect(edit, &QLineEdit::textChanged, this, &SerialDialog::updatePreview);
    connect(count_, &QSpinBox::valueChanged, this, &SerialDialog::updatePreview);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getExistingDirectory(
            this, messages_.Text(SerialFolderLabel), folder_->text());
        if (!chosen.isEmpty()) folder_->setText(QDir::toNativeSeparators(chosen));
    });
    connect(startButton_, &QPushButton::clicked, this, &SerialDialog::StartClick);
    connect(cancelButton_, &QPushButton::clicked, this, &SerialDialog::CancelClick);
    connect(closeButton_, &QPushButton::clicked, this, &SerialDialog::reject);
    applyTexts();
}

SerialDialog::~SerialDialog() {
    stopAndWait();
}

void SerialDialog::SetDefaults(const QString& folder, const QString& suffix) {
    const QString newFolder = folder.isEmpty() ? QDir::homePath() : folder;
    const QString newNames =
        QStringLiteral("{n}.") + (suffix.isEmpty() ? QStringLiteral("nc") : suffix);
    // A lathe profile's programs must not go out as ".nc" because the dialog was first
    // opened with a milling profile.
    if (folder_->text() == defaultFolder_) folder_->setText(newFolder);
    if (names_->text() == defaultNames_) names_->setText(newNames);
    defaultFolder_ = newFolder;
    defaultNames_ = newNames;
}

void SerialDialog::SetLog(ProgramLog* log, const std::filesystem::path& jobFile) {
    log_ = log;
    jobFile_ = jobFile;
    counter_ = job::JobCounter(jobFile);
    showNextNumber();
}

void SerialDialog::showNextNumber() {
    if (!log_) return;
    try {
        log::TMarkingLog* markingLog = log_->Log();
        if (!markingLog) return;
        const log::TCounterAsk ask = job::SettingsCounterAsk(log_->ConfigFolder());
        shifts_ = ask.Shifts;
        const QString next = QString::number(markingLog->NextSerial(counter_, ask));
        const auto stored = markingLog->Counter(counter_);
        const auto reset = stored ? stored->Reset : ncgen::TCounterReset::Never;
        reset_->setVisible(reset != ncgen::TCounterReset::Never);
        reset_->setText(
            messages_.Text(text::CounterResetLabel)
                .arg(messages_.Text(text::FirstCounterResetText + static_cast<int>(reset))));
        // A number the user typed stays; the default follows the counter.
        if (start_->text() == defaultStart_ || defaultStart_.isEmpty()) start_->setText(next);
        defaultStart_ = next;
    } catch (const log::ELogError&) {
        // Said when a run would write; the dialog still opens.
    }
}

void SerialDialog::showEvent(QShowEvent* event) {
    // The language may have changed since the last opening, and the last run's summary is
    // about programs the user has already seen.
    applyTexts();
    if (!Running()) {
        summary_->clear();
        progress_->setValue(0);
        updatePreview();
    }
    QDialog::showEvent(event);
}

void SerialDialog::applyTexts() {
    setWindowTitle(titleOf(messages_.Text(SerialMenuText)));
    const auto set = [this](const char* name, int number) {
        const QString text = messages_.Text(number);
        if (auto* l = findChild<QLabel*>(QString::fromLatin1(name))) l->setText(text);
        if (auto* b = findChild<QPushButton*>(QString::fromLatin1(name))) b->setText(text);
    };
    set("LStart", SerialStartLabel);
    set("LAnzahl", SerialCountLabel);
    set("LSchritt", SerialStepLabel);
    set("LTextmuster", SerialTextLabel);
    set("LPlatzhalter", SerialPlaceholderText);
    set("LOrdner", SerialFolderLabel);
    set("LNamensmuster", SerialNamesLabel);
    set("Starten", SerialStartButton);
    set("Abbrechen", SerialCancelButton);
    set("Schliessen", SerialCloseButton);
    check_->setText(messages_.Text(SerialCheckText));
    updatePreview();
}

std::optional<SerialDialog::TPlan> SerialDialog::plan(QString& problem) const {
    const QString range = start_->text() + QLatin1Char(':') + QString::number(count_->value()) +
                          QLatin1Char(':') + step_->text();
    const auto read = ncgen::ReadSerialRange(range.toStdString());
    if (!read) {
        problem = messages_.Text(SerialRangeText).arg(ncgen::MaxSerialCount);
        return std::nullopt;
    }
    const TCodePageText text = ToCodePage(text_->text());
    if (!text.Ok) {
        problem = messages_.Text(RefusedCharacterText) + QStringLiteral(": ") + text.Offending;
        return std::nullopt;
    }
    return TPlan{*read, text.Bytes, folder_->text(), names_->text()};
}

ncgen::TRunItem SerialDialog::item(const TPlan& plan, std::int64_t k) const {
    // Named as korvex-cli names them; the folder is taken as typed, braces and all.
    ncgen::TRunItem planned =
        job::PlanSerialItem(plan.Range, plan.Text, plan.Names.toStdString(), k, shifts_);
    planned.Output = ToPath(plan.Folder) / planned.Output;
    return planned;
}

void SerialDialog::updatePreview() {
    QString problem;
    const auto planned = plan(problem);
    const bool complete = planned && !planned->Text.empty() &&
                          !planned->Folder.trimmed().isEmpty() &&
                          !planned->Names.trimmed().isEmpty();
    startButton_->setEnabled(complete && !Running());
    if (!planned) {
        preview_->setText(problem);
        return;
    }
    // Before a run the bar says how many programs it will write: "0 / 10"; after one it keeps
    // what the run did until the count changes.
    if (const int count = static_cast<int>(planned->Range.Count);
        !Running() && progress_->maximum() != count) {
        progress_->setRange(0, count);
        progress_->setValue(0);
    }
    const auto line = [this, &planned](int number, std::int64_t k) {
        const ncgen::TRunItem shown = item(*planned, k);
        return messages_.Text(number) + QStringLiteral(": ") + FromCodePage(shown.Text) +
               QStringLiteral("  →  ") + QDir::toNativeSeparators(FromPath(shown.Output));
    };
    QString text = line(SerialFirstText, 0);
    if (planned->Range.Count > 1)
        text += QLatin1Char('\n') + line(SerialLastText, planned->Range.Count - 1);
    preview_->setText(text);
}

void SerialDialog::setRunning(bool running) {
    fields_->setEnabled(!running);
    cancelButton_->setEnabled(running);
    if (running)
        startButton_->setEnabled(false);
    else
        updatePreview();
}

void SerialDialog::StartClick() {
    if (Running()) return;
    QString problem;
    const auto planned = plan(problem);
    if (!planned) {
        summary_->setText(problem);
        return;
    }
    std::optional<std::string> counter;
    try {
        counter = counterFor(planned->Range.Start);
    } catch (const log::ELogError& e) {
        messages_.ShowError(log_->ErrorText(e));
        return;
    }
    runJob_ = generator_.Job();
    runProfile_ = generator_.Profile();
    runProfileName_ = generator_.ProfileName();
    job::TNotesWanted notes;
    notes.Check = check_->isChecked();
    notes.Grade = generator_.Settings().GradeEveryProgram;
    if (log_)
        notes.DepthTolerance =
            job::DepthTolerance(log_->ConfigFolder(), generator_.ProfileNumber());
    job::TRunFront& front = *this;
    run_ = std::make_unique<job::TRun>(
        front,
        job::TRunRequest{{runJob_, generator_.Fields(), runProfile_, runProfileName_,
                          messages_.LanguageTexts(), notes, jobFile_},
                         {log_ ? log_->ConfigFolder() : std::filesystem::path(), !log_},
                         {},
                         job::TSerialPlan{planned->Range, planned->Text,
                                          planned->Names.toStdString(), ToPath(planned->Folder)},
                         counter,
                         true});
    if (!run_->Begin()) return refused(run_->Report());
    execute();
}

std::optional<std::string> SerialDialog::counterFor(std::int64_t start) const {
    log::TMarkingLog* markingLog = log_ ? log_->Log() : nullptr;
    // The number the field was given from the counter counts as the counter's even when it
    // moved on since: the run then says so instead of writing numbers handed out elsewhere.
    if (!markingLog ||
        (QString::number(start) != defaultStart_ &&
         start != markingLog->NextSerial(counter_, job::SettingsCounterAsk(log_->ConfigFolder()))))
        return std::nullopt;
    return counter_;
}

void SerialDialog::refused(const job::TRunReport& report) {
    run_.reset();
    switch (report.End) {
    case job::TRunEnd::Declined:
    case job::TRunEnd::Duplicate:
        return;
    case job::TRunEnd::Log:
        return messages_.ShowError(messages_.Text(report.Message));
    case job::TRunEnd::TakenMeanwhile: {
        const QString asked = start_->text();
        showNextNumber();
        return summary_->setText(
            messages_.Text(text::NumbersTakenMeanwhile).arg(asked, start_->text()));
    }
    default:
        return summary_->setText(messages_.Text(report.Message));
    }
}

bool SerialDialog::Replace(std::size_t existing) {
    return QMessageBox::question(this, windowTitle(),
                                 messages_.Text(SerialOverwriteQuestion).arg(existing),
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool SerialDialog::WriteAgain(const log::TMarkRecord& earlier, std::size_t item) {
    const QString question = messages_.Text(text::DuplicateInRange).arg(item + 1) +
                             QStringLiteral(": ") + log_->DuplicateText(earlier, true);
    return QMessageBox::question(this, windowTitle(), question,
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok;
}

void SerialDialog::Tell(job::TRunNews news, const std::string& words) {
    const QString text = FromCodePage(words);
    if (news == job::TRunNews::Interrupted) return messages_.ShowNotice(text);
    if (news != job::TRunNews::Waiting) return;
    // The window's thread waits in the start, the run's own thread while it runs.
    if (QThread::currentThread() == thread()) {
        summary_->setText(text);
        summary_->repaint();
    } else {
        QMetaObject::invokeMethod(
            this, [this, text] { summary_->setText(text); }, Qt::QueuedConnection);
    }
}

bool SerialDialog::Step(const job::TSeriesStep& step) {
    done_ = step.Index + 1;
    // One update waiting in the queue is enough, however fast the programs come.
    if (!updatePosted_.exchange(true))
        QMetaObject::invokeMethod(
            this,
            [this] {
                updatePosted_ = false;
                progress_->setValue(static_cast<int>(done_.load()));
            },
            Qt::QueuedConnection);
    return !cancel_;
}

void SerialDialog::execute() {
    items_ = run_->Report().Items;
    cancel_ = false;
    done_ = 0;
    updatePosted_ = false;
    progress_->setRange(0, static_cast<int>(items_.size()));
    progress_->setValue(0);
    summary_->clear();
    setRunning(true);
    worker_ = std::thread([this] {
        job::TSeriesOutcome outcome;
        std::exception_ptr error;
        try {
            // A program that will not scan is kept, as korvex-cli --check keeps it, and the
            // run stops there: the next ones would fail the same way.
            outcome = run_->Execute().Series;
        } catch (...) {
            // Reported on the window's thread, where the application's handler words it.
            outcome.Stopped = true;
            outcome.Stop = ncgen::TRunStop::Generation;
            outcome.StoppedAt = done_;
            error = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this,
            [this, outcome, error] {
                finish(outcome);
                if (error) std::rethrow_exception(error);
            },
            Qt::QueuedConnection);
    });
}

void SerialDialog::CancelClick() {
    cancel_ = true;
}

void SerialDialog::stopAndWait() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

void SerialDialog::reject() {
    // Closing while a run goes on ends it after the program being written.
    stopAndWait();
    QDialog::reject();
}

void SerialDialog::finish(const job::TSeriesOutcome& outcome) {
    if (worker_.joinable()) worker_.join();
    if (run_ && run_->Report().FinishFailed)
        messages_.ShowError(messages_.Text(*run_->Report().FinishFailed));
    run_.reset();
    progress_->setValue(static_cast<int>(done_.load()));
    const QString folder = QDir::toNativeSeparators(folder_->text());
    const QString written = messages_.Text(SerialWrittenText).arg(outcome.Written).arg(folder);
    const QString count = QString::number(items_.size());
    const std::size_t failed = std::min(outcome.StoppedAt, items_.empty() ? 0 : items_.size() - 1);
    const QString at = QString::number(failed + 1);
    const QString file =
        items_.empty() ? QString() : QDir::toNativeSeparators(FromPath(items_[failed].Output));
    QString why;
    switch (outcome.Stop) {
    case ncgen::TRunStop::None:
        summary_->setText(written);
        break;
    case ncgen::TRunStop::Cancelled:
        summary_->setText(messages_.Text(SerialCancelledText).arg(at, count) + QLatin1Char('\n') +
                          written);
        break;
    case ncgen::TRunStop::DuplicateOutput:
        summary_->setText(messages_.Text(SerialSameFileText).arg(at, file));
        break;
    case ncgen::TRunStop::Write:
        why = messages_.Text(SerialCannotWriteText).arg(file);
        [[fallthrough]];
    case ncgen::TRunStop::Generation:
    case ncgen::TRunStop::Refused:
    case ncgen::TRunStop::Sink:
        if (outcome.FailedCheck) why = ReadBackMarkFor(*outcome.FailedCheck, messages_).ToolTip;
        // The generator words an empty text in English; a pattern of {line} alone gives one.
        if (why.isEmpty() && outcome.Stop == ncgen::TRunStop::Generation && !items_.empty() &&
            items_[failed].Text.find_first_not_of("\r\n") == std::string::npos)
            why = messages_.Text(text::NoTextToEncode);
        if (why.isEmpty()) why = messages_.Text(outcome.Outcome.Message);
        summary_->setText(messages_.Text(SerialStoppedText)
                              .arg(at, count,
                                   items_.empty() ? QString() : FromCodePage(items_[failed].Text),
                                   why) +
                          QLatin1Char('\n') + written);
        break;
    }
    setRunning(false);
    showNextNumber();
    emit Finished();
}

} // namespace korvex::app

#include "app/JobFiles.h"

#include "app/AppTexts.h"
#include "app/CodePage.h"
#include "app/GenerateController.h"
#include "app/Messages.h"
#include "app/NCEditor.h"
#include "app/AppPlatform.h"
#include "job/LoggedRun.h"
#include "log/LoggedWrite.h"
#include "base/TextMessage.h"
#include "base/TextNumbers.h"
#include "config/ConfigError.h"
#include "ncgen/NCGenerateCommand.h"
#include "readback/ReadBack.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>

#include <filesystem>
#include <system_error>

namespace korvex::app {

JobFiles::JobFiles(QMainWindow& window, const Messages& messages, ProgramLog& log)
    : window_(window), messages_(messages), log_(log) {}

void JobFiles::SetTemplateFile(const QString& file) {
    templateFile_ = file;
    log_.SetJobFile(file.isEmpty() ? std::filesystem::path() : ToPath(file));
    QString caption = window_.windowTitle();
    const qsizetype bracket = caption.indexOf(QLatin1Char('['));
    if (bracket >= 0) caption = caption.left(qMax<qsizetype>(0, bracket - 1));
    if (!file.isEmpty()) caption += QStringLiteral(" [") + file + QStringLiteral("]");
    window_.setWindowTitle(caption);
}

log::TMarkRecord JobFiles::Record(const GenerateController& generator, std::string grade) const {
    // The generated program's own record: the fields may have changed since, and its size is
    // the one the symbol got, as korvex-cli records it. A program not generated from the job
    // (the calibration coupon) encodes nothing the log could name.
    log::TMarkRecord record = generator.Record();
    if (record.Profile.empty()) record.Profile = generator.ProfileName();
    if (!templateFile_.isEmpty()) record.JobTemplate = job::RecordedPath(ToPath(templateFile_));
    if (const readback::TProgramNotes& notes = generator.Notes(); notes.Check)
        record.ReadBack = readback::Describe(*notes.Check);
    // The status bar's grade is the generated program's; another program shown has no record.
    if (!record.Text.empty()) record.Grade = std::move(grade);
    return record;
}

void JobFiles::TellLeftOut(const std::vector<base::TTextMessage>& notes) const {
    if (notes.empty()) return;
    QString said = messages_.Text(text::LoadReportTitle) + QLatin1Char(':');
    for (const base::TTextMessage& note : notes)
        said += QStringLiteral("\n") + messages_.Text(note);
    messages_.ShowNotice(said);
}

QString JobFiles::AskTemplateToOpen(const QString& folder) const {
    QFileDialog dialog(&window_, QString(), folder, QStringLiteral("Vorlage *.ncm (*.ncm)"));
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("ncm"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString JobFiles::AskTemplateToSave(const QString& folder) const {
    QFileDialog dialog(&window_, QString(), folder, QStringLiteral("Vorlage *.ncm (*.ncm)"));
    dialog.setObjectName(QStringLiteral("SaveDialogVorlage"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ncm"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString JobFiles::AskProgramFile(const QString& folder, const QString& profileSuffix) {
    // A filter set by an earlier save stays when the profile names no suffix.
    if (!profileSuffix.isEmpty()) {
        saveFilters_ = SaveFilters(profileSuffix, messages_.Text(text::SaveFilterDescription));
        saveSuffix_ = profileSuffix;
    } else if (saveFilters_.isEmpty()) {
        saveFilters_ = SaveFilters(QString(), QString());
        saveSuffix_ = QStringLiteral("nc");
    }
    QFileDialog dialog(&window_, QString(), folder);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(saveFilters_);
    dialog.setDefaultSuffix(saveSuffix_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QStringList JobFiles::SaveFilters(const QString& suffix, const QString& description) {
    if (!suffix.isEmpty())
        return {description + suffix + QStringLiteral(" (*.") + suffix + QStringLiteral(")")};
    QStringList filters;
    for (const char* ext : {"nc", "h", "cnc", "din"})
        filters << QStringLiteral("NC-Programm *.%1 (*.%1)").arg(QLatin1String(ext));
    filters << QStringLiteral("Textdokument *.txt (*.txt)");
    return filters;
}

bool JobFiles::programBytes(const NCEditor& editor, std::string& bytes) const {
    QString offending;
    if (editor.FileBytes(bytes, &offending)) return true;
    messages_.ShowText(messages_.Text(RefusedCharacterText) + QStringLiteral(": ") + offending);
    return false;
}

bool JobFiles::SaveProgram(const QString& file, NCEditor& editor, const log::TMarkRecord& record) {
    std::string bytes;
    if (!programBytes(editor, bytes)) return false;
    // An empty file on the machine looks like a program until it runs.
    if (bytes.empty() &&
        QMessageBox::question(&window_, Messages::Title, messages_.Text(EmptyProgramQuestion),
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes)
        return false;
    if (!log_.Write(&window_, ToPath(file), bytes, record)) return false;
    editor.document()->setModified(false);
    return true;
}

void JobFiles::HandOff(const NCEditor& editor, const log::TMarkRecord& record) {
    const QString folder = SeparateEditorFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        messages_.Show(text::EditorNotInstalled);
        return;
    }
    std::string bytes;
    if (!programBytes(editor, bytes)) return;
    // The hand-off file is a program Korvex writes like any other: the log records it.
    if (!log_.Write(&window_, SeparateEditorFile(folder), bytes, record)) return;
    const QString failure = StartSeparateEditor(folder);
    if (!failure.isEmpty()) messages_.ShowError(failure);
}

} // namespace korvex::app

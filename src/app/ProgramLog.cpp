#include "app/ProgramLog.h"

#include "app/AppTexts.h"
#include "app/CodePage.h"
#include "app/AppPlatform.h"
#include "base/AtomicFile.h"
#include "base/TextNumbers.h"
#include "config/ConfigError.h"
#include "job/Job.h"
#include "log/LogTexts.h"
#include "log/LoggedWrite.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

namespace korvex::app {

ProgramLog::ProgramLog(std::filesystem::path configFolder, const Messages& messages)
    : configFolder_(std::move(configFolder)), messages_(messages) {}

ProgramLog::~ProgramLog() = default;

log::TMarkingLog* ProgramLog::Log() {
    // Asked each time: the settings dialog may have switched the log or named another file.
    const std::optional<std::filesystem::path> file = log::LogFileFor(configFolder_);
    if (!file) return nullptr;
    if (log_ && *file == file_) return log_.get();
    auto opened = std::make_unique<log::TMarkingLog>(*file);
    // A serial run may still be writing to the one before, so it stays open until the end.
    if (log_) earlier_.push_back(std::move(log_));
    log_ = std::move(opened);
    file_ = *file;
    // A run killed midway left numbers that are not handed out again; the user should know
    // why the counter jumped, as korvex-cli tells it.
    for (const log::TInterruptedRun& run : log_->Recovered().Runs)
        messages_.ShowNotice(FromCodePage(log::InterruptedRunText(messages_.LanguageTexts(), run)));
    return log_.get();
}

QString ProgramLog::DuplicateText(const log::TMarkRecord& earlier, bool question) const {
    return messages_.Text(question ? text::DuplicateQuestion : text::DuplicateRefusal)
        .arg(FromCodePage(earlier.Text), FromCodePage(earlier.TimeLocal),
             QDir::toNativeSeparators(FromPath(earlier.Output)));
}

QString ProgramLog::ErrorText(const log::ELogError& error) const {
    return FromCodePage(log::LogErrorText(messages_.LanguageTexts(), error));
}

bool ProgramLog::AskDuplicate(QWidget* parent, const log::TMarkRecord& earlier) const {
    if (messages_.BatchMode()) {
        messages_.ShowText(DuplicateText(earlier, false));
        return false;
    }
    return QMessageBox::question(parent, Messages::Title, DuplicateText(earlier, true),
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok;
}

void ProgramLog::ShowCannotWrite(const std::filesystem::path& file) const {
    // The write goes through a new file beside the target, so the folder decides.
    const QFileInfo folder(QFileInfo(FromPath(file)).absolutePath());
    if (folder.isDir() && !folder.isWritable())
        messages_.ShowError(messages_.Text(FolderNotWritableText) + QStringLiteral(": ") +
                            QDir::toNativeSeparators(folder.absoluteFilePath()));
    else
        messages_.ShowError(FromCodePage(config::CannotCreateText(file)));
}

bool ProgramLog::Write(QWidget* parent, const std::filesystem::path& file, const std::string& bytes,
                       log::TMarkRecord record) {
    if (const job::TOutcome refused = job::CheckNotJobFile(jobFile_, file); !refused.Ok()) {
        messages_.Show(refused.Message);
        return false;
    }
    // Nobody should be asked about a duplicate that could not be written anyway.
    if (base::IsReadOnly(base::WriteTarget(file))) {
        ShowCannotWrite(file);
        return false;
    }
    try {
        log::TMarkingLog* markingLog = Log();
        if (!markingLog) {
            if (base::WriteFileAtomically(file, bytes)) return true;
            ShowCannotWrite(file);
            return false;
        }
        record.Output = file;
        // Without a content there is nothing that could have been marked before.
        log::TLoggedWrite written =
            log::WriteLogged(*markingLog, record, bytes, !record.Text.empty());
        if (written.Duplicate) {
            if (!AskDuplicate(parent, *written.Duplicate)) return false;
            written = log::WriteLogged(*markingLog, record, bytes, false);
        }
        if (!written.Written) ShowCannotWrite(file);
        return written.Written;
    } catch (const log::ELogError& e) {
        messages_.ShowError(ErrorText(e));
        return false;
    }
}

} // namespace korvex::app

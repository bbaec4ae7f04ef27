#include "app/ProgramLog.h"

#include "app/AppTexts.h"
#include "app/CodePage.h"
#include "app/AppPlatform.h"
#include "base/TextNumbers.h"
#include "config/ConfigError.h"
#include "job/Job.h"
#include "job/Run.h"
#include "log/LogTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>

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

namespace {

// A save's front end: the duplicate question as a box, a wait for the log on the status bar.
class SaveFront : public job::TRunFront {
  public:
    SaveFront(const ProgramLog& log, const Messages& messages, QWidget* parent)
        : log_(log), messages_(messages), parent_(parent) {}
    bool WriteAgain(const log::TMarkRecord& earlier, std::size_t) override {
        return log_.AskDuplicate(parent_, earlier);
    }
    void Tell(job::TRunNews news, const std::string& words) override {
        if (news == job::TRunNews::Interrupted) return messages_.ShowNotice(FromCodePage(words));
        if (news == job::TRunNews::Waiting) ShowWaiting(parent_, said_ = FromCodePage(words));
    }
    // The wait is over once the write is: its words leave the bar.
    void Done() const {
        auto* window = parent_ ? qobject_cast<QMainWindow*>(parent_->window()) : nullptr;
        if (window && !said_.isEmpty() && window->statusBar()->currentMessage() == said_)
            window->statusBar()->clearMessage();
    }

  private:
    const ProgramLog& log_;
    const Messages& messages_;
    QWidget* parent_;
    QString said_;
};

} // namespace

void ShowWaiting(QWidget* parent, const QString& text) {
    // The window's thread waits for the log, so the bar is painted now or not at all.
    auto* window = parent ? qobject_cast<QMainWindow*>(parent->window()) : nullptr;
    if (!window) return;
    window->statusBar()->showMessage(text);
    window->statusBar()->repaint();
}

bool ProgramLog::Write(QWidget* parent, const std::filesystem::path& file, const std::string& bytes,
                       log::TMarkRecord record) {
    SaveFront front(*this, messages_, parent);
    record.Output = file;
    const job::TWriteOutcome written = job::WriteOne(
        front, messages_.LanguageTexts(), {{configFolder_, false}, jobFile_, file, bytes, record});
    front.Done();
    switch (written.End) {
    case job::TRunEnd::Done:
        return true;
    case job::TRunEnd::JobFile:
        messages_.Show(written.Message);
        break;
    case job::TRunEnd::CannotWrite:
        ShowCannotWrite(file);
        break;
    case job::TRunEnd::Duplicate:
        break;
    default:
        messages_.ShowError(messages_.Text(written.Message));
        break;
    }
    return false;
}

} // namespace korvex::app

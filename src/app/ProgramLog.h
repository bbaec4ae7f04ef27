#pragma once

#include "app/Messages.h"
#include "log/MarkingLog.h"

#include <QString>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace korvex::app {

// The marking log as the window uses it: opened on first use from the configuration folder
// (or where main.ini points), consulted before every program file is written.
class ProgramLog {
  public:
    ProgramLog(std::filesystem::path configFolder, const Messages& messages);
    ~ProgramLog();

    // The log main.ini names now, or nullptr when it switches the log off. Throws
    // log::ELogError.
    log::TMarkingLog* Log();

    // Where the log's file is named (main.ini) and kept by default.
    const std::filesystem::path& ConfigFolder() const { return configFolder_; }

    // The job template the window shows; no program is ever written over it.
    void SetJobFile(std::filesystem::path file) { jobFile_ = std::move(file); }

    // Writes the file with its record: a content logged before is a question (in a batch run
    // a refusal), a log that cannot be used a message, the job file itself a refusal. True when
    // the file was written.
    bool Write(QWidget* parent, const std::filesystem::path& file, const std::string& bytes,
               log::TMarkRecord record);

    // "… wurde am … bereits markiert (Datei …). Trotzdem schreiben?"; true to write anyway.
    bool AskDuplicate(QWidget* parent, const log::TMarkRecord& earlier) const;
    QString DuplicateText(const log::TMarkRecord& earlier, bool question) const;
    QString ErrorText(const log::ELogError& error) const;
    // Names the folder when it refuses new files, else the file.
    void ShowCannotWrite(const std::filesystem::path& file) const;

  private:
    std::filesystem::path configFolder_;
    const Messages& messages_;
    std::unique_ptr<log::TMarkingLog> log_;
    std::filesystem::path file_; // log_'s
    std::filesystem::path jobFile_;
    std::vector<std::unique_ptr<log::TMarkingLog>> earlier_;
};

// Says on the status bar of parent's window that a write waits for the marking log.
void ShowWaiting(QWidget* parent, const QString& text);

} // namespace korvex::app

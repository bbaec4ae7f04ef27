#pragma once

#include "app/ProgramLog.h"
#include "base/TextMessage.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QMainWindow;

namespace korvex::app {

class GenerateController;
class Messages;
class NCEditor;

// The job's files: the template the window shows and names in its title, the file dialogs, and
// the programs written through the marking log.
class JobFiles {
  public:
    JobFiles(QMainWindow& window, const Messages& messages, ProgramLog& log);

    // The job template the window shows, empty for a new one.
    const QString& TemplateFile() const { return templateFile_; }
    // The window title names the file; an empty name drops it.
    void SetTemplateFile(const QString& file);
    // What the log records of the generator's program, but its file and hash.
    log::TMarkRecord Record(const GenerateController& generator, std::string grade) const;

    // What the file held beyond what the window shows must not vanish without a word.
    void TellLeftOut(const std::vector<base::TTextMessage>& notes) const;

    // The file dialogs: the chosen file, or an empty name when cancelled.
    QString AskTemplateToOpen(const QString& folder) const;
    QString AskTemplateToSave(const QString& folder) const;
    QString AskProgramFile(const QString& folder, const QString& profileSuffix);

    // The editor's program into `file`, with its record in the log; false when nothing was
    // written.
    bool SaveProgram(const QString& file, NCEditor& editor, const log::TMarkRecord& record);
    // The program for the separate editor, written like any other, and the editor started.
    void HandOff(const NCEditor& editor, const log::TMarkRecord& record);

    // The save dialog's filters: the profile's suffix alone, or the five built-in ones.
    static QStringList SaveFilters(const QString& suffix, const QString& description);

  private:
    // The editor's text as file bytes; false, told, for a character without a code.
    bool programBytes(const NCEditor& editor, std::string& bytes) const;

    QMainWindow& window_;
    const Messages& messages_;
    ProgramLog& log_;
    QString templateFile_;
    QStringList saveFilters_;
    QString saveSuffix_ = QStringLiteral("nc");
};

} // namespace korvex::app

#pragma once

#include "base/TextMessage.h"
#include "config/Settings.h"
#include "log/MarkingLog.h"
#include "ncgen/NCGenerateCommand.h"
#include "ncgen/NCJob.h"
#include "ncgen/OutputProfile.h"
#include "readback/ProgramNotes.h"

#include <QObject>
#include <QTimer>

#include <string>
#include <vector>

namespace korvex::job {
struct TOutcome;
struct TProgram;
} // namespace korvex::job

namespace korvex::app {

class JobDocument;
class JobPanel;
class Messages;
class NCEditor;
class ProfilePanel;
class SymbolPreview;

// The generate command and what keeps the program up to date: the status check after every
// change, the 250 ms regeneration while the graphic is shown, and the generation itself.
class GenerateController : public QObject {
    Q_OBJECT
  public:
    // The settings' rapid rate ("Eilgangrate") is what the cycle time assumes, read at each
    // generation.
    GenerateController(JobPanel& panel, SymbolPreview& preview, NCEditor& editor,
                       ProfilePanel& profilePanel, JobDocument& document, const Messages& messages,
                       const config::TSettings& settings, QObject* parent = nullptr);
    // Whether the graphic view is showing: the automatic regeneration runs only there.
    void SetGraphicShown(bool shown) { graphicShown_ = shown; }

    bool ProgramOutOfDate() const { return outOfDate_; }
    const std::vector<std::string>& SimulationLines() const;
    QTimer& ConvertTimer() { return timer_; }
    // What the last generation's points say: read-back, statistics, blank fit. Current is
    // false once the fields changed since.
    const readback::TProgramNotes& Notes() const { return notes_; }
    bool NotesCurrent() const { return notesCurrent_; }
    // What the content's kind says of the last program's mark (an IUID mark off its limits).
    const std::vector<base::TTextMessage>& ContentWarnings() const { return contentWarnings_; }
    // What the log records of the last generated program (its text, the size it got), but
    // the job file, read-back, output and hash; empty when the editor shows another program.
    const log::TMarkRecord& Record() const { return record_; }
    // The read-back of round dots still runs beside the window.
    bool ReadBackPending() const { return readBackPending_; }
    // The blank changed: the fit of the program shown is judged again.
    void RefreshBlankFit();

    // What the generate command takes from the window now; a serial run starts from copies.
    ncgen::TGenerateFields Fields() const;
    const ncgen::TJob& Job() const;
    const ncgen::TActiveProfile& Profile() const;
    const std::string& ProfileName() const;
    int ProfileNumber() const; // its file in the configuration folder; below 1: none
    const config::TSettings& Settings() const { return settings_; }

    void Checkstatus();
    void ConvertTimerTimer();
    // The generate command; false when nothing was generated.
    bool ConvertClick();
    // A program that is not the job's (the calibration coupon) into the editor and the graphic;
    // the job's program is out of date again.
    void ShowOtherProgram(const std::vector<std::string>& ncLines,
                          const std::vector<std::string>& simulationLines);
    // Empties the program and the simulation lines (empty text, new job).
    void ClearProgram();

  signals:
    void Starting();  // before anything changes: the batch shows its intro window here
    void Generated(); // the editor holds the new program
    void Status(const QString& text);
    void NotesChanged();
    void ReadBackDone(); // the read-back that ran beside the window is in the notes

  private:
    // What was known of the program shown goes with it.
    void forgetProgram();
    // The read-back of the program just generated: with a tool it renders and decodes several
    // pictures, tens of milliseconds on a large symbol, so it runs beside the window.
    bool generatedOrTold(job::TProgram& program, const job::TOutcome& outcome);
    void startReadBack();

    JobPanel& panel_;
    SymbolPreview& preview_;
    NCEditor& editor_;
    ProfilePanel& profilePanel_;
    JobDocument& document_;
    const Messages& messages_;
    const config::TSettings& settings_;
    bool graphicShown_ = false;
    QTimer timer_;
    bool outOfDate_ = false;
    readback::TProgramNotes notes_;
    bool notesCurrent_ = false;
    log::TMarkRecord record_;
    std::vector<base::TTextMessage> contentWarnings_;
    bool readBackPending_ = false;
    // Counts the programs shown, so a late read-back of an old one is dropped.
    unsigned program_ = 0;
    bool statusProblem_ = false; // the status bar tells of a field the check refused
};

} // namespace korvex::app

#pragma once

#include "ncgen/GenerateCommand.h"
#include "ncgen/Job.h"
#include "ncgen/OutputProfile.h"
#include "ncgen/SymbolChoice.h"
#include "readback/ProgramNotes.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace korvex::app {

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
    // `symbol` is the size and encodation of the layer the window shows.
    GenerateController(JobPanel& panel, SymbolPreview& preview, NCEditor& editor,
                       ProfilePanel& profilePanel, ncgen::TJob& job,
                       const ncgen::TSymbolChoice& symbol, const ncgen::TActiveProfile& profile,
                       const Messages& messages, const std::string& profileName,
                       QObject* parent = nullptr);

    // The rapid rate the cycle time assumes ("Eilgangrate" of the settings, read at each
    // generation).
    void SetRapidRate(std::function<std::string()> rate) { rapidRate_ = std::move(rate); }
    // Whether the graphic view is showing (the automatic regeneration runs only there).
    void SetGraphicVisible(std::function<bool()> visible) { graphicVisible_ = std::move(visible); }

    bool ProgramOutOfDate() const { return outOfDate_; }
    const std::vector<std::string>& SimulationLines() const { return simulationLines_; }
    QTimer& ConvertTimer() { return timer_; }
    // What the last generation's points say: read-back, statistics, blank fit. Current is
    // false once the fields changed since.
    const readback::TProgramNotes& Notes() const { return notes_; }
    bool NotesCurrent() const { return notesCurrent_; }
    // The read-back of round dots still runs beside the window.
    bool ReadBackPending() const { return readBackPending_; }
    // The blank changed: the fit of the program shown is judged again.
    void RefreshBlankFit();

    // What the generate command takes from the window now; a serial run starts from copies.
    ncgen::TGenerateFields Fields() const;
    const ncgen::TJob& Job() const { return job_; }
    const ncgen::TActiveProfile& Profile() const { return profile_; }
    const std::string& ProfileName() const { return profileName_; }

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
    // The read-back of the program just generated: with a tool it renders and decodes several
    // pictures, tens of milliseconds on a large symbol, so it runs beside the window.
    void startReadBack();

    JobPanel& panel_;
    SymbolPreview& preview_;
    NCEditor& editor_;
    ProfilePanel& profilePanel_;
    ncgen::TJob& job_;
    const ncgen::TSymbolChoice& symbol_;
    const ncgen::TActiveProfile& profile_;
    const Messages& messages_;
    const std::string& profileName_; // what a refusal of the profile names
    std::function<bool()> graphicVisible_;
    std::function<std::string()> rapidRate_;
    QTimer timer_;
    bool outOfDate_ = false;
    std::vector<std::string> simulationLines_;
    readback::TProgramNotes notes_;
    bool notesCurrent_ = false;
    bool readBackPending_ = false;
    // Counts the programs shown, so a late read-back of an old one is dropped.
    unsigned program_ = 0;
    bool statusProblem_ = false; // the status bar tells of a field the check refused
};

} // namespace korvex::app

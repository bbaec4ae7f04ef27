#pragma once

#include <QMainWindow>

namespace korvex::log {
struct TMarkRecord;
}

namespace korvex::app {

class GenerateController;
class JobPanel;
class LogDialog;
class NCEditor;
class ProgramLog;

// The main window as its menus and the command-line run drive it, so the code that wires the
// menus and runs the command line does not depend on the window that owns it.
class MainCommands : public QMainWindow {
  public:
    using QMainWindow::QMainWindow;

    virtual JobPanel& Panel() = 0;
    virtual GenerateController& Generator() = 0;
    virtual NCEditor& Editor() = 0;
    virtual ProgramLog& MarkingLog() = 0;
    // What the log records of the program in the editor, but its file and hash.
    virtual log::TMarkRecord ProgramRecord() const = 0;

    virtual bool LadeVorlage(const QString& file) = 0;
    virtual void NeuErstellen1Click() = 0;
    virtual void SpeichernClick() = 0;
    virtual void SaveVorlageClick() = 0;
    virtual void OpenVorlageClick() = 0;
    virtual void BDatamatrixClick() = 0;
    virtual void BProgramClick() = 0;
    virtual void BGrafikClick() = 0;
    virtual void BBlankClick() = 0;
    virtual void HelpClick() = 0;
    virtual void BQuilloClick() = 0;
    virtual void BTestdruckClick() = 0;
    virtual void InfoClick() = 0;
    virtual void EinstellungenClick() = 0;
    virtual void SerienlaufClick() = 0;
    // The calibration coupon of the profile's tool into the editor and the graphic.
    virtual void KalibriermusterClick() = 0;
    virtual LogDialog& MarkingLogDialog() = 0;
};

} // namespace korvex::app

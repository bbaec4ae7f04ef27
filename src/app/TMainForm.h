#pragma once

#include "app/CommandLine.h"
#include "app/Messages.h"
#include "app/ProgramLog.h"
#include "config/LanguageTexts.h"
#include "config/Settings.h"
#include "ncgen/Job.h"
#include "ncgen/OutputProfile.h"
#include "ncgen/SymbolChoice.h"

#include <QMainWindow>

#include <filesystem>
#include <memory>
#include <optional>

class QToolButton;

namespace korvex::app {

class BatchRun;
class BlankPage;
class GenerateController;
class GradeStatus;
class GraphicPage;
class IntroWindow;
class JobDocument;
class JobFiles;
class JobPanel;
class NCEditor;
class NotesStatus;
class ProfilePanel;
class CouponDialog;
class CouponRun;
class SerialDialog;
class LogDialog;
class SymbolPreview;
class TEinstellungen;
class TFSymbol;
class TInfo;
class WindowLanguage;
namespace Ui {
class TMainForm;
}

// Where the program finds its files and what it was started with.
struct TStartOptions {
    std::filesystem::path DataFolder;   // language texts, delivered settings, help pages
    std::filesystem::path ConfigFolder; // main.ini and profil1-4.ini; created when missing
    QStringList Arguments;              // the command line without the program name
    bool Headless = false;              // no display: nobody can answer a box
    bool ShowIntro = true;              // the picture at an interactive start
};

// The main window: TMainForm.ui lays out the areas; the window owns them and connects them.
// The rules live in the areas and in the core.
class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    explicit TMainForm(TStartOptions options, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The show handler's start-up, command line included.
    void Startup();

    const Messages& Messenger() const { return messages_; }
    bool BatchMode() const;
    JobPanel& Panel() { return *panel_; }
    GenerateController& Generator() { return *generator_; }
    NCEditor& Editor() { return *editor_; }

    // Commands, as the menu, the toolbars and the command line run them.
    void SelectLayer(int n);
    bool LadeVorlage(const QString& file);
    void SaveVorlage(const QString& file);
    void NeuErstellen1Click();
    bool SaveProgram(const QString& file);
    void SpeichernClick();
    void SaveVorlageClick();
    void OpenVorlageClick();
    void ProfilClick(int number);
    void SchriftartSingleClick();
    void BDatamatrixClick();
    void BProgramClick();
    void BGrafikClick();
    void BBlankClick();
    void HelpClick();
    void BQuilloClick();
    void BTestdruckClick();
    void InfoClick();
    void EinstellungenClick();
    void SerienlaufClick();
    TEinstellungen& SettingsDialog();
    SerialDialog& SerialRunDialog();
    // The calibration coupon of the profile's tool into the editor and the graphic.
    void KalibriermusterClick();
    LogDialog& MarkingLogDialog();
    ProgramLog& MarkingLog() { return *programLog_; }
    // What the log records of the program in the editor, but its file and hash.
    log::TMarkRecord ProgramRecord() const;
    // The job template's file; a new job has none.
    std::filesystem::path TemplateFile() const;

    // The save dialog's filters: the profile's suffix alone, or the five built-in ones.
    static QStringList SaveFilters(const QString& suffix, const QString& description);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void connectAreas();
    void loadSettings();
    void selectProfile(const std::string& choice);
    void textChange();
    void showView(QWidget* page, QToolButton* button);
    void applyLanguage();
    void applyCaptions();
    void showNotes();
    // Takes the blank page's cylinder as the job's blank where a round surface needs one.
    bool takeShownCylinder();
    // The layer as the window shows it, to store into the job.
    ncgen::TLayerFields shownLayer() const;

    TStartOptions options_;
    config::TLanguageTexts texts_;
    Messages messages_{texts_};
    std::unique_ptr<Ui::TMainForm> ui_;
    std::unique_ptr<ProgramLog> programLog_;
    std::unique_ptr<JobFiles> files_;
    std::unique_ptr<NotesStatus> notesStatus_;
    std::unique_ptr<WindowLanguage> language_;
    std::unique_ptr<BatchRun> batch_;
    LogDialog* logDialog_ = nullptr;
    config::TSettings settings_;
    ncgen::TProfileTable profiles_{};
    // The active profile's record as it was selected.
    ncgen::TOutputProfile selectedRecord_;
    // The job's blank is the page's cylinder, taken for a round surface.
    bool blankFollowsPage_ = false;
    JobDocument* document_ = nullptr;
    CouponRun* coupon_ = nullptr;

    JobPanel* panel_ = nullptr;
    SymbolPreview* preview_ = nullptr;
    NCEditor* editor_ = nullptr;
    ProfilePanel* profilePanel_ = nullptr;
    GenerateController* generator_ = nullptr;
    GradeStatus* gradeStatus_ = nullptr; // the predicted grade in the status bar
    GraphicPage* graphic_ = nullptr;
    BlankPage* blankPage_ = nullptr;
    TFSymbol* symbolDialog_ = nullptr;
    TInfo* info_ = nullptr;
    TEinstellungen* settingsDialog_ = nullptr;
    IntroWindow* intro_ = nullptr;
};

} // namespace korvex::app

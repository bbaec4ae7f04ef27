#pragma once

#include "app/CommandLine.h"
#include "app/MainCommands.h"
#include "app/Messages.h"
#include "app/ProgramLog.h"
#include "app/StartOptions.h"
#include "config/LanguageTexts.h"
#include "config/Settings.h"
#include "ncgen/NCJob.h"
#include "ncgen/OutputProfile.h"
#include "ncgen/SymbolChoice.h"

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

// The main window: TMainForm.ui lays out the areas; the window owns them and connects them.
// The rules live in the areas and in the core.
class TMainForm : public MainCommands {
    Q_OBJECT
  public:
    explicit TMainForm(TStartOptions options, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The show handler's start-up, command line included.
    void Startup();

    const Messages& Messenger() const { return messages_; }
    bool BatchMode() const;
    JobPanel& Panel() override { return *panel_; }
    GenerateController& Generator() override { return *generator_; }
    NCEditor& Editor() override { return *editor_; }

    // Commands, as the menu, the toolbars and the command line run them.
    void SelectLayer(int n);
    bool LadeVorlage(const QString& file) override;
    void SaveVorlage(const QString& file);
    void NeuErstellen1Click() override;
    bool SaveProgram(const QString& file);
    void SpeichernClick() override;
    void SaveVorlageClick() override;
    void OpenVorlageClick() override;
    void ProfilClick(int number);
    void SchriftartSingleClick();
    void BDatamatrixClick() override;
    void BProgramClick() override;
    void BGrafikClick() override;
    void BBlankClick() override;
    void HelpClick() override;
    void BQuilloClick() override;
    void BTestdruckClick() override;
    void InfoClick() override;
    void EinstellungenClick() override;
    void SerienlaufClick() override;
    TEinstellungen& SettingsDialog();
    SerialDialog& SerialRunDialog();
    // The calibration coupon of the profile's tool into the editor and the graphic.
    void KalibriermusterClick() override;
    LogDialog& MarkingLogDialog() override;
    ProgramLog& MarkingLog() override { return *programLog_; }
    // What the log records of the program in the editor, but its file and hash.
    log::TMarkRecord ProgramRecord() const override;
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

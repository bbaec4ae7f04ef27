#include "app/TMainForm.h"
#include "base/EKorvexError.h"

#include "app/AppTexts.h"
#include "app/BatchRun.h"
#include "app/BlankPage.h"
#include "app/CaptionApplier.h"
#include "app/CodePage.h"
#include "app/CouponDialog.h"
#include "app/CouponRun.h"
#include "app/GenerateController.h"
#include "app/GraphicLinks.h"
#include "app/GraphicPage.h"
#include "app/IntroWindow.h"
#include "app/JobDocument.h"
#include "app/JobFiles.h"
#include "app/JobPanel.h"
#include "app/LogDialog.h"
#include "app/MainActions.h"
#include "app/NCEditor.h"
#include "app/GradeStatus.h"
#include "app/NotesStatus.h"
#include "app/NumericKeyFilter.h"
#include "app/AppPlatform.h"
#include "app/ProfilePanel.h"
#include "app/ProgramNotesText.h"
#include "app/SerialDialog.h"
#include "app/SymbolPreview.h"
#include "app/TEinstellungen.h"
#include "app/TFSymbol.h"
#include "app/TInfo.h"
#include "app/TestPrint.h"
#include "app/WindowLanguage.h"
#include "base/TextNumbers.h"
#include "config/ConfigFolder.h"
#include "config/DefaultConfiguration.h"
#include "config/SettingsFile.h"
#include "ncgen/ProfileSelection.h"
#include "simulation/BlankDefinition.h"

#include "ui_TMainForm.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QStatusBar>
#include <QWheelEvent>

namespace korvex::app {

TMainForm::TMainForm(TStartOptions options, QWidget* parent)
    : MainCommands(parent), options_(std::move(options)), ui_(std::make_unique<Ui::TMainForm>()) {
    programLog_ = std::make_unique<ProgramLog>(options_.ConfigFolder, messages_);
    // The form's minimum size is wide enough for the graphic's toolbar and the blank page's tabs.
    ui_->setupUi(this);
    setWindowTitle(ProgramTitle);
    messages_.SetParent(this);
    // Without a display a box would wait for nobody.
    messages_.SetBatchMode(options_.Headless);

    panel_ = ui_->JobPanel;
    preview_ = ui_->PDatamatrix;
    preview_->SetMessages(messages_);
    editor_ = ui_->NCEditor;
    profilePanel_ = ui_->PProfil;
    blankPage_ = ui_->PRohteil;
    // The graphic needs the messages, so it is made here, in its place among the views.
    graphic_ = new GraphicPage(messages_);
    ui_->Views->insertWidget(2, graphic_);
    symbolDialog_ = new TFSymbol(texts_, this);
    info_ = new TInfo(texts_, this);
    intro_ = new IntroWindow(this);
    files_ = std::make_unique<JobFiles>(*this, messages_, *programLog_);
    notesStatus_ = std::make_unique<NotesStatus>(*statusBar(), messages_);
    language_ = std::make_unique<WindowLanguage>(texts_, messages_);
    batch_ = std::make_unique<BatchRun>(*this, *intro_, options_, messages_);
    document_ = new JobDocument(texts_, this);
    generator_ = new GenerateController(*panel_, *preview_, *editor_, *profilePanel_, *document_,
                                        messages_, settings_, this);
    gradeStatus_ =
        new GradeStatus(*statusBar(), messages_, *generator_, options_.ConfigFolder, this);
    coupon_ = new CouponRun(*this, messages_, *document_, profiles_, options_.ConfigFolder, *panel_,
                            *generator_);
    connect(coupon_, &CouponRun::Shown, this, &TMainForm::BGrafikClick);
    SetUpActions(*this, *ui_, messages_);
    connectAreas();
}

TMainForm::~TMainForm() = default;

void TMainForm::connectAreas() {
    connect(editor_, &NCEditor::ContextHelpWanted, this, &TMainForm::HelpClick);
    connect(blankPage_, &BlankPage::BlankChosen, this, [this](const std::string& definition) {
        document_->Job().BlankDefinition = definition;
        blankFollowsPage_ = false;
        generator_->RefreshBlankFit();
        BGrafikClick();
    });
    connect(blankPage_, &BlankPage::SurfaceChosen, this, [this](ncgen::TSurfaceMode mode) {
        document_->Job().Surface = mode;
        takeShownCylinder();
        generator_->Checkstatus();
    });
    connect(blankPage_, &BlankPage::Edited, this, [this] {
        if (takeShownCylinder()) generator_->Checkstatus();
    });
    connect(document_, &JobDocument::SymbolChanged, this,
            [this] { preview_->SetDatamatrix(document_->Symbol()); });
    LinkGraphic(*graphic_, *panel_, *profilePanel_, *generator_, *document_);
    connect(graphic_, &GraphicPage::Status, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(graphic_, &GraphicPage::RefreshWanted, this, &TMainForm::BGrafikClick);

    connect(panel_, &JobPanel::TextChanged, this, &TMainForm::textChange);
    connect(panel_, &JobPanel::FieldChanged, generator_, &GenerateController::Checkstatus);
    connect(panel_, &JobPanel::ConvertClicked, generator_, &GenerateController::ConvertClick);
    connect(panel_, &JobPanel::SymbolDialogWanted, this, &TMainForm::SchriftartSingleClick);
    connect(panel_, &JobPanel::StepWanted, graphic_, &GraphicPage::StopPick);
    const auto refused = [this](const QString& character) {
        statusBar()->showMessage(messages_.Text(RefusedCharacterText) + QStringLiteral(": ") +
                                 character);
    };
    connect(panel_, &JobPanel::Refused, this, refused);
    connect(profilePanel_, &ProfilePanel::Refused, this, refused);
    connect(panel_, &JobPanel::TooManyLines, this, [this](int most) {
        statusBar()->showMessage(messages_.Text(TooManyLinesText).arg(most));
    });
    connect(profilePanel_, &ProfilePanel::ProfileClicked, this, &TMainForm::ProfilClick);
    connect(profilePanel_, &ProfilePanel::FieldChanged, generator_,
            &GenerateController::Checkstatus);
    connect(profilePanel_, &ProfilePanel::FeedChanged, this, [this](const std::string& feed) {
        document_->Profile().FeedZ = feed;
        generator_->Checkstatus();
    });
    connect(preview_, &SymbolPreview::TextEmptied, generator_, &GenerateController::ClearProgram);
    connect(generator_, &GenerateController::NotesChanged, this, &TMainForm::showNotes);
    connect(generator_, &GenerateController::Status, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(generator_, &GenerateController::Starting, this, [this] { batch_->Starting(); });
    connect(generator_, &GenerateController::Generated, this, [this] {
        if (ui_->Views->currentWidget() == preview_) BProgramClick();
        if (ui_->Views->currentWidget() == graphic_) graphic_->Drawsimulation();
        if (batch_->Active() && !intro_->Timer().isActive()) batch_->Finish();
    });
    connect(intro_, &IntroWindow::Elapsed, this, [this] { batch_->IntroElapsed(); });
}

bool TMainForm::takeShownCylinder() {
    ncgen::TJob& job = document_->Job();
    std::optional<std::string> taken = simulation::ShownCylinderTaken(
        job.Surface != ncgen::TSurfaceMode::Flat, job.BlankDefinition, blankFollowsPage_,
        blankPage_->Definition());
    if (!taken) return false;
    job.BlankDefinition = std::move(*taken);
    blankFollowsPage_ = true;
    generator_->RefreshBlankFit();
    return true;
}

bool TMainForm::BatchMode() const {
    return batch_->Active();
}

void TMainForm::showNotes() {
    graphic_->SetBlankWarning(BlankNotesText(generator_->Notes(), messages_));
    notesStatus_->Show(*generator_, document_->Profile().FeedZ);
}

void TMainForm::KalibriermusterClick() {
    coupon_->Start();
}

void TMainForm::loadSettings() {
    config::TConfigFill fill;
    try {
        fill = config::FillConfigFolder(options_.ConfigFolder, options_.DataFolder);
    } catch (const EKorvexError& e) {
        messages_.ShowError(FromCodePage(e.what()));
    }
    const std::vector<std::string> partlyRead =
        config::LoadSettings(options_.ConfigFolder, settings_, profiles_);
    const bool loaded = language_->Load(options_.DataFolder, settings_.Language);
    // Said once the language is known, so the notice speaks the user's language.
    // Both are notices, not failures: a batch run goes on with what could be read.
    std::string said = config::ConfigFillMessage(fill, options_.ConfigFolder, texts_);
    for (const std::string& problem : partlyRead)
        said += (said.empty() ? "" : " ") + problem;
    if (!said.empty()) statusBar()->showMessage(FromCodePage(said));
    if (loaded) applyCaptions();
}

void TMainForm::applyCaptions() {
    ApplyActionTexts(*ui_, messages_);
    language_->TranslateQt(settings_.Language);
    // The layer's label carries the layer's name, not the caption.
    const ncgen::TLayerFields shown = panel_->Fields();
    ApplyCaptions(this, "TMainForm", texts_);
    if (document_->Job().Layers.LayerCount > 0) panel_->SetLayerName(shown.LText);
    ApplyCaptions(symbolDialog_, "TFSymbol", texts_);
    if (settingsDialog_) {
        ApplyCaptions(settingsDialog_, "TEinstellungen", texts_);
        settingsDialog_->ApplyTexts();
    }
    graphic_->ApplyLanguage();
    panel_->ApplyTexts(messages_);
    preview_->SetLineBreakNote(messages_.Text(EndsWithLineBreakText));
    preview_->DrawCaption();
    blankPage_->ApplySurfaceTexts(texts_);
    info_->Prepare();
    showNotes();
}
void TMainForm::selectProfile(const std::string& choice) {
    if (!document_->SelectProfile(profiles_, choice)) return;
    const int number = document_->ProfileNumber();
    selectedRecord_ = profiles_[number - 1];
    profilePanel_->ShowProfile(number, FromCodePage(profiles_[number - 1].Name));
}

void TMainForm::Startup() {
    setWindowTitle(ProgramTitle);
    QLocale::setDefault(QLocale::c());
    showView(preview_, ui_->BDatamatrix);
    panel_->SetProgress(false);
    loadSettings();
    graphic_->SetColors(settings_);
    graphic_->ApplySettingsView(settings_);
    selectProfile(std::to_string(settings_.DefaultProfile));
    const ncgen::TActiveProfile& profile = document_->Profile();
    profilePanel_->SetValues(profile.SafetyDistance, profile.InfeedDepth, profile.FeedZ);
    if (options_.Arguments.isEmpty() && options_.ShowIntro && !options_.Headless)
        intro_->Start(this, 4000);
    showView(preview_, ui_->BDatamatrix);

    ncgen::TLayerTable& layers = document_->Job().Layers;
    layers.LayerCount = 0;
    layers.AddLayer(texts_.Text(text::DefaultLayerName), settings_.CurrentSymbolSize,
                    settings_.CurrentEncodation);
    SelectLayer(1);
    layers.CurrentLayer = 1;
    NumericKeyFilter::SetText(panel_->EGroesse(), FromCodePage(settings_.DotSpacing));
    batch_->Run();
    preview_->SetDatamatrix(document_->Symbol());
    preview_->ResetDMGrafik();
    preview_->ClearDMGrafik();
}

void TMainForm::textChange() {
    preview_->SetDotLine(panel_->Fields());
    preview_->ETextChange(panel_->Code(), panel_->ContentKind());
    generator_->Checkstatus();
}

void TMainForm::SelectLayer(int n) {
    const ncgen::TSelectedLayer selected = document_->Job().Layers.SelectLayer(n);
    panel_->SetFields(selected.Fields);
    document_->SetSymbol({selected.Fields.CurrentSymbolSize, selected.Fields.CurrentEncodation,
                          selected.Fields.Dmre});
}

ncgen::TLayerFields TMainForm::shownLayer() const {
    ncgen::TLayerFields fields = panel_->Fields();
    fields.CurrentSymbolSize = document_->Symbol().Size;
    fields.CurrentEncodation = document_->Symbol().Encodation;
    fields.Dmre = document_->Symbol().Dmre;
    return fields;
}

log::TMarkRecord TMainForm::ProgramRecord() const {
    return files_->Record(*generator_, gradeStatus_->RecordedGrade());
}

std::filesystem::path TMainForm::TemplateFile() const {
    return files_->TemplateFile().isEmpty() ? std::filesystem::path()
                                            : ToPath(files_->TemplateFile());
}

LogDialog& TMainForm::MarkingLogDialog() {
    if (!logDialog_) logDialog_ = new LogDialog(*programLog_, messages_, this);
    return *logDialog_;
}

bool TMainForm::LadeVorlage(const QString& file) {
    std::vector<base::TTextMessage> repairs;
    if (const job::TOutcome loaded = document_->Load(ToPath(file), repairs); !loaded.Ok()) {
        messages_.Show(loaded.Message);
        return false;
    }
    const ncgen::TJob& job = document_->Job();
    blankFollowsPage_ = false;
    blankPage_->SetSurface(job.Surface);
    graphic_->ApplyJobView(job);
    files_->SetTemplateFile(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()));
    SelectLayer(1);
    textChange();
    generator_->RefreshBlankFit();
    showView(preview_, ui_->BDatamatrix);
    // What the window shows is what will be marked and saved.
    files_->TellLeftOut(repairs);
    return true;
}

void TMainForm::SaveVorlage(const QString& file) {
    document_->Job().Layers.StoreCurrentLayer(shownLayer());
    graphic_->StoreJobView(document_->Job());
    if (const job::TOutcome saved = document_->Save(ToPath(file)); !saved.Ok()) {
        messages_.Show(saved.Message);
        return;
    }
    files_->SetTemplateFile(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()));
}

void TMainForm::SaveVorlageClick() {
    // Store first, so a cancelled dialog still leaves the layer as the window shows it.
    document_->Job().Layers.StoreCurrentLayer(shownLayer());
    const QString file = files_->AskTemplateToSave(FromCodePage(settings_.TemplateFolder));
    if (!file.isEmpty()) SaveVorlage(file);
}

void TMainForm::OpenVorlageClick() {
    const QString file = files_->AskTemplateToOpen(FromCodePage(settings_.TemplateFolder));
    if (!file.isEmpty()) LadeVorlage(file);
}

void TMainForm::NeuErstellen1Click() {
    document_->New();
    blankFollowsPage_ = false;
    SelectLayer(1);
    blankPage_->SetSurface(document_->Job().Surface);
    editor_->Clear();
    showView(preview_, ui_->BDatamatrix);
    files_->SetTemplateFile(QString());
    textChange();
}

QStringList TMainForm::SaveFilters(const QString& suffix, const QString& description) {
    return JobFiles::SaveFilters(suffix, description);
}

bool TMainForm::SaveProgram(const QString& file) {
    return files_->SaveProgram(file, *editor_, ProgramRecord());
}

void TMainForm::SpeichernClick() {
    const QString file = files_->AskProgramFile(FromCodePage(settings_.NcFolder),
                                                FromCodePage(document_->Profile().Suffix));
    if (!file.isEmpty()) SaveProgram(file);
}

void TMainForm::ProfilClick(int number) {
    selectProfile(std::to_string(number));
    const ncgen::TActiveProfile& profile = document_->Profile();
    profilePanel_->SetValues(profile.SafetyDistance, profile.InfeedDepth, profile.FeedZ);
    // Filling the fields checks only what changed in them; the tool and templates change too.
    generator_->Checkstatus();
    if (generator_->ProgramOutOfDate()) generator_->ConvertClick();
}

void TMainForm::SchriftartSingleClick() {
    graphic_->StopPick();
    symbolDialog_->Prepare(document_->Symbol().Size, document_->Symbol().Encodation);
    if (symbolDialog_->exec() != QDialog::Accepted) return;
    document_->SetSymbol(
        {symbolDialog_->ChosenSize(), symbolDialog_->ChosenEncodation(), document_->Symbol().Dmre});
    textChange();
}

void TMainForm::showView(QWidget* page, QToolButton* button) {
    graphic_->StopPick();
    ui_->Views->setCurrentWidget(page);
    generator_->SetGraphicShown(page == graphic_);
    button->setChecked(true);
}

void TMainForm::BDatamatrixClick() {
    showView(preview_, ui_->BDatamatrix);
}

void TMainForm::BProgramClick() {
    if (generator_->ProgramOutOfDate()) generator_->ConvertClick();
    showView(ui_->PNCProgramm, ui_->BProgram);
}

void TMainForm::BGrafikClick() {
    showView(graphic_, ui_->BGrafik);
    // A generation ends with its own pass.
    if (generator_->ProgramOutOfDate())
        generator_->ConvertClick();
    else
        graphic_->Drawsimulation();
}

void TMainForm::BBlankClick() {
    showView(blankPage_, ui_->BBlank);
}

void TMainForm::HelpClick() {
    ShowHelp(messages_);
}

void TMainForm::BQuilloClick() {
    files_->HandOff(*editor_, ProgramRecord());
}

void TMainForm::BTestdruckClick() {
    AskAndPrintSymbol(this, preview_->Encoder());
}

void TMainForm::InfoClick() {
    info_->Prepare();
    info_->exec();
}

TEinstellungen& TMainForm::SettingsDialog() {
    if (!settingsDialog_) {
        // Made once: between openings it keeps what the user typed, as main.ini's working copy.
        settingsDialog_ =
            new TEinstellungen(settings_, profiles_, options_.ConfigFolder, messages_, this);
        settingsDialog_->Fill();
        ApplyCaptions(settingsDialog_, "TEinstellungen", texts_);
        settingsDialog_->ApplyTexts();
        connect(settingsDialog_, &TEinstellungen::HelpWanted, this, &TMainForm::HelpClick);
        connect(settingsDialog_, &TEinstellungen::LanguageChosen, this, &TMainForm::applyLanguage);
        connect(settingsDialog_, &TEinstellungen::Saved, this, [this] {
            applyLanguage();
            // Colours and the view defaults show at once, with a redraw.
            graphic_->SetColors(settings_);
            graphic_->ApplySettingsView(settings_);
            // A saved change of the active profile (its tool, R) counts at once, or the
            // read-back would judge a program korvex-cli no longer writes. Unchanged, the
            // fields and the editor keep what the user typed.
            const int active = document_->ProfileNumber();
            if (active >= 1 && active <= ncgen::ProfileCount &&
                !(profiles_[active - 1] == selectedRecord_))
                ProfilClick(active);
        });
    }
    return *settingsDialog_;
}

SerialDialog& TMainForm::SerialRunDialog() {
    auto* dialog = findChild<SerialDialog*>();
    if (!dialog)
        dialog = new SerialDialog(*generator_, messages_, FromCodePage(settings_.NcFolder),
                                  FromCodePage(document_->Profile().Suffix), this);
    return *dialog;
}

void TMainForm::EinstellungenClick() {
    SettingsDialog().exec();
}

void TMainForm::SerienlaufClick() {
    SerialDialog& dialog = SerialRunDialog();
    dialog.SetDefaults(FromCodePage(settings_.NcFolder), FromCodePage(document_->Profile().Suffix));
    dialog.SetLog(programLog_.get(), TemplateFile());
    dialog.exec();
}

void TMainForm::applyLanguage() {
    if (language_->Load(options_.DataFolder, settings_.Language)) applyCaptions();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (batch_->Active()) {
        event->accept();
        return;
    }
    const auto answer =
        QMessageBox::question(this, ProgramTitle, messages_.Text(text::CloseQuestion),
                              QMessageBox::Ok | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        event->ignore();
    else
        event->accept();
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    // The passes take the focus from every control, so the graphic's keys arrive here.
    if (ui_->Views->currentWidget() == graphic_ &&
        graphic_->HandleKey(event->key(), event->modifiers()))
        return;
    QMainWindow::keyPressEvent(event);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    notesStatus_->FitWindowWidth(width());
    QMainWindow::resizeEvent(event);
}

void TMainForm::wheelEvent(QWheelEvent* event) {
    // The wheel zooms the graphic wherever the mouse is over the window.
    if (ui_->Views->currentWidget() != graphic_) return QMainWindow::wheelEvent(event);
    graphic_->MSWheelWheelEvent(event->angleDelta().y(), event->globalPosition().toPoint());
    event->accept();
}

} // namespace korvex::app

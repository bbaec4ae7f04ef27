#include "app/TMainForm.h"
#include "app/LogDialog.h"

#include "app/AppTexts.h"
#include "app/CaptionApplier.h"
#include "app/CodePage.h"
#include "app/CouponDialog.h"
#include "app/NumericKeyFilter.h"
#include "app/BlankPage.h"
#include "app/GenerateController.h"
#include "app/GraphicPage.h"
#include "app/IntroWindow.h"
#include "app/JobPanel.h"
#include "app/NCEditor.h"
#include "app/Platform.h"
#include "app/ProfilePanel.h"
#include "app/ProgramNotesText.h"
#include "app/SerialDialog.h"
#include "app/SymbolPreview.h"
#include "app/TEinstellungen.h"
#include "app/TFSymbol.h"
#include "app/TInfo.h"
#include "log/LoggedWrite.h"
#include "app/Version.h"
#include "app/TestPrint.h"
#include "config/ConfigError.h"
#include "config/ConfigFolder.h"
#include "config/DefaultConfiguration.h"
#include "base/PathText.h"
#include "config/SettingsFile.h"
#include "base/AtomicFile.h"
#include "base/TextMessage.h"
#include "ncgen/Coupon.h"
#include "ncgen/DecimalText.h"
#include "ncgen/DotGeometry.h"
#include "ncgen/GenerateCommand.h"
#include "ncgen/NumberReading.h"
#include "ncgen/GenerateLayer.h"
#include "ncgen/Layer.h"
#include "ncgen/ProfileSelection.h"
#include "ncgen/TemplateFile.h"
#include "base/TextLines.h"
#include "base/TextNumbers.h"
#include "datamatrix/TEncoding.h"
#include "datamatrix/TFormat.h"
#include "readback/ProgramNotes.h"
#include "readback/ReadBack.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLibraryInfo>
#include <QTranslator>
#include <QLineEdit>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QWheelEvent>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace korvex::app {

namespace {

const QString& Title = ProgramTitle;

// The desktop's own picture for the command where its theme has one.
QIcon themedIcon(const char* name, const QIcon& builtIn) {
    return QIcon::fromTheme(QString::fromLatin1(name), builtIn);
}

QAction* action(QObject* parent, const char* name, const QString& text) {
    auto* a = new QAction(text, parent);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

// 110 pixels wide where there is room; in a narrow window they shrink to their text instead of
// lying on top of each other.
class ViewButton : public QToolButton {
  public:
    using QToolButton::QToolButton;
    QSize sizeHint() const override { return QToolButton::sizeHint().expandedTo({110, 40}); }
    QSize minimumSizeHint() const override {
        return {fontMetrics().horizontalAdvance(text()) + 12, 40};
    }
};

QToolButton* viewButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new ViewButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setCheckable(true);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return button;
}

} // namespace

TMainForm::TMainForm(TStartOptions options, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)) {
    programLog_ = std::make_unique<ProgramLog>(options_.ConfigFolder, messages_);
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(Title);
    resize(1000, 700);
    // Wide enough for the graphic's toolbar and the blank page's tabs.
    setMinimumSize(690, 492);
    messages_.SetParent(this);
    // Without a display a box would wait for nobody.
    messages_.SetBatchMode(options_.Headless);

    panel_ = new JobPanel;
    preview_ = new SymbolPreview;
    editor_ = new NCEditor;
    profilePanel_ = new ProfilePanel;
    symbolDialog_ = new TFSymbol(texts_, this);
    info_ = new TInfo(texts_, this);
    intro_ = new IntroWindow(this);
    generator_ = new GenerateController(*panel_, *preview_, *editor_, *profilePanel_, job_, symbol_,
                                        profile_, messages_, profileName_, this);
    buildViews();
    buildMenus();

    preview_->SetCodeSource([this] { return panel_->Code(); });
    preview_->SetContentSource([this] { return panel_->ContentKind(); });
    graphic_->SetSources(
        [this]() -> const std::vector<std::string>& { return generator_->SimulationLines(); },
        [this]() -> const std::string& { return job_.BlankDefinition; });
    connect(graphic_, &GraphicPage::Status, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(graphic_, &GraphicPage::RefreshWanted, this, &TMainForm::BGrafikClick);
    graphic_->SetPickHooks({[this] { return panel_->EXVersatz()->text(); },
                            [this] { return panel_->EYVersatz()->text(); },
                            [this] { return profilePanel_->ZEbeneauswahl(); },
                            [this] { return ncgen::IsLatheMode(profile_); },
                            [this](const QString& x, const QString& y) {
                                NumericKeyFilter::SetText(panel_->EXVersatz(), x);
                                NumericKeyFilter::SetText(panel_->EYVersatz(), y);
                            },
                            [this] {
                                if (generator_->ProgramOutOfDate()) generator_->ConvertClick();
                            },
                            [this] {
                                if (generator_->ProgramOutOfDate())
                                    generator_->ConvertClick();
                                else
                                    graphic_->Drawsimulation();
                            }});
    generator_->SetGraphicVisible([this] { return views_->currentWidget() == graphicPage_; });
    generator_->SetRapidRate([this] { return settings_.RapidRate; });

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
        profile_.FeedZ = feed;
        generator_->Checkstatus();
    });
    connect(preview_, &SymbolPreview::TextEmptied, generator_, &GenerateController::ClearProgram);
    connect(generator_, &GenerateController::NotesChanged, this, &TMainForm::showNotes);
    connect(generator_, &GenerateController::Status, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(generator_, &GenerateController::Starting, this, [this] {
        // Without a display nobody sees the picture, so the batch does not wait for it.
        if (batchMode_ && !options_.Headless) {
            showMinimized();
            intro_->Start(this, 1000);
        }
    });
    connect(generator_, &GenerateController::Generated, this, [this] {
        if (views_->currentWidget() == preview_) BProgramClick();
        if (views_->currentWidget() == graphicPage_) graphic_->Drawsimulation();
        if (batchMode_ && !intro_->Timer().isActive()) finishBatch();
    });
    connect(intro_, &IntroWindow::Elapsed, this, [this] {
        if (batchMode_ && !editor_->document()->isEmpty())
            finishBatch();
        else
            intro_->close();
    });
}

TMainForm::~TMainForm() {
    if (qtTranslator_) QCoreApplication::removeTranslator(qtTranslator_.get());
}

void TMainForm::buildViews() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("PMain"));
    auto* outer = new QHBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel_);

    auto* right = new QVBoxLayout;
    auto* viewBar = new QWidget(central);
    viewBar->setObjectName(QStringLiteral("PAnsicht"));
    viewBar->setFixedHeight(73);
    auto* bar = new QHBoxLayout(viewBar);
    auto* viewLabel = new QLabel(QStringLiteral("Ansicht"), viewBar);
    viewLabel->setObjectName(QStringLiteral("LAnsicht"));
    bar->addWidget(viewLabel);
    bDatamatrix_ = viewButton(viewBar, "BDatamatrix", QStringLiteral("Datamatrix"));
    bProgram_ = viewButton(viewBar, "BProgram", QStringLiteral("NC-Programm"));
    bGrafik_ = viewButton(viewBar, "BGrafik", QStringLiteral("NC-Grafik"));
    bBlank_ = viewButton(viewBar, "BBlank", QStringLiteral("Rohteil"));
    viewButtons_ = new QButtonGroup(this);
    viewButtons_->setExclusive(true);
    for (QToolButton* button : {bDatamatrix_, bProgram_, bGrafik_, bBlank_}) {
        viewButtons_->addButton(button);
        bar->addWidget(button);
    }
    bar->addStretch(1);
    connect(bDatamatrix_, &QToolButton::clicked, this, &TMainForm::BDatamatrixClick);
    connect(bProgram_, &QToolButton::clicked, this, &TMainForm::BProgramClick);
    connect(bGrafik_, &QToolButton::clicked, this, &TMainForm::BGrafikClick);
    connect(bBlank_, &QToolButton::clicked, this, &TMainForm::BBlankClick);

    // The NC program view: its toolbar above the editor, the profile panel beside it.
    programPage_ = new QWidget;
    programPage_->setObjectName(QStringLiteral("PNCProgramm"));
    auto* page = new QVBoxLayout(programPage_);
    page->setContentsMargins(0, 0, 0, 0);
    auto* tools = new QToolBar(programPage_);
    tools->setObjectName(QStringLiteral("EditorToolbar"));
    tools->setFixedHeight(36);
    const auto tool = [this, tools](const char* name, const char* themeIcon,
                                    QStyle::StandardPixmap icon, const QString& hint,
                                    const QKeySequence& key) {
        QAction* a = action(this, name, hint);
        a->setIcon(themedIcon(themeIcon, style()->standardIcon(icon)));
        a->setToolTip(hint);
        // Only while the editor has the focus, so they do not take the keys of the text field.
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        tools->addAction(a);
        programPage_->addAction(a);
        return a;
    };
    connect(tool("Speichern", "document-save", QStyle::SP_DialogSaveButton,
                 QStringLiteral("Speichern"), QKeySequence::Save),
            &QAction::triggered, this, &TMainForm::SpeichernClick);
    connect(tool("Undo2", "edit-undo", QStyle::SP_ArrowBack, QStringLiteral("Rückgängig"),
                 QKeySequence::Undo),
            &QAction::triggered, editor_, &QPlainTextEdit::undo);
    connect(tool("Redo2", "edit-redo", QStyle::SP_ArrowForward, QStringLiteral("Widerrufen"),
                 QKeySequence::Redo),
            &QAction::triggered, editor_, &QPlainTextEdit::redo);
    connect(tool("Cut", "edit-cut", QStyle::SP_DialogDiscardButton, QStringLiteral("Ausschneiden"),
                 QKeySequence::Cut),
            &QAction::triggered, editor_, &QPlainTextEdit::cut);
    connect(tool("copy1", "edit-copy", QStyle::SP_FileDialogDetailedView,
                 QStringLiteral("Kopieren"), QKeySequence::Copy),
            &QAction::triggered, editor_, &QPlainTextEdit::copy);
    connect(tool("paste1", "edit-paste", QStyle::SP_DialogApplyButton, QStringLiteral("Einfügen"),
                 QKeySequence::Paste),
            &QAction::triggered, editor_, &QPlainTextEdit::paste);
    connect(tool("BQuillo", "accessories-text-editor", QStyle::SP_DialogOpenButton,
                 QStringLiteral("Quillo NC-Editor"), QKeySequence(Qt::CTRL | Qt::Key_E)),
            &QAction::triggered, this, &TMainForm::BQuilloClick);
    bProfil_ = new QToolButton(tools);
    bProfil_->setObjectName(QStringLiteral("BProfil"));
    bProfil_->setText(QStringLiteral("PROFIL"));
    bProfil_->setCheckable(true);
    bProfil_->setChecked(true);
    tools->addWidget(bProfil_);
    connect(bProfil_, &QToolButton::toggled, profilePanel_, &QWidget::setVisible);
    page->addWidget(tools);
    auto* editorRow = new QHBoxLayout;
    editorRow->addWidget(editor_, 1);
    editorRow->addWidget(profilePanel_);
    page->addLayout(editorRow, 1);
    connect(editor_, &NCEditor::ContextHelpWanted, this, &TMainForm::HelpClick);

    graphic_ = new GraphicPage(messages_);
    graphicPage_ = graphic_;
    auto* blank = new BlankPage;
    blankPage_ = blank;
    connect(blank, &BlankPage::BlankChosen, this, [this](const std::string& definition) {
        job_.BlankDefinition = definition;
        generator_->RefreshBlankFit();
        BGrafikClick();
    });
    connect(blank, &BlankPage::SurfaceChosen, this, [this](ncgen::TSurfaceMode mode) {
        job_.Surface = mode;
        generator_->Checkstatus();
    });
    views_ = new QStackedWidget(central);
    views_->setObjectName(QStringLiteral("Views"));
    for (QWidget* view : {static_cast<QWidget*>(preview_), programPage_, graphicPage_,
                          static_cast<QWidget*>(blankPage_)})
        views_->addWidget(view);

    right->addWidget(viewBar);
    right->addWidget(views_, 1);
    outer->addLayout(right, 1);
    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    // Permanent, so the generator's and the graphic's messages do not hide them.
    markingStats_ = new QLabel(this);
    markingStats_->setObjectName(QStringLiteral("MarkingStats"));
    // A narrow window clips the figures (the tooltip keeps them) instead of growing.
    markingStats_->setMinimumWidth(40);
    statusBar()->addPermanentWidget(markingStats_);
    readBackMark_ = new QLabel(this);
    readBackMark_->setObjectName(QStringLiteral("ReadBackMark"));
    readBackMark_->setTextFormat(Qt::RichText);
    statusBar()->addPermanentWidget(readBackMark_);
}

void TMainForm::showNotes() {
    const readback::TProgramNotes& notes = generator_->Notes();
    QString warning = BlankFitText(notes.BlankFit, messages_);
    const QString round = RoundNotesText(notes.Round, messages_);
    if (!warning.isEmpty() && !round.isEmpty()) warning += QStringLiteral("; ");
    graphic_->SetBlankWarning(warning + round);
    QString stats =
        notes.Stats ? MarkingStatsText(*notes.Stats, profile_.FeedZ, messages_) : QString();
    if (const QString dots = DotNotesText(notes, messages_); !dots.isEmpty())
        stats += (stats.isEmpty() ? QString() : QStringLiteral("; ")) + dots;
    markingStats_->setText(stats);
    markingStats_->setToolTip(stats);
    if (generator_->ReadBackPending() && generator_->NotesCurrent()) {
        readBackMark_->setText(QStringLiteral("<span style=\"color:#808080\">\u25CB</span>"));
        readBackMark_->setToolTip(messages_.Text(ReadBackRunningText));
        return;
    }
    if (!notes.Check) {
        readBackMark_->clear();
        readBackMark_->setToolTip(QString());
        return;
    }
    if (!generator_->NotesCurrent()) {
        readBackMark_->setText(QStringLiteral("<span style=\"color:#808080\">\u25CF</span>"));
        readBackMark_->setToolTip(messages_.Text(ReadBackStaleText));
        return;
    }
    const ReadBackMarkText mark = ReadBackMarkFor(*notes.Check, messages_);
    readBackMark_->setText(QStringLiteral("<span style=\"color:%1\">\u25CF</span> %2")
                               .arg(mark.Colour.name(), mark.Label.toHtmlEscaped()));
    const bool lineBreak = notes.EndsWithLineBreak;
    readBackMark_->setToolTip(
        mark.ToolTip +
        (lineBreak ? QStringLiteral("\n") + messages_.Text(EndsWithLineBreakText) : QString()));
}

void TMainForm::KalibriermusterClick() {
    const ncgen::TTool tool = ncgen::CheckedTool(profile_);
    if (tool.Kind == ncgen::TToolKind::None) {
        messages_.ShowText(messages_.Text(CouponNoToolText));
        return;
    }
    const auto pitch = ncgen::ReadNumber(ToCodePage(panel_->EGroesse()->text()).Bytes);
    const auto coupon = pitch.ok && pitch.value != 0
                            ? ncgen::MakeCoupon(profile_, tool, std::fabs(pitch.value))
                            : std::nullopt;
    if (!coupon) {
        messages_.ShowText(messages_.Text(CouponNoDepthText));
        return;
    }
    generator_->ShowOtherProgram(coupon->NCLines, coupon->SimulationLines);
    BGrafikClick();
    CouponDialog& dialog = CouponCorrectionDialog();
    dialog.Show(*coupon, tool);
    dialog.show();
}

CouponDialog& TMainForm::CouponCorrectionDialog() {
    auto* dialog = findChild<CouponDialog*>(QStringLiteral("Kalibriermuster"));
    if (dialog) return *dialog;
    dialog = new CouponDialog(messages_, this);
    connect(dialog, &CouponDialog::Corrected, this, [this](const ncgen::TTool& tool) {
        ncgen::TOutputProfile& stored = profiles_[static_cast<std::size_t>(profileNumber_ - 1)];
        stored.Tool = ncgen::ToolTexts(tool);
        try {
            config::SaveProfile(options_.ConfigFolder, profileNumber_, stored);
        } catch (const std::exception& e) {
            messages_.ShowError(FromCodePage(e.what()));
            return;
        }
        profile_.Tool = tool;
        profile_.ToolProblem.clear();
        messages_.ShowText(tool.Kind == ncgen::TToolKind::Ball
                               ? messages_.Text(BallCorrectedText)
                                     .arg(FromCodePage(ncgen::GeneralText(tool.Radius, 4)))
                               : messages_.Text(ConeCorrectedText)
                                     .arg(FromCodePage(ncgen::GeneralText(tool.Angle, 4)),
                                          FromCodePage(ncgen::GeneralText(tool.Tip, 4))));
        generator_->Checkstatus();
    });
    return *dialog;
}

void TMainForm::buildMenus() {
    QMenuBar* bar = menuBar();
    auto* file = bar->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("Datei1"));
    QAction* newJob = action(this, "Neueerstellen1", QStringLiteral("&Neu"));
    QAction* open = action(this, "OpenVorlage", QStringLiteral("&Vorlage öffnen ..."));
    QAction* save = action(this, "SaveVorlage", QStringLiteral("Als Vorlage &speichern ..."));
    QAction* saveProgram =
        action(this, "NCProgrammspeichern1", QStringLiteral("&NC-Programm speichern ..."));
    QAction* font = action(this, "SLSchriftart1", QStringLiteral("&Singleline-Schriftart ..."));
    font->setVisible(false);
    QAction* print = action(this, "BTestdruck", QStringLiteral("&Testausdruck ..."));
    QAction* serial = action(this, "Serienlauf1", QStringLiteral("Se&rienlauf ..."));
    QAction* markingLog =
        action(this, "Markierprotokoll1", QStringLiteral("&Markierprotokoll ..."));
    QAction* quit = action(this, "Beenden1", QStringLiteral("&Beenden"));
    QAction* coupon = action(this, "Kalibriermuster1", QStringLiteral("&Kalibriermuster ..."));
    file->addActions({newJob, open, save, saveProgram, font, print, serial, markingLog, coupon});
    connect(file, &QMenu::aboutToShow, coupon,
            [this, coupon] { coupon->setText(messages_.Text(CouponMenuText)); });
    connect(coupon, &QAction::triggered, this, &TMainForm::KalibriermusterClick);
    connect(file, &QMenu::aboutToShow, markingLog,
            [this, markingLog] { markingLog->setText(messages_.Text(LogMenuText)); });
    connect(markingLog, &QAction::triggered, this, [this] { MarkingLogDialog().exec(); });
    // Not in the caption table: its text follows the language when the menu opens.
    connect(file, &QMenu::aboutToShow, serial,
            [this, serial] { serial->setText(messages_.Text(SerialMenuText)); });
    connect(serial, &QAction::triggered, this, [this] {
        SerialDialog& dialog = SerialRunDialog();
        dialog.SetDefaults(FromCodePage(settings_.NcFolder), FromCodePage(profile_.Suffix));
        dialog.SetLog(programLog_.get(), SerialCounter());
        dialog.exec();
    });
    file->addSeparator();
    file->addAction(quit);
    auto* layer = bar->addMenu(QStringLiteral("E&bene"));
    layer->setObjectName(QStringLiteral("Ebene1"));
    layer->menuAction()->setVisible(false);
    QAction* settings = action(this, "Einstellungen1", QStringLiteral("&Einstellungen"));
    bar->addAction(settings);
    QAction* version = action(this, "Version1", QStringLiteral("&Version"));
    version->setVisible(false);
    bar->addAction(version);
    QAction* info = action(this, "Info1", QStringLiteral("&Info"));
    bar->addAction(info);
    QAction* help = action(this, "Hilfe1", QStringLiteral("&Hilfe"));
    bar->addAction(help);
    // F1 from every control of the window; the editor keeps Ctrl+F1 for its context help.
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::WindowShortcut);
    addAction(help);

    // Every view from the keyboard: a menu, and Ctrl+1 to Ctrl+4 in the order of the buttons.
    viewMenu_ = new QMenu(QStringLiteral("&Ansicht"), this);
    viewMenu_->setObjectName(QStringLiteral("AnsichtMenu"));
    bar->insertMenu(layer->menuAction(), viewMenu_);
    const std::pair<const char*, void (TMainForm::*)()> views[] = {
        {"ViewDatamatrix", &TMainForm::BDatamatrixClick},
        {"ViewProgram", &TMainForm::BProgramClick},
        {"ViewGrafik", &TMainForm::BGrafikClick},
        {"ViewBlank", &TMainForm::BBlankClick}};
    const QToolButton* viewButtons[] = {bDatamatrix_, bProgram_, bGrafik_, bBlank_};
    for (int i = 0; i < 4; ++i) {
        QAction* a = action(this, views[i].first, viewButtons[i]->text());
        a->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)));
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, views[i].second);
        viewMenu_->addAction(a);
        addAction(a);
    }

    connect(newJob, &QAction::triggered, this, &TMainForm::NeuErstellen1Click);
    connect(open, &QAction::triggered, this, &TMainForm::OpenVorlageClick);
    connect(save, &QAction::triggered, this, &TMainForm::SaveVorlageClick);
    connect(saveProgram, &QAction::triggered, this, &TMainForm::SpeichernClick);
    connect(print, &QAction::triggered, this, &TMainForm::BTestdruckClick);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    connect(info, &QAction::triggered, this, &TMainForm::InfoClick);
    connect(help, &QAction::triggered, this, &TMainForm::HelpClick);
    connect(settings, &QAction::triggered, this, &TMainForm::EinstellungenClick);

    auto* top = addToolBar(QStringLiteral("Werkzeuge"));
    top->setObjectName(QStringLiteral("ToolBar1"));
    top->setMovable(false);
    top->setFixedHeight(36);
    const auto button = [this, top](const char* name, const char* themeIcon,
                                    QStyle::StandardPixmap icon, const QString& hint,
                                    QAction* same) {
        QAction* a = action(this, name, hint);
        a->setIcon(themedIcon(themeIcon, style()->standardIcon(icon)));
        connect(a, &QAction::triggered, same, &QAction::trigger);
        top->addAction(a);
        return a;
    };
    button("BTSave", "document-save-as", QStyle::SP_DialogSaveButton,
           QStringLiteral("Als Vorlage speichern"), save);
    button("BTLoad", "document-open", QStyle::SP_DialogOpenButton, QStringLiteral("Vorlage öffnen"),
           open);
    button("NeuErstellen1", "document-new", QStyle::SP_FileIcon, QStringLiteral("Neu"), newJob);
    button("BSetup", "preferences-system", QStyle::SP_FileDialogContentsView,
           QStringLiteral("Einstellungen"), settings);
    button("BHelp", "help-contents", QStyle::SP_DialogHelpButton, QStringLiteral("Hilfe"), help);
    auto* spacer = new QWidget(top);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    top->addWidget(spacer);
    button("BInfo", "help-about", QStyle::SP_MessageBoxInformation, QStringLiteral("Info"), info);
}

void TMainForm::loadSettings() {
    config::TConfigFill fill;
    try {
        fill = config::FillConfigFolder(options_.ConfigFolder, options_.DataFolder);
    } catch (const std::exception& e) {
        messages_.ShowError(FromCodePage(e.what()));
    }
    const std::vector<std::string> partlyRead =
        config::LoadSettings(options_.ConfigFolder, settings_, profiles_);
    const bool loaded = loadLanguage();
    // Said once the language is known, so the notice speaks the user's language.
    // Both are notices, not failures: a batch run goes on with what could be read.
    std::string said = config::ConfigFillMessage(fill, options_.ConfigFolder, texts_);
    for (const std::string& problem : partlyRead)
        said += (said.empty() ? "" : " ") + problem;
    if (!said.empty()) statusBar()->showMessage(FromCodePage(said));
    if (loaded) applyCaptions();
}

bool TMainForm::loadLanguage() {
    try {
        texts_.Load(options_.DataFolder / config::LanguageFileName(settings_.Language));
    } catch (const std::exception& e) {
        // The lines loaded before stay, and so do the captions made from them.
        messages_.ShowError(FromCodePage(e.what()));
        return false;
    }
    return true;
}

void TMainForm::applyCaptions() {
    // The view menu speaks as the view bar does.
    viewMenu_->setTitle(QLatin1Char('&') + messages_.Text(3101));
    const int viewTexts[] = {1002, 1003, 1004, 1001};
    const QList<QAction*> viewActions = viewMenu_->actions();
    for (int i = 0; i < 4 && i < viewActions.size(); ++i)
        viewActions[i]->setText(messages_.Text(viewTexts[i]));
    // Qt's own dialogs and buttons (file dialogs, "Cancel") in the same language.
    const QString qtLanguage = QString::fromStdString(config::LanguageCode(settings_.Language));
    if (qtTranslator_) QCoreApplication::removeTranslator(qtTranslator_.get());
    qtTranslator_ = std::make_unique<QTranslator>();
    if (qtTranslator_->load(QStringLiteral("qtbase_") + qtLanguage,
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTranslator_.get());
    ApplyCaptions(this, "TMainForm", texts_);
    ApplyCaptions(symbolDialog_, "TFSymbol", texts_);
    if (settingsDialog_) {
        ApplyCaptions(settingsDialog_, "TEinstellungen", texts_);
        settingsDialog_->ApplyTexts();
    }
    graphic_->ApplyLanguage();
    preview_->SetLineBreakNote(messages_.Text(EndsWithLineBreakText));
    preview_->DrawCaption();
    blankPage_->ApplySurfaceTexts(texts_);
    info_->Prepare();
    showNotes();
}

void TMainForm::selectProfile(const std::string& choice) {
    const auto selection = ncgen::SelectProfile(profiles_, choice);
    if (!selection) return;
    profile_ = selection->Profile;
    profileNumber_ = selection->Number;
    // A profile without a name is named by its file.
    const std::string& name = profiles_[static_cast<std::size_t>(selection->Number - 1)].Name;
    profileName_ = name.empty() ? "profil" + std::to_string(selection->Number) + ".ini" : name;
    profilePanel_->ShowProfile(selection->Number,
                               FromCodePage(profiles_[selection->Number - 1].Name));
}

void TMainForm::Startup() {
    setWindowTitle(Title);
    QLocale::setDefault(QLocale::c());
    showView(preview_, bDatamatrix_);
    panel_->SetProgress(false);
    loadSettings();
    graphic_->SetColors(settings_);
    graphic_->ApplySettingsView(settings_);
    selectProfile(std::to_string(settings_.DefaultProfile));
    profilePanel_->SetValues(profile_.SafetyDistance, profile_.InfeedDepth, profile_.FeedZ);
    if (options_.Arguments.isEmpty() && options_.ShowIntro && !options_.Headless)
        intro_->Start(this, 4000);
    showView(preview_, bDatamatrix_);

    job_.Layers.LayerCount = 0;
    job_.Layers.AddLayer(texts_.Text(text::DefaultLayerName), settings_.CurrentSymbolSize,
                         settings_.CurrentEncodation);
    SelectLayer(1);
    job_.Layers.CurrentLayer = 1;
    NumericKeyFilter::SetText(panel_->EGroesse(), FromCodePage(settings_.DotSpacing));
    batchMode_ = false;
    if (!options_.Arguments.isEmpty()) runCommandLine();
    preview_->SetDatamatrix(symbol_.Size, symbol_.Encodation);
    preview_->ResetDMGrafik();
    preview_->ClearDMGrafik();
}

void TMainForm::setBatchMode(const QString& output) {
    batchMode_ = true;
    batchOutput_ = output;
    messages_.SetBatchMode(true);
}

void TMainForm::runCommandLine() {
    std::vector<std::string> arguments;
    for (const QString& argument : options_.Arguments)
        arguments.push_back(argument.toStdString());
    const TCommandLine line = ParseCommandLine(arguments);
    const QString templateFile = QString::fromStdString(line.Template);
    const QString output = QString::fromStdString(line.Output);
    switch (line.Kind) {
    case TCommandLine::Form::None:
        return;
    case TCommandLine::Form::BatchNoOutput:
        if (options_.Headless)
            FailBatch(QStringLiteral("korvex: /V without /D: no output file was named"));
        return;
    case TCommandLine::Form::Batch: {
        if (output.isEmpty()) {
            const QString message = messages_.Text(NoOutputAfterDText);
            if (options_.Headless)
                FailBatch(message);
            else
                messages_.ShowText(message);
            return;
        }
        // An empty name is a template that does not exist.
        const QFileInfo info(templateFile);
        if (templateFile.isEmpty() || !info.isFile()) {
            const QString message =
                QStringLiteral("Vorlage [") + templateFile + QStringLiteral("] existiert nicht!");
            if (options_.Headless)
                FailBatch(message);
            else
                messages_.ShowText(message);
            return;
        }
        setBatchMode(output);
        if (!LadeVorlage(templateFile)) return;
        generator_->ConvertClick();
        return;
    }
    case TCommandLine::Form::Open:
        LadeVorlage(templateFile);
        if (line.ClearText) panel_->ClearText();
        if (line.HasOutput) {
            setBatchMode(output);
            generator_->ConvertClick();
        } else if (options_.Headless) {
            FailBatch(QStringLiteral("korvex: no display; name an output file to run unattended"));
        }
        return;
    }
}

void TMainForm::finishBatch() {
    if (batchWritten_) return;
    batchWritten_ = true;
    std::string bytes;
    QString offending;
    if (!editor_->FileBytes(bytes, &offending)) {
        FailBatch(messages_.Text(RefusedCharacterText) + QStringLiteral(": ") + offending);
        return;
    }
    // The log says why it refused (a logged content, a log that cannot be used).
    if (!programLog_->Write(this, ToPath(batchOutput_), bytes, ProgramRecord())) {
        if (Messages::BatchFailures() == 0)
            FailBatch(FromCodePage(config::CannotCreateText(ToPath(batchOutput_))));
        return;
    }
    intro_->close();
    close();
    // Also when the generation ran inside the start-up, before the event loop.
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(Messages::BatchFailures() > 0 ? 1 : 0); },
        Qt::QueuedConnection);
}

void TMainForm::textChange() {
    preview_->ETextChange();
    generator_->Checkstatus();
}

void TMainForm::SelectLayer(int n) {
    const ncgen::TSelectedLayer selected = job_.Layers.SelectLayer(n);
    panel_->SetFields(selected.Fields);
    setSymbol({selected.Fields.CurrentSymbolSize, selected.Fields.CurrentEncodation});
}

void TMainForm::setSymbol(ncgen::TSymbolChoice symbol) {
    symbol_ = ncgen::ChooseSymbol(symbol.Size, symbol.Encodation);
    preview_->SetDatamatrix(symbol_.Size, symbol_.Encodation);
}

ncgen::TLayerFields TMainForm::shownLayer() const {
    ncgen::TLayerFields fields = panel_->Fields();
    fields.CurrentSymbolSize = symbol_.Size;
    fields.CurrentEncodation = symbol_.Encodation;
    return fields;
}

log::TMarkRecord TMainForm::ProgramRecord() const {
    const ncgen::TGenerateFields fields = generator_->Fields();
    log::TMarkRecord record;
    record.Text = base::JoinLines(fields.Layer.EText);
    log::DescribeContent(record, fields.Layer.Content);
    record.SymbolSize =
        datamatrix::FormatName(static_cast<datamatrix::TFormat>(fields.Layer.CurrentSymbolSize));
    record.Encodation = datamatrix::EncodingName(
        static_cast<datamatrix::TEncoding>(fields.Layer.CurrentEncodation));
    record.Profile = generator_->ProfileName();
    if (!templateFile_.isEmpty()) record.JobTemplate = ToPath(templateFile_);
    const readback::TProgramNotes& notes = generator_->Notes();
    if (generator_->NotesCurrent() && notes.Check)
        record.ReadBack = readback::Describe(*notes.Check);
    return record;
}

std::string TMainForm::SerialCounter() const {
    // The same name korvex-cli gives the template's counter: its absolute path.
    if (templateFile_.isEmpty()) return {};
    std::error_code ec;
    const std::filesystem::path canonical =
        std::filesystem::weakly_canonical(ToPath(templateFile_), ec);
    return base::PathText(ec ? ToPath(templateFile_) : canonical);
}

LogDialog& TMainForm::MarkingLogDialog() {
    if (!logDialog_) logDialog_ = new LogDialog(*programLog_, messages_, this);
    return *logDialog_;
}

void TMainForm::setCaptionFile(const QString& file) {
    templateFile_ = file;
    QString caption = windowTitle();
    const qsizetype bracket = caption.indexOf(QLatin1Char('['));
    if (bracket >= 0) caption = caption.left(qMax<qsizetype>(0, bracket - 1));
    if (!file.isEmpty()) caption += QStringLiteral(" [") + file + QStringLiteral("]");
    setWindowTitle(caption);
}

bool TMainForm::LadeVorlage(const QString& file) {
    const std::filesystem::path path = ToPath(file);
    if (!QFileInfo(file).isFile()) return false;
    // Read into a copy: a file that is unreadable or no template leaves the job as it was.
    ncgen::TJob loaded = job_;
    ncgen::TLoadReport report;
    const ncgen::TLoadOptions loadOptions{symbol_.Size, symbol_.Encodation,
                                          texts_.Text(text::DefaultLayerName)};
    if (!ncgen::LadeVorlage(path, loaded, report, loadOptions)) return false;
    if (!report.Opened) {
        messages_.ShowText(FromCodePage(config::CannotOpenText(path)));
        return false;
    }
    // The reader makes up a layer for a file without one; that is no job to replace ours with.
    if (const base::TTextMessage noLayer = ncgen::CheckBatchJob(report, path); !noLayer.Empty()) {
        messages_.Show(noLayer);
        return false;
    }
    job_ = std::move(loaded);
    blankPage_->SetSurface(job_.Surface);
    graphic_->ApplyJobView(job_);
    setCaptionFile(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()));
    SelectLayer(1);
    textChange();
    generator_->RefreshBlankFit();
    showView(preview_, bDatamatrix_);
    // What the window shows is what will be marked and saved; what the file held beyond that
    // must not vanish without a word.
    if (const auto notes = ncgen::LoadReportNotes(report); !notes.empty()) {
        QString said = messages_.Text(text::LoadReportTitle) + QLatin1Char(':');
        for (const base::TTextMessage& note : notes)
            said += QStringLiteral("\n") + messages_.Text(note);
        messages_.ShowNotice(said);
    }
    return true;
}

void TMainForm::SaveVorlage(const QString& file) {
    job_.Layers.StoreCurrentLayer(shownLayer());
    graphic_->StoreJobView(job_);
    try {
        ncgen::SpeichereVorlage(ToPath(file), job_);
    } catch (const ncgen::ETemplateWriteError& error) {
        messages_.Show(error.TextNumber(), base::PathText(error.FileName()));
        return;
    }
    setCaptionFile(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()));
}

void TMainForm::SaveVorlageClick() {
    QFileDialog dialog(this, QString(), FromCodePage(settings_.TemplateFolder),
                       QStringLiteral("Vorlage *.ncm (*.ncm)"));
    dialog.setObjectName(QStringLiteral("SaveDialogVorlage"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ncm"));
    // Store first, so a cancelled dialog still leaves the layer as the window shows it.
    job_.Layers.StoreCurrentLayer(shownLayer());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    SaveVorlage(dialog.selectedFiles().first());
}

void TMainForm::OpenVorlageClick() {
    QFileDialog dialog(this, QString(), FromCodePage(settings_.TemplateFolder),
                       QStringLiteral("Vorlage *.ncm (*.ncm)"));
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("ncm"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    LadeVorlage(dialog.selectedFiles().first());
}

void TMainForm::NeuErstellen1Click() {
    ncgen::NewJob(job_, texts_.Text(text::DefaultLayerName), symbol_.Size, symbol_.Encodation);
    SelectLayer(1);
    job_.BlankDefinition.clear();
    blankPage_->SetSurface(job_.Surface);
    editor_->Clear();
    showView(preview_, bDatamatrix_);
    setCaptionFile(QString());
    textChange();
}

QStringList TMainForm::SaveFilters(const QString& suffix, const QString& description) {
    if (!suffix.isEmpty())
        return {description + suffix + QStringLiteral(" (*.") + suffix + QStringLiteral(")")};
    QStringList filters;
    for (const char* ext : {"nc", "h", "cnc", "din"})
        filters << QStringLiteral("NC-Programm *.%1 (*.%1)").arg(QLatin1String(ext));
    filters << QStringLiteral("Textdokument *.txt (*.txt)");
    return filters;
}

bool TMainForm::SaveProgram(const QString& file) {
    std::string bytes;
    QString offending;
    if (!editor_->FileBytes(bytes, &offending)) {
        messages_.ShowText(messages_.Text(RefusedCharacterText) + QStringLiteral(": ") + offending);
        return false;
    }
    // An empty file on the machine looks like a program until it runs.
    if (bytes.empty() && QMessageBox::question(this, Title, messages_.Text(EmptyProgramQuestion),
                                               QMessageBox::Yes | QMessageBox::No,
                                               QMessageBox::No) != QMessageBox::Yes)
        return false;
    if (!programLog_->Write(this, ToPath(file), bytes, ProgramRecord())) return false;
    editor_->document()->setModified(false);
    return true;
}

void TMainForm::SpeichernClick() {
    const QString suffix = FromCodePage(profile_.Suffix);
    // A filter set by an earlier save stays when the profile names no suffix.
    if (!suffix.isEmpty()) {
        saveFilters_ = SaveFilters(suffix, messages_.Text(text::SaveFilterDescription));
        saveSuffix_ = suffix;
    } else if (saveFilters_.isEmpty()) {
        saveFilters_ = SaveFilters(QString(), QString());
        saveSuffix_ = QStringLiteral("nc");
    }
    QFileDialog dialog(this, QString(), FromCodePage(settings_.NcFolder));
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(saveFilters_);
    dialog.setDefaultSuffix(saveSuffix_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    SaveProgram(dialog.selectedFiles().first());
}

void TMainForm::ProfilClick(int number) {
    selectProfile(std::to_string(number));
    // Filling the fields runs the status check.
    profilePanel_->SetValues(profile_.SafetyDistance, profile_.InfeedDepth, profile_.FeedZ);
    if (generator_->ProgramOutOfDate()) generator_->ConvertClick();
}

void TMainForm::SchriftartSingleClick() {
    graphic_->StopPick();
    symbolDialog_->Prepare(symbol_.Size, symbol_.Encodation);
    if (symbolDialog_->exec() != QDialog::Accepted) return;
    setSymbol({symbolDialog_->ChosenSize(), symbolDialog_->ChosenEncodation()});
    textChange();
}

void TMainForm::showView(QWidget* page, QToolButton* button) {
    graphic_->StopPick();
    views_->setCurrentWidget(page);
    button->setChecked(true);
}

void TMainForm::BDatamatrixClick() {
    showView(preview_, bDatamatrix_);
}

void TMainForm::BProgramClick() {
    if (generator_->ProgramOutOfDate()) generator_->ConvertClick();
    showView(programPage_, bProgram_);
}

void TMainForm::BGrafikClick() {
    showView(graphicPage_, bGrafik_);
    // A generation ends with its own pass.
    if (generator_->ProgramOutOfDate())
        generator_->ConvertClick();
    else
        graphic_->Drawsimulation();
}

void TMainForm::BBlankClick() {
    showView(blankPage_, bBlank_);
}

void TMainForm::HelpClick() {
    const QString file = HelpFile(messages_.Text(text::HelpFileName));
    switch (OpenHelp(file)) {
    case THelpOpening::Opened:
        return;
    case THelpOpening::NotFound:
        messages_.Show(text::HelpFileNotFound);
        return;
    case THelpOpening::NoViewer:
        // The file is there, but nothing on this desktop shows it: say where it lies.
        messages_.Show(HelpViewerMissingText, ToCodePage(QDir::toNativeSeparators(file)).Bytes);
        return;
    }
}

void TMainForm::BQuilloClick() {
    const QString folder = SeparateEditorFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        messages_.Show(text::EditorNotInstalled);
        return;
    }
    std::string bytes;
    QString offending;
    if (!editor_->FileBytes(bytes, &offending)) {
        messages_.ShowText(messages_.Text(RefusedCharacterText) + QStringLiteral(": ") + offending);
        return;
    }
    // The hand-off file is a program Korvex writes like any other: the log records it.
    if (!programLog_->Write(this, SeparateEditorFile(folder), bytes, ProgramRecord())) return;
    const QString failure = StartSeparateEditor(folder);
    if (!failure.isEmpty()) messages_.ShowError(failure);
}

void TMainForm::BTestdruckClick() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog"));
    if (dialog.exec() != QDialog::Accepted) return;
    PrintSymbol(preview_->Encoder(), printer);
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
            // Saving reloads but does not select: the active profile changes at the next choice.
        });
    }
    return *settingsDialog_;
}

SerialDialog& TMainForm::SerialRunDialog() {
    auto* dialog = findChild<SerialDialog*>();
    if (!dialog)
        dialog = new SerialDialog(*generator_, messages_, FromCodePage(settings_.NcFolder),
                                  FromCodePage(profile_.Suffix), this);
    return *dialog;
}

void TMainForm::EinstellungenClick() {
    SettingsDialog().exec();
}

void TMainForm::applyLanguage() {
    if (loadLanguage()) applyCaptions();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (batchMode_) {
        event->accept();
        return;
    }
    const auto answer = QMessageBox::question(this, Title, messages_.Text(text::CloseQuestion),
                                              QMessageBox::Ok | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        event->ignore();
    else
        event->accept();
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    // The passes take the focus from every control, so the graphic's keys arrive here.
    if (views_->currentWidget() == graphicPage_ &&
        graphic_->HandleKey(event->key(), event->modifiers()))
        return;
    QMainWindow::keyPressEvent(event);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    // The figures never take the whole status bar: a refusal or a notice must stay readable
    // beside them (the tooltip keeps the clipped figures).
    markingStats_->setMaximumWidth(qMax(40, width() * 11 / 20));
    QMainWindow::resizeEvent(event);
}

void TMainForm::wheelEvent(QWheelEvent* event) {
    // The wheel zooms the graphic wherever the mouse is over the window.
    if (views_->currentWidget() != graphicPage_) return QMainWindow::wheelEvent(event);
    graphic_->MSWheelWheelEvent(event->angleDelta().y(), event->globalPosition().toPoint());
    event->accept();
}

} // namespace korvex::app

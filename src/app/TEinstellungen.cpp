#include "app/TEinstellungen.h"

#include "app/AppTexts.h"
#include "base/EKorvexError.h"
#include "base/TextNumbers.h"
#include "app/CodePage.h"
#include "app/ShiftTableBox.h"
#include "app/ColourSwatch.h"
#include "app/LogServerCheck.h"
#include "app/Messages.h"
#include "app/StepField.h"
#include "app/ToolSketch.h"
#include "config/SettingsFile.h"
#include "config/SettingsPage.h"
#include "config/ShiftTable.h"
#include "config/SettingsSteps.h"
#include "datamatrix/TEncoding.h"
#include "datamatrix/TFormat.h"
#include "ui_TEinstellungen.h"

#include <QScreen>
#include <QScrollArea>
#include <QAction>
#include <QButtonGroup>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QShowEvent>

#include <algorithm>

namespace korvex::app {

namespace {

std::string bytes(const QString& text) {
    return ToCodePage(text).Bytes;
}

void fillTemplate(QPlainTextEdit* field, const ncgen::TTemplate& lines) {
    QStringList shown;
    for (const std::string& line : config::ShownTemplate(lines))
        shown << FromCodePage(line);
    field->setPlainText(shown.join(QLatin1Char('\n')));
}

void takeTemplate(const QPlainTextEdit* field, ncgen::TTemplate& lines) {
    std::vector<std::string> typed;
    for (const QString& line : TextLines(field->toPlainText()))
        typed.push_back(bytes(line));
    lines = config::TypedTemplate(typed);
}

QButtonGroup* buttonGroup(QObject* owner, std::initializer_list<QAbstractButton*> buttons,
                          int firstId) {
    auto* group = new QButtonGroup(owner);
    for (QAbstractButton* button : buttons)
        group->addButton(button, firstId++);
    return group;
}

// A settings field's − / +: the core's step on its text.
void stepSetting(StepField* row, config::TSettingsStep step) {
    QLineEdit* edit = row->Field();
    QObject::connect(row, &StepField::Stepped, edit, [edit, step](bool plus) {
        if (const auto next = config::StepSetting(step, plus, bytes(edit->text())))
            edit->setText(FromCodePage(*next));
    });
}

} // namespace

TEinstellungen::TEinstellungen(config::TSettings& settings, ncgen::TProfileTable& profiles,
                               std::filesystem::path configFolder, const Messages& messages,
                               QWidget* parent)
    : QDialog(parent), settings_(settings), profiles_(profiles),
      configFolder_(std::move(configFolder)), messages_(messages),
      ui_(std::make_unique<::Ui::TEinstellungen>()) {
    ui_->setupUi(this);
    serverCheck_ =
        new LogServerCheck(ui_->EDatenbank, ui_->BVerbindung, ui_->LVerbindung, messages_, this);
    // Left only through "&Abbrechen" or "&Speichern": no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    Ui::TEinstellungen& ui = *ui_;
    pageButtons_ = buttonGroup(this, {ui.MP, ui.P1, ui.P2, ui.P3, ui.P4}, 0);
    standard_ = buttonGroup(this, {ui.EStandard1, ui.EStandard2, ui.EStandard3, ui.EStandard4}, 1);
    views_ = buttonGroup(this, {ui.XYButt, ui.XZButt, ui.YZButt, ui.XYZButt}, 0);
    wzTyp_ = buttonGroup(ui.LWz, {ui.EWzKein, ui.EWzKegel, ui.EWzKugel}, 0);
    eAufloesung_ = ui.AufloesungZeile->Field();
    eStellen_ = ui.StellenZeile->Field();
    eNachkomma_ = ui.NachkommaZeile->Field();
    eSatzschritt_ = ui.SchrittZeile->Field();
    eSatzschritt_->setReadOnly(true);
    eRebene_ = ui.RebeneZeile->Field();
    eZebene_ = ui.ZebeneZeile->Field();

    for (auto name : datamatrix::FORMAT_NAMES)
        ui.ESymbox->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    for (auto name : datamatrix::ENCODING_NAMES)
        ui.ECodeBox->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    const QFont fixedPitch = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (QWidget* text :
         std::initializer_list<QWidget*>{ui.ESyntaxS, ui.ESyntax, ui.ESyntaxE, ui.LPlatzhalterR,
                                         ui.LPlatzhalterZ, ui.LPlatzhalterF})
        text->setFont(fixedPitch);
    // The placeholders start level with the templates, below the tabs.
    ui.ReiterHoehe->changeSize(0, ui.ESyntaxTabs->tabBar()->sizeHint().height(),
                               QSizePolicy::Minimum, QSizePolicy::Fixed);
    ui.Platzhalter->invalidate();
    shifts_ = new ShiftTableBox(this);
    ui.ProgrammRaster->addWidget(shifts_, 3, 0, 1, 2);
    scrollPages();
    connectControls();
}

void TEinstellungen::scrollPages() {
    // The profile page is taller than a 768 pixel screen leaves: the pages scroll, so the bottom
    // bar with "Speichern" stays on the screen. Where it fits, the dialog opens at full size.
    QSize full = sizeHint();
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("SeitenRollbereich"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    delete ui_->Fenster->replaceWidget(ui_->Seiten, scroll);
    scroll->setWidget(ui_->Seiten);
    // Room for the title bar and a task bar.
    if (const QScreen* shown = screen())
        full = full.boundedTo(shown->availableGeometry().size() - QSize(0, 60));
    resize(full);
}

TEinstellungen::~TEinstellungen() = default;

void TEinstellungen::connectControls() {
    Ui::TEinstellungen& ui = *ui_;
    connect(pageButtons_, &QButtonGroup::idClicked, this, &TEinstellungen::PageClick);
    connect(ui.Bger, &QPushButton::clicked, this, [this] { LanguageClick(1); });
    connect(ui.Beng, &QPushButton::clicked, this, [this] { LanguageClick(2); });
    connect(ui.Abbrechen, &QPushButton::clicked, this, &TEinstellungen::AbbrechenClick);
    connect(ui.Hilfe, &QPushButton::clicked, this, &TEinstellungen::HelpWanted);
    connect(ui.Speichern, &QPushButton::clicked, this, &TEinstellungen::SpeichernClick);
    // F1 here as in the main window, which the modal dialog blocks.
    auto* helpKey = new QAction(this);
    helpKey->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(helpKey);
    connect(helpKey, &QAction::triggered, this, &TEinstellungen::HelpWanted);

    for (auto [field, button] :
         {std::pair{ui.EZieldir, ui.BZielDir}, std::pair{ui.EVorlagenDir, ui.BVorlagenDir},
          std::pair{ui.EFontDir, ui.BFontDir}})
        connect(button, &QToolButton::clicked, this, [this, field] { chooseFolder(field); });
    for (ColourSwatch* swatch : swatches())
        connect(swatch, &ColourSwatch::Pressed, this, [this, swatch] { chooseColour(swatch); });

    stepSetting(ui.AufloesungZeile, config::TSettingsStep::DotSpacing);
    stepSetting(ui.StellenZeile, config::TSettingsStep::Digits);
    stepSetting(ui.NachkommaZeile, config::TSettingsStep::Digits);
    stepSetting(ui.RebeneZeile, config::TSettingsStep::Level);
    stepSetting(ui.ZebeneZeile, config::TSettingsStep::Level);
    connect(ui.SchrittZeile, &StepField::Stepped, this, [this](bool plus) {
        const auto next = config::StepNumbering(
            plus, {bytes(eSatzschritt_->text()), bytes(ui_->EEstart->text())});
        if (!next) return;
        eSatzschritt_->setText(FromCodePage(next->Step));
        ui_->EEstart->setText(eSatzschritt_->text());
    });
    connect(ui.EEstart, &QLineEdit::textChanged, this, &TEinstellungen::checkStart);

    // Only a click of the user's: filling the page sets both as the profile has them.
    const auto keepPointOrZeros = [this](config::TNumberToggle which) {
        const config::TPointAndZeros now = config::AfterToggle(
            {ui_->EEDeziPunkt->isChecked(), ui_->EENNullen->isChecked()}, which);
        ui_->EEDeziPunkt->setChecked(now.Point);
        ui_->EENNullen->setChecked(now.TrailingZeros);
    };
    connect(ui.EENNullen, &QCheckBox::clicked, this,
            [keepPointOrZeros] { keepPointOrZeros(config::TNumberToggle::TrailingZeros); });
    connect(ui.EEDeziPunkt, &QCheckBox::clicked, this,
            [keepPointOrZeros] { keepPointOrZeros(config::TNumberToggle::Point); });

    connect(wzTyp_, &QButtonGroup::idClicked, this, &TEinstellungen::showToolSketch);
    for (QLineEdit* edit : {ui.EWzWinkel, ui.EWzSpitze, ui.EWzRadius, eZebene_})
        connect(edit, &QLineEdit::textChanged, this, &TEinstellungen::showToolSketch);
}

std::array<QLineEdit*, 6> TEinstellungen::axisFields() const {
    return {ui_->EEX, ui_->EEY, ui_->EEZ, ui_->EEI, ui_->EEJ, ui_->EER};
}

std::array<ColourSwatch*, 6> TEinstellungen::swatches() const {
    return {ui_->EHintergrund, ui_->EAchsen,   ui_->EVorschub,
            ui_->EAVorschub,   ui_->EFEilgang, ui_->ERohteil};
}

// A profile that never had a tool and still has none keeps its file without the keys.
ncgen::TToolTexts TEinstellungen::toolTexts(const ncgen::TToolTexts& before) const {
    return config::KeptToolTexts({std::to_string(std::max(0, wzTyp_->checkedId())),
                                  bytes(ui_->EWzWinkel->text()), bytes(ui_->EWzSpitze->text()),
                                  bytes(ui_->EWzRadius->text())},
                                 before);
}

void TEinstellungen::showToolSketch() {
    const ncgen::TToolReading reading = ncgen::ReadTool(toolTexts({}));
    ui_->WzSkizze->Show(reading.Problem.Empty() ? std::optional(reading.Tool) : std::nullopt,
                        config::SketchDepth(bytes(eZebene_->text())));
    const config::TToolMeasures measures = config::ToolMeasures(wzTyp_->checkedId());
    ui_->EWzWinkel->setEnabled(measures.Angle);
    ui_->EWzSpitze->setEnabled(measures.Tip);
    ui_->EWzRadius->setEnabled(measures.Radius);
}

void TEinstellungen::Fill() {
    ui_->EZieldir->setText(FromCodePage(settings_.NcFolder));
    ui_->EVorlagenDir->setText(FromCodePage(settings_.TemplateFolder));
    ui_->EFontDir->setText(FromCodePage(settings_.FontFolder));
    eAufloesung_->setText(FromCodePage(settings_.DotSpacing));
    if (QAbstractButton* b = standard_->button(settings_.DefaultProfile)) b->setChecked(true);
    views_->button(static_cast<int>(settings_.View))->setChecked(true);
    ui_->G0Butt->setChecked(settings_.ShowRapidMoves);
    ui_->AxisButt->setChecked(settings_.ShowAxes);
    ui_->EHintergrund->SetColour(settings_.Background);
    ui_->EAchsen->SetColour(settings_.Axes);
    ui_->EVorschub->SetColour(settings_.Feed);
    ui_->EAVorschub->SetColour(settings_.AFeed);
    ui_->EFEilgang->SetColour(settings_.Rapid);
    ui_->ERohteil->SetColour(settings_.Blank);
    ui_->ESymbox->setCurrentIndex(settings_.DefaultSymbolSize);
    ui_->ECodeBox->setCurrentIndex(settings_.DefaultEncodation);
    ui_->CMarkierprotokoll->setChecked(settings_.MarkingLog);
    ui_->EDatenbank->setText(FromCodePage(settings_.LogDatabase));
    shifts_->Fill(settings_.Shifts);
}

void TEinstellungen::settingsFromControls(config::TSettings& settings) const {
    settings.NcFolder = bytes(ui_->EZieldir->text());
    settings.TemplateFolder = bytes(ui_->EVorlagenDir->text());
    settings.FontFolder = bytes(ui_->EFontDir->text());
    settings.DotSpacing = bytes(eAufloesung_->text());
    settings.DefaultProfile = config::DefaultProfileChoice(standard_->checkedId());
    settings.View = static_cast<config::TGraphicView>(views_->checkedId());
    settings.ShowRapidMoves = ui_->G0Butt->isChecked();
    settings.ShowAxes = ui_->AxisButt->isChecked();
    settings.MarkingLog = ui_->CMarkierprotokoll->isChecked();
    settings.LogDatabase = bytes(ui_->EDatenbank->text().trimmed());
    settings.Shifts = shifts_->Entries();
    settings.Background = ui_->EHintergrund->Colour();
    settings.Axes = ui_->EAchsen->Colour();
    settings.Feed = ui_->EVorschub->Colour();
    settings.AFeed = ui_->EAVorschub->Colour();
    settings.Rapid = ui_->EFEilgang->Colour();
    settings.Blank = ui_->ERohteil->Colour();
    settings.DefaultSymbolSize = static_cast<std::uint8_t>(ui_->ESymbox->currentIndex());
    settings.DefaultEncodation = static_cast<std::uint8_t>(ui_->ECodeBox->currentIndex());
}

void TEinstellungen::fillProfilePage(int number) {
    const ncgen::TOutputProfile& p = profiles_[static_cast<std::size_t>(number - 1)];
    ui_->EEProfil->setText(FromCodePage(p.Name));
    fillTemplate(ui_->ESyntaxS, p.FirstPoint);
    fillTemplate(ui_->ESyntax, p.FollowingPoints);
    fillTemplate(ui_->ESyntaxE, p.End);
    ui_->EESuffix->setText(FromCodePage(p.Suffix));
    eRebene_->setText(FromCodePage(p.REbene));
    eZebene_->setText(FromCodePage(p.ZEbene));
    ui_->EEVorschubZ->setText(FromCodePage(p.VorschubZ));
    eStellen_->setText(FromCodePage(p.Stellen));
    eNachkomma_->setText(FromCodePage(p.Nachkommastellen));
    ui_->EEDeziPunkt->setChecked(p.Dezipunkt);
    ui_->EENCPunkt->setChecked(p.NCpunkt);
    ui_->EEVNullen->setChecked(p.VNullen);
    ui_->EENNullen->setChecked(p.NNullen);
    ui_->EEVorzeichen->setChecked(p.Vorzeichen);
    ui_->EESatznum->setChecked(p.Satznum);
    ui_->EESatzzeichen->setText(FromCodePage(p.Satzzeichen));
    // The step first: the start check falls back to it.
    eSatzschritt_->setText(FromCodePage(p.Schritt));
    ui_->EEstart->setText(FromCodePage(p.Start));
    const std::string* letters[] = {&p.X, &p.Y, &p.Z, &p.I, &p.J, &p.R};
    const auto axes = axisFields();
    for (std::size_t i = 0; i < axes.size(); ++i)
        axes[i]->setText(FromCodePage(*letters[i]));
    wzTyp_->button(config::ShownToolKind(p.Tool))->setChecked(true);
    ui_->EWzWinkel->setText(FromCodePage(p.Tool.Angle));
    ui_->EWzSpitze->setText(FromCodePage(p.Tool.Tip));
    ui_->EWzRadius->setText(FromCodePage(p.Tool.Radius));
    showToolSketch();
}

void TEinstellungen::takeOverProfilePage(int number) {
    ncgen::TOutputProfile& p = profiles_[static_cast<std::size_t>(number - 1)];
    p.Name = bytes(ui_->EEProfil->text());
    p.REbene = bytes(eRebene_->text());
    p.ZEbene = bytes(eZebene_->text());
    p.VorschubZ = bytes(ui_->EEVorschubZ->text());
    takeTemplate(ui_->ESyntaxS, p.FirstPoint);
    takeTemplate(ui_->ESyntax, p.FollowingPoints);
    takeTemplate(ui_->ESyntaxE, p.End);
    p.Suffix = bytes(ui_->EESuffix->text());
    p.Stellen = bytes(eStellen_->text());
    p.Nachkommastellen = bytes(eNachkomma_->text());
    p.Dezipunkt = ui_->EEDeziPunkt->isChecked();
    p.NCpunkt = ui_->EENCPunkt->isChecked();
    p.VNullen = ui_->EEVNullen->isChecked();
    p.NNullen = ui_->EENNullen->isChecked();
    p.Vorzeichen = ui_->EEVorzeichen->isChecked();
    p.Satznum = ui_->EESatznum->isChecked();
    p.Satzzeichen = bytes(ui_->EESatzzeichen->text());
    p.Schritt = bytes(eSatzschritt_->text());
    p.Start = bytes(ui_->EEstart->text());
    std::string* letters[] = {&p.X, &p.Y, &p.Z, &p.I, &p.J, &p.R};
    const auto axes = axisFields();
    for (std::size_t i = 0; i < axes.size(); ++i)
        *letters[i] = bytes(axes[i]->text());
    p.Tool = toolTexts(p.Tool);
}

// The files hold Windows-1252: a character without a code would be lost on the way, so the
// user gets to change it first.
bool TEinstellungen::refuseUncodedText() {
    const auto refused = [this](QWidget* edit, const QString& text) {
        const TCodePageText converted = ToCodePage(text);
        if (converted.Ok) return false;
        QWidget* page = ui_->Seiten->currentWidget();
        if (page->isAncestorOf(edit)) edit->setFocus();
        messages_.ShowText(messages_.Text(RefusedCharacterText) + QStringLiteral(": ") +
                           converted.Offending);
        return true;
    };
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        if (refused(edit, edit->text())) return true;
    for (QPlainTextEdit* edit : findChildren<QPlainTextEdit*>())
        if (refused(edit, edit->toPlainText())) return true;
    return false;
}

void TEinstellungen::ApplyTexts() {
    // The toggles beside the axis and rapid-move colours and the log switch are not in the
    // caption table.
    ui_->AxisButt->setText(messages_.Text(ShowToggleText));
    ui_->G0Butt->setText(messages_.Text(ShowToggleText));
    ui_->CMarkierprotokoll->setText(messages_.Text(text::LogSwitchCaption));
    ui_->LDatenbank->setText(messages_.Text(text::LogServerCaption));
    serverCheck_->ApplyTexts();
    shifts_->ApplyTexts(messages_);
}

void TEinstellungen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    applyToolCaptions();
    // Coming back from a minimised state is no new opening.
    if (event->spontaneous()) return;
    page_ = 0;
    ui_->Seiten->setCurrentIndex(0);
    pageButtons_->button(0)->setChecked(true);
}

void TEinstellungen::PageClick(int page) {
    if (page != 0 && page_ != 0 && refuseUncodedText()) {
        // The page stays, and so does its button.
        pageButtons_->button(ui_->Seiten->currentIndex() == 0 ? 0 : page_)->setChecked(true);
        return;
    }
    pageButtons_->button(page)->setChecked(true);
    if (page == 0) {
        ui_->Seiten->setCurrentIndex(0);
        return;
    }
    if (page_ != 0) takeOverProfilePage(page_);
    page_ = page;
    fillProfilePage(page);
    ui_->Seiten->setCurrentIndex(1);
}

void TEinstellungen::SpeichernClick() {
    if (refuseUncodedText()) return;
    if (const QString problem = serverCheck_->Problem(); !problem.isEmpty()) {
        // main.ini keeps no password and names a server or nothing.
        messages_.ShowText(problem);
        return;
    }
    if (page_ != 0) takeOverProfilePage(page_);
    config::TSettings next = settings_;
    settingsFromControls(next);
    std::vector<ncgen::TShift> shifts;
    if (const base::TTextMessage problem = config::ReadShifts(next.Shifts, shifts);
        !problem.Empty()) {
        PageClick(0);
        return messages_.ShowError(messages_.Text(problem));
    }
    try {
        config::SaveSettings(configFolder_, next, profiles_);
    } catch (const EKorvexError& e) {
        // The dialog stays open with the user's edits; nothing was reloaded.
        messages_.ShowError(FromCodePage(e.what()));
        return;
    }
    settings_ = next;
    Fill();
    emit Saved();
    messages_.Show(text::SettingsSaved);
    accept();
}

void TEinstellungen::AbbrechenClick() {
    QDialog::reject();
}

void TEinstellungen::reject() {
    AbbrechenClick();
}

void TEinstellungen::LanguageClick(int language) {
    settings_.Language = language;
    emit LanguageChosen();
    applyToolCaptions();
}

// The tool group is no control of the caption table; its texts follow the language here.
void TEinstellungen::applyToolCaptions() {
    const char* names[] = {"LWz",       "EWzKein",   "EWzKegel", "EWzKugel",
                           "LWzWinkel", "LWzSpitze", "LWzRadius"};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const QString text = messages_.Text(ToolCaptionTexts[i]);
        QObject* control = findChild<QObject*>(QString::fromLatin1(names[i]));
        if (auto* box = qobject_cast<QGroupBox*>(control))
            box->setTitle(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setText(text);
        else if (auto* caption = qobject_cast<QLabel*>(control))
            caption->setText(text);
    }
}

void TEinstellungen::chooseFolder(QLineEdit* edit) {
    QString folder = edit->text();
    if (!QFileInfo(folder).isDir())
        folder =
            QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    QString start = folder;
    const QChar last = start.isEmpty() ? QChar() : start.back();
    if ((last == QLatin1Char('/') || last == QLatin1Char('\\')) && start.size() > 3) start.chop(1);
    edit->setText(folder);
    const QString chosen =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Auswahl Verzeichnis"), start);
    if (!chosen.isEmpty()) edit->setText(QDir::toNativeSeparators(chosen));
}

void TEinstellungen::chooseColour(ColourSwatch* swatch) {
    const QColor chosen = QColorDialog::getColor(lastColour_, this);
    if (!chosen.isValid()) return;
    lastColour_ = chosen;
    swatch->SetColour(ColourSwatch::FromQColor(chosen));
}

void TEinstellungen::checkStart() {
    const QString start = ui_->EEstart->text();
    const QString step = eSatzschritt_->text();
    // A character without a code is no number either; the step only ever holds coded text.
    const TCodePageText coded = ToCodePage(start);
    if (coded.Ok ? config::StartAfterEdit(coded.Bytes, bytes(step)).has_value() : start != step)
        ui_->EEstart->setText(step);
}

} // namespace korvex::app

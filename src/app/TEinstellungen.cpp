#include "app/TEinstellungen.h"

#include "app/AppTexts.h"
#include "base/TextNumbers.h"
#include "app/CodePage.h"
#include "app/Messages.h"
#include "app/ToolSketch.h"
#include "config/SettingsFile.h"
#include "config/SettingsSteps.h"
#include "datamatrix/TEncoding.h"
#include "datamatrix/TFormat.h"
#include "ncgen/NumberReading.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace korvex::app {

// A colour field: any mouse button opens the colour dialog.
class ColourSwatch : public QFrame {
  public:
    ColourSwatch(const char* name, QWidget* parent) : QFrame(parent) {
        setObjectName(QString::fromLatin1(name));
        setFrameShape(QFrame::Box);
        setFixedSize(48, 20);
        setAutoFillBackground(true);
        setCursor(Qt::PointingHandCursor);
    }
    config::TColor Colour() const { return colour_; }
    void SetColour(config::TColor colour) {
        colour_ = colour;
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, toQColor(colour));
        setPalette(palette);
    }
    static QColor toQColor(config::TColor colour) {
        return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                      static_cast<int>((colour >> 16) & 0xFF));
    }
    static config::TColor fromQColor(const QColor& colour) {
        return static_cast<config::TColor>(colour.red()) |
               static_cast<config::TColor>(colour.green()) << 8 |
               static_cast<config::TColor>(colour.blue()) << 16;
    }
    std::function<void()> Pressed;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        event->accept();
        if (Pressed) Pressed();
    }

  private:
    config::TColor colour_ = 0;
};

namespace {

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    return named(new QLabel(text, parent), name);
}

QGroupBox* group(QWidget* parent, const char* name, const QString& title) {
    return named(new QGroupBox(title, parent), name);
}

QLineEdit* field(QWidget* parent, const char* name) {
    return named(new QLineEdit(parent), name);
}

QCheckBox* toggle(QWidget* parent, const char* name, const QString& text) {
    return named(new QCheckBox(text, parent), name);
}

std::string bytes(const QString& text) {
    return ToCodePage(text).Bytes;
}

// A field with its − and + buttons; each press runs `step` with -1 or +1.
QHBoxLayout* stepped(QWidget* parent, QLineEdit* field, const char* minusName, const char* plusName,
                     const std::function<void(bool)>& step) {
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(field, 1);
    const auto button = [&](const char* name, const QString& caption, bool plus) {
        auto* b = named(new QToolButton(parent), name);
        b->setText(caption);
        b->setAutoRepeat(true);
        b->setFixedWidth(24);
        QObject::connect(b, &QToolButton::clicked, parent, [step, plus] { step(plus); });
        row->addWidget(b);
    };
    button(minusName, QStringLiteral("−"), false);
    button(plusName, QStringLiteral("+"), true);
    return row;
}

void fillTemplate(QPlainTextEdit* field, const ncgen::TTemplate& lines) {
    QStringList shown;
    for (const std::string& line : lines)
        if (!line.empty()) shown << FromCodePage(line);
    field->setPlainText(shown.join(QLatin1Char('\n')));
}

void takeTemplate(const QPlainTextEdit* field, ncgen::TTemplate& lines) {
    const QStringList typed = TextLines(field->toPlainText());
    for (int j = 0; j < ncgen::TemplateLineCount; ++j)
        lines[static_cast<std::size_t>(j)] = j < typed.size() ? bytes(typed[j]) : std::string();
}

} // namespace

TEinstellungen::TEinstellungen(config::TSettings& settings, ncgen::TProfileTable& profiles,
                               std::filesystem::path configFolder, const Messages& messages,
                               QWidget* parent)
    : QDialog(parent), settings_(settings), profiles_(profiles),
      configFolder_(std::move(configFolder)), messages_(messages) {
    setObjectName(QStringLiteral("TEinstellungen"));
    setWindowTitle(QStringLiteral("Einstellungen"));
    // Left only through "&Abbrechen" or "&Speichern": no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    auto* top = new QHBoxLayout;
    pageButtons_ = new QButtonGroup(this);
    const char* pageNames[] = {"MP", "P1", "P2", "P3", "P4"};
    for (int page = 0; page <= ncgen::ProfileCount; ++page) {
        auto* b = named(new QPushButton(this), pageNames[page]);
        b->setText(page == 0 ? QStringLiteral("Programm") : QStringLiteral("Profil"));
        b->setCheckable(true);
        b->setAutoDefault(false);
        pageButtons_->addButton(b, page);
        top->addWidget(b);
    }
    connect(pageButtons_, &QButtonGroup::idClicked, this, &TEinstellungen::PageClick);
    top->addStretch(1);
    for (int language : {1, 2}) {
        auto* b = named(new QPushButton(this), language == 1 ? "Bger" : "Beng");
        b->setText(language == 1 ? QStringLiteral("Deutsch") : QStringLiteral("English"));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, language] { LanguageClick(language); });
        top->addWidget(b);
    }

    pages_ = new QStackedWidget(this);
    pages_->addWidget(buildProgramPage());
    pages_->addWidget(buildProfilePage());

    auto* bottom = new QHBoxLayout;
    auto* cancel = named(new QPushButton(QStringLiteral("&Abbrechen"), this), "Abbrechen");
    auto* help = named(new QPushButton(QStringLiteral("&Hilfe"), this), "Hilfe");
    auto* save = named(new QPushButton(QStringLiteral("&Speichern"), this), "Speichern");
    for (QPushButton* b : {cancel, help, save})
        b->setAutoDefault(false);
    bottom->addWidget(cancel);
    bottom->addWidget(help);
    bottom->addStretch(1);
    bottom->addWidget(save);
    connect(cancel, &QPushButton::clicked, this, &TEinstellungen::AbbrechenClick);
    connect(help, &QPushButton::clicked, this, &TEinstellungen::HelpWanted);
    // F1 here as in the main window, which the modal dialog blocks.
    auto* helpKey = new QAction(this);
    helpKey->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(helpKey);
    connect(helpKey, &QAction::triggered, this, &TEinstellungen::HelpWanted);
    connect(save, &QPushButton::clicked, this, &TEinstellungen::SpeichernClick);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pages_, 1);
    layout->addLayout(bottom);
    resize(733, 563);
}

QWidget* TEinstellungen::buildProgramPage() {
    auto* page = named(new QWidget(this), "TabProgramm");

    auto* folders = group(page, "LDir", QStringLiteral("Verzeichnisse"));
    auto* folderGrid = new QGridLayout(folders);
    const auto folderRow = [&](int row, const char* labelName, const QString& caption,
                               const char* fieldName, const char* buttonName) {
        QLineEdit* edit = field(folders, fieldName);
        auto* choose = named(new QToolButton(folders), buttonName);
        choose->setText(QStringLiteral("…"));
        connect(choose, &QToolButton::clicked, this, [this, edit] { chooseFolder(edit); });
        folderGrid->addWidget(label(folders, labelName, caption), row, 0);
        folderGrid->addWidget(edit, row, 1);
        folderGrid->addWidget(choose, row, 2);
        return std::pair{edit, choose};
    };
    eZieldir_ = folderRow(0, "LNc", QStringLiteral("NC-Programme"), "EZieldir", "BZielDir").first;
    eVorlagenDir_ =
        folderRow(1, "LTemp", QStringLiteral("Vorlagen"), "EVorlagenDir", "BVorlagenDir").first;
    // The single-line font folder is carried, never shown.
    auto [fontDir, fontButton] =
        folderRow(2, "LSlf", QStringLiteral("Singleline-Schriftarten"), "EFontDir", "BFontDir");
    eFontDir_ = fontDir;
    for (QWidget* hidden : {static_cast<QWidget*>(fontDir), static_cast<QWidget*>(fontButton),
                            static_cast<QWidget*>(folders->findChild<QLabel*>("LSlf"))})
        hidden->hide();
    auto* addFont = named(
        new QPushButton(QStringLiteral("Neue Schriftart installieren ..."), folders), "AddSlf");
    addFont->hide();

    auto* symbol = group(page, "LDaMa", QStringLiteral("Vorgaben Datamatrix"));
    auto* symbolGrid = new QGridLayout(symbol);
    eSymbox_ = named(new QComboBox(symbol), "ESymbox");
    for (auto name : datamatrix::FORMAT_NAMES)
        eSymbox_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    eCodeBox_ = named(new QComboBox(symbol), "ECodeBox");
    for (auto name : datamatrix::ENCODING_NAMES)
        eCodeBox_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    symbolGrid->addWidget(label(symbol, "LSG", QStringLiteral("Symbolgröße")), 0, 0);
    symbolGrid->addWidget(eSymbox_, 0, 1);
    symbolGrid->addWidget(label(symbol, "LCode", QStringLiteral("Kodierung")), 1, 0);
    symbolGrid->addWidget(eCodeBox_, 1, 1);
    symbolGrid->setRowStretch(2, 1);

    auto* program = group(page, "DNc", QStringLiteral("Vorgaben NC-Programm"));
    auto* programGrid = new QGridLayout(program);
    eAufloesung_ = field(program, "EAufloesung");
    programGrid->addWidget(label(program, "LAuf", QStringLiteral("Auflösung (TrueType)")), 0, 0);
    programGrid->addLayout(stepped(program, eAufloesung_, "LMinus", "LPlus",
                                   [this](bool plus) {
                                       const auto next =
                                           config::StepSetting(config::TSettingsStep::DotSpacing,
                                                               plus, bytes(eAufloesung_->text()));
                                       if (next) eAufloesung_->setText(FromCodePage(*next));
                                   }),
                           0, 1);
    programGrid->addWidget(label(program, "LProfil", QStringLiteral("Standardprofil")), 1, 0);
    auto* standardRow = new QHBoxLayout;
    standard_ = new QButtonGroup(this);
    const char* standardNames[] = {"EStandard1", "EStandard2", "EStandard3", "EStandard4"};
    for (int p = 1; p <= ncgen::ProfileCount; ++p) {
        auto* b = named(new QRadioButton(QString::number(p), program), standardNames[p - 1]);
        standard_->addButton(b, p);
        standardRow->addWidget(b);
    }
    standardRow->addStretch(1);
    programGrid->addLayout(standardRow, 1, 1);
    programGrid->setRowStretch(2, 1);

    auto* graphic = group(page, "DGra", QStringLiteral("Vorgaben NC-Grafik"));
    auto* graphicGrid = new QGridLayout(graphic);
    auto* viewRow = new QHBoxLayout;
    views_ = new QButtonGroup(this);
    const char* viewNames[] = {"XYButt", "XZButt", "YZButt", "XYZButt"};
    const char* viewCaptions[] = {"XY", "XZ", "YZ", "XYZ"};
    for (int v = 0; v < 4; ++v) {
        auto* b =
            named(new QRadioButton(QString::fromLatin1(viewCaptions[v]), graphic), viewNames[v]);
        views_->addButton(b, v);
        viewRow->addWidget(b);
    }
    viewRow->addStretch(1);
    graphicGrid->addLayout(viewRow, 0, 0, 1, 3);
    const auto swatchRow = [&](int row, const char* labelName, const QString& caption,
                               const char* swatchName, QCheckBox* shown) {
        auto* swatch = new ColourSwatch(swatchName, graphic);
        swatch->Pressed = [this, swatch] { chooseColour(swatch); };
        graphicGrid->addWidget(label(graphic, labelName, caption), row, 0);
        graphicGrid->addWidget(swatch, row, 1);
        if (shown) graphicGrid->addWidget(shown, row, 2);
        return swatch;
    };
    // The axis and rapid-move toggles sit beside the colours they switch.
    axisButt_ = toggle(graphic, "AxisButt", QString());
    axisButt_->setToolTip(QStringLiteral("AXIS"));
    g0Butt_ = toggle(graphic, "G0Butt", QString());
    g0Butt_->setToolTip(QStringLiteral("G0"));
    eHintergrund_ = swatchRow(1, "LHG", QStringLiteral("Hintergrund"), "EHintergrund", nullptr);
    eAchsen_ = swatchRow(2, "Lachsen", QStringLiteral("Achsen"), "EAchsen", axisButt_);
    eVorschub_ = swatchRow(3, "LVorschub1", QStringLiteral("Vorschub"), "EVorschub", nullptr);
    eEilgang_ = swatchRow(4, "LEilgang", QStringLiteral("Positionierung"), "EFEilgang", g0Butt_);
    eRohteil_ = swatchRow(5, "LBlank", QStringLiteral("Rohteil"), "ERohteil", nullptr);
    eAVorschub_ = new ColourSwatch("EAVorschub", graphic);
    eAVorschub_->hide();
    graphicGrid->setColumnStretch(3, 1);

    auto* grid = new QGridLayout(page);
    grid->addWidget(folders, 0, 0, 1, 2);
    grid->addWidget(symbol, 1, 0);
    grid->addWidget(program, 1, 1);
    grid->addWidget(graphic, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* TEinstellungen::buildProfilePage() {
    auto* page = named(new QWidget(this), "TabProfil");

    auto* name = group(page, "LP1", QStringLiteral("Profilname"));
    eProfil_ = field(name, "EEProfil");
    (new QHBoxLayout(name))->addWidget(eProfil_);

    auto* format = group(page, "LF1", QStringLiteral("Zahlenformat"));
    auto* formatGrid = new QGridLayout(format);
    const auto digitsStep = [](QLineEdit* edit) {
        return [edit](bool plus) {
            const auto next =
                config::StepSetting(config::TSettingsStep::Digits, plus, bytes(edit->text()));
            if (next) edit->setText(FromCodePage(*next));
        };
    };
    eStellen_ = field(format, "EEStellen");
    eNachkomma_ = field(format, "EENachkommastellen");
    formatGrid->addWidget(label(format, "LFS1", QStringLiteral("Anzahl Stellen")), 0, 0);
    formatGrid->addLayout(stepped(format, eStellen_, "SMinus1", "SPlus1", digitsStep(eStellen_)), 0,
                          1);
    formatGrid->addWidget(label(format, "LFN1", QStringLiteral("Nachkomma")), 1, 0);
    formatGrid->addLayout(
        stepped(format, eNachkomma_, "NMinus1", "NPlus1", digitsStep(eNachkomma_)), 1, 1);
    eDeziPunkt_ = toggle(format, "EEDeziPunkt", QStringLiteral("Dezimalpunkt"));
    eNCPunkt_ = toggle(format, "EENCPunkt", QStringLiteral("Punkt bei ganzer Zahl"));
    eVNullen_ = toggle(format, "EEVNullen", QStringLiteral("Vornullen"));
    eNNullen_ = toggle(format, "EENNullen", QStringLiteral("Nachnullen"));
    eVorzeichen_ = toggle(format, "EEVorzeichen", QStringLiteral("Immer Vorzeichen"));
    int row = 2;
    for (QCheckBox* t : {eDeziPunkt_, eNCPunkt_, eVNullen_, eNNullen_, eVorzeichen_})
        formatGrid->addWidget(t, row++, 0, 1, 2);
    // A number needs a point or its trailing zeros; the user cannot switch off both.
    connect(eNNullen_, &QCheckBox::clicked, this, [this](bool on) {
        if (!on) eDeziPunkt_->setChecked(true);
    });
    connect(eDeziPunkt_, &QCheckBox::clicked, this, [this](bool on) {
        if (!on) eNNullen_->setChecked(true);
    });

    auto* output = group(page, "LA1", QStringLiteral("Programmausgabe"));
    auto* outputGrid = new QGridLayout(output);
    eSatznum_ = toggle(output, "EESatznum", QStringLiteral("Satznummerierung"));
    eSatzzeichen_ = field(output, "EESatzzeichen");
    eSatzschritt_ = field(output, "EESatzschritt");
    eSatzschritt_->setReadOnly(true);
    eStart_ = field(output, "EEstart");
    outputGrid->addWidget(eSatznum_, 0, 0, 1, 2);
    outputGrid->addWidget(label(output, "LZ1", QStringLiteral("Zeichen")), 1, 0);
    outputGrid->addWidget(eSatzzeichen_, 1, 1);
    outputGrid->addWidget(label(output, "LSchritt1", QStringLiteral("Schritt")), 2, 0);
    outputGrid->addLayout(stepped(output, eSatzschritt_, "SNMinus1", "SNPlus1",
                                  [this](bool plus) {
                                      const auto next =
                                          config::StepSetting(config::TSettingsStep::BlockStep,
                                                              plus, bytes(eSatzschritt_->text()));
                                      if (!next) return;
                                      eSatzschritt_->setText(FromCodePage(*next));
                                      eStart_->setText(eSatzschritt_->text());
                                  }),
                          2, 1);
    outputGrid->addWidget(label(output, "LStart", QStringLiteral("Start")), 3, 0);
    outputGrid->addWidget(eStart_, 3, 1);
    connect(eStart_, &QLineEdit::textChanged, this, &TEinstellungen::checkStart);

    const auto levelGroup = [&](const char* groupName, const QString& title, const char* fieldName,
                                const char* minusName, const char* plusName) {
        auto* box = group(page, groupName, title);
        QLineEdit* edit = field(box, fieldName);
        auto* steps = stepped(box, edit, minusName, plusName, [edit](bool plus) {
            const auto next =
                config::StepSetting(config::TSettingsStep::Level, plus, bytes(edit->text()));
            if (next) edit->setText(FromCodePage(*next));
        });
        box->setLayout(steps);
        return std::pair{box, edit};
    };
    auto [rBox, rField] = levelGroup("LAS1", QStringLiteral("Sicherheitsabstand (R)"), "EERebene",
                                     "RMinus1", "RPlus1");
    auto [zBox, zField] =
        levelGroup("LAZ1", QStringLiteral("Zustelltiefe (Z)"), "EEZebene", "ZMinus1", "ZPlus1");
    eRebene_ = rField;
    eZebene_ = zField;
    auto* feed = group(page, "LAVZ1", QStringLiteral("Vorschub Z-Achse"));
    eVorschubZ_ = field(feed, "EEVorschubZ");
    (new QHBoxLayout(feed))->addWidget(eVorschubZ_);
    auto* suffix = group(page, "LSuffix", QStringLiteral("Dateiendung"));
    eSuffix_ = field(suffix, "EESuffix");
    (new QHBoxLayout(suffix))->addWidget(eSuffix_);

    // The address letters are not offered for editing but pass through unchanged.
    auto* axes = group(page, "LAlt1", QStringLiteral("Alternative Achsen"));
    const char* axisNames[] = {"EEX", "EEY", "EEZ", "EEI", "EEJ", "EER"};
    auto* axesRow = new QHBoxLayout(axes);
    for (std::size_t i = 0; i < eAxes_.size(); ++i) {
        eAxes_[i] = field(axes, axisNames[i]);
        axesRow->addWidget(eAxes_[i]);
    }
    axes->hide();

    auto* syntax = group(page, "LSyntax", QStringLiteral("NC-Syntax je Datamatrix-Punkt:"));
    auto* syntaxRow = new QHBoxLayout(syntax);
    auto* tabs = named(new QTabWidget(syntax), "ESyntaxTabs");
    const QFont fixedPitch = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const auto templateTab = [&](const char* tabName, const QString& caption,
                                 const char* fieldName) {
        auto* tab = named(new QWidget(tabs), tabName);
        auto* edit = named(new QPlainTextEdit(tab), fieldName);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setFont(fixedPitch);
        auto* tabLayout = new QVBoxLayout(tab);
        tabLayout->setContentsMargins(2, 2, 2, 2);
        tabLayout->addWidget(edit);
        tabs->addTab(tab, caption);
        return edit;
    };
    eSyntaxS_ = templateTab("ETabSyntax1", QStringLiteral("Erster Punkt"), "ESyntaxS");
    eSyntax_ = templateTab("ETabSyntax2", QStringLiteral("Folgepunkte"), "ESyntax");
    eSyntaxE_ = templateTab("ETabSyntax3", QStringLiteral("Ende"), "ESyntaxE");
    syntaxRow->addWidget(tabs, 1);
    auto* placeholders = new QVBoxLayout;
    placeholders->addSpacing(tabs->tabBar()->sizeHint().height());
    for (const char* text : {"[#RVAL]", "[#ZVAL]", "[#FVAL]"}) {
        auto* l = new QLabel(QString::fromLatin1(text), syntax);
        l->setFont(fixedPitch);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        placeholders->addWidget(l);
    }
    placeholders->addStretch(1);
    syntaxRow->addLayout(placeholders);

    auto* left = new QVBoxLayout;
    left->addWidget(name);
    left->addWidget(format);
    left->addWidget(output);
    left->addWidget(buildToolGroup(page));
    left->addStretch(1);
    auto* levels = new QGridLayout;
    levels->addWidget(rBox, 0, 0);
    levels->addWidget(zBox, 0, 1);
    levels->addWidget(feed, 1, 0);
    levels->addWidget(suffix, 1, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(levels);
    right->addWidget(syntax, 1);
    right->addWidget(axes);
    auto* columns = new QHBoxLayout(page);
    columns->addLayout(left);
    columns->addLayout(right, 1);
    return page;
}

QWidget* TEinstellungen::buildToolGroup(QWidget* page) {
    auto* box = group(page, "LWz", QStringLiteral("Werkzeug"));
    auto* grid = new QGridLayout(box);
    wzTyp_ = new QButtonGroup(box);
    const char* kindNames[] = {"EWzKein", "EWzKegel", "EWzKugel"};
    const QString kindCaptions[] = {QStringLiteral("kein"), QStringLiteral("Kegel"),
                                    QStringLiteral("Kugel")};
    auto* kinds = new QHBoxLayout;
    for (int kind = 0; kind < 3; ++kind) {
        auto* b = named(new QRadioButton(kindCaptions[kind], box), kindNames[kind]);
        wzTyp_->addButton(b, kind);
        kinds->addWidget(b);
    }
    grid->addLayout(kinds, 0, 0, 1, 2);
    eWzWinkel_ = field(box, "EWzWinkel");
    eWzSpitze_ = field(box, "EWzSpitze");
    eWzRadius_ = field(box, "EWzRadius");
    grid->addWidget(label(box, "LWzWinkel", QStringLiteral("Winkel (°)")), 1, 0);
    grid->addWidget(eWzWinkel_, 1, 1);
    grid->addWidget(label(box, "LWzSpitze", QStringLiteral("Spitze (mm)")), 2, 0);
    grid->addWidget(eWzSpitze_, 2, 1);
    grid->addWidget(label(box, "LWzRadius", QStringLiteral("Radius (mm)")), 3, 0);
    grid->addWidget(eWzRadius_, 3, 1);
    wzSkizze_ = new ToolSketch(box);
    grid->addWidget(wzSkizze_, 4, 0, 1, 2);
    connect(wzTyp_, &QButtonGroup::idClicked, this, &TEinstellungen::showToolSketch);
    for (QLineEdit* edit : {eWzWinkel_, eWzSpitze_, eWzRadius_, eZebene_})
        connect(edit, &QLineEdit::textChanged, this, &TEinstellungen::showToolSketch);
    return box;
}

// A profile that never had a tool and still has none keeps its file without the keys.
ncgen::TToolTexts TEinstellungen::toolTexts(const ncgen::TToolTexts& before) const {
    ncgen::TToolTexts texts{std::to_string(std::max(0, wzTyp_->checkedId())),
                            bytes(eWzWinkel_->text()), bytes(eWzSpitze_->text()),
                            bytes(eWzRadius_->text())};
    const bool never =
        before.Kind.empty() && before.Angle.empty() && before.Tip.empty() && before.Radius.empty();
    if (never && texts.Kind == "0" && texts.Angle.empty() && texts.Tip.empty() &&
        texts.Radius.empty())
        texts.Kind.clear();
    return texts;
}

void TEinstellungen::showToolSketch() {
    const ncgen::TToolReading reading = ncgen::ReadTool(toolTexts({}));
    const auto depth = ncgen::ReadNumber(bytes(eZebene_->text()));
    wzSkizze_->Show(reading.Problem.empty() ? std::optional(reading.Tool) : std::nullopt,
                    depth.ok ? std::fabs(depth.value) : 0.1L);
    const int kind = wzTyp_->checkedId();
    eWzWinkel_->setEnabled(kind == 1);
    eWzSpitze_->setEnabled(kind == 1);
    eWzRadius_->setEnabled(kind == 2);
}

void TEinstellungen::Fill() {
    eZieldir_->setText(FromCodePage(settings_.NcFolder));
    eVorlagenDir_->setText(FromCodePage(settings_.TemplateFolder));
    eFontDir_->setText(FromCodePage(settings_.FontFolder));
    eAufloesung_->setText(FromCodePage(settings_.DotSpacing));
    if (QAbstractButton* b = standard_->button(settings_.DefaultProfile)) b->setChecked(true);
    views_->button(static_cast<int>(settings_.View))->setChecked(true);
    g0Butt_->setChecked(settings_.ShowRapidMoves);
    axisButt_->setChecked(settings_.ShowAxes);
    eHintergrund_->SetColour(settings_.Background);
    eAchsen_->SetColour(settings_.Axes);
    eVorschub_->SetColour(settings_.Feed);
    eAVorschub_->SetColour(settings_.AFeed);
    eEilgang_->SetColour(settings_.Rapid);
    eRohteil_->SetColour(settings_.Blank);
    eSymbox_->setCurrentIndex(settings_.DefaultSymbolSize);
    eCodeBox_->setCurrentIndex(settings_.DefaultEncodation);
}

void TEinstellungen::settingsFromControls(config::TSettings& settings) const {
    settings.NcFolder = bytes(eZieldir_->text());
    settings.TemplateFolder = bytes(eVorlagenDir_->text());
    settings.FontFolder = bytes(eFontDir_->text());
    settings.DotSpacing = bytes(eAufloesung_->text());
    settings.DefaultProfile = standard_->checkedId() > 0 ? standard_->checkedId() : 1;
    settings.View = static_cast<config::TGraphicView>(views_->checkedId());
    settings.ShowRapidMoves = g0Butt_->isChecked();
    settings.ShowAxes = axisButt_->isChecked();
    settings.Background = eHintergrund_->Colour();
    settings.Axes = eAchsen_->Colour();
    settings.Feed = eVorschub_->Colour();
    settings.AFeed = eAVorschub_->Colour();
    settings.Rapid = eEilgang_->Colour();
    settings.Blank = eRohteil_->Colour();
    settings.DefaultSymbolSize = static_cast<std::uint8_t>(eSymbox_->currentIndex());
    settings.DefaultEncodation = static_cast<std::uint8_t>(eCodeBox_->currentIndex());
}

void TEinstellungen::fillProfilePage(int number) {
    const ncgen::TOutputProfile& p = profiles_[static_cast<std::size_t>(number - 1)];
    eProfil_->setText(FromCodePage(p.Name));
    fillTemplate(eSyntaxS_, p.FirstPoint);
    fillTemplate(eSyntax_, p.FollowingPoints);
    fillTemplate(eSyntaxE_, p.End);
    eSuffix_->setText(FromCodePage(p.Suffix));
    eRebene_->setText(FromCodePage(p.REbene));
    eZebene_->setText(FromCodePage(p.ZEbene));
    eVorschubZ_->setText(FromCodePage(p.VorschubZ));
    eStellen_->setText(FromCodePage(p.Stellen));
    eNachkomma_->setText(FromCodePage(p.Nachkommastellen));
    eDeziPunkt_->setChecked(p.Dezipunkt);
    eNCPunkt_->setChecked(p.NCpunkt);
    eVNullen_->setChecked(p.VNullen);
    eNNullen_->setChecked(p.NNullen);
    eVorzeichen_->setChecked(p.Vorzeichen);
    eSatznum_->setChecked(p.Satznum);
    eSatzzeichen_->setText(FromCodePage(p.Satzzeichen));
    // The step first: the start check falls back to it.
    eSatzschritt_->setText(FromCodePage(p.Schritt));
    eStart_->setText(FromCodePage(p.Start));
    const std::string* letters[] = {&p.X, &p.Y, &p.Z, &p.I, &p.J, &p.R};
    for (std::size_t i = 0; i < eAxes_.size(); ++i)
        eAxes_[i]->setText(FromCodePage(*letters[i]));
    const ncgen::TToolReading tool = ncgen::ReadTool(p.Tool);
    const int kind = p.Tool.Kind.empty() ? 0 : std::clamp(std::atoi(p.Tool.Kind.c_str()), 0, 2);
    wzTyp_->button(tool.Problem.empty() ? static_cast<int>(tool.Tool.Kind) : kind)
        ->setChecked(true);
    eWzWinkel_->setText(FromCodePage(p.Tool.Angle));
    eWzSpitze_->setText(FromCodePage(p.Tool.Tip));
    eWzRadius_->setText(FromCodePage(p.Tool.Radius));
    showToolSketch();
}

void TEinstellungen::takeOverProfilePage(int number) {
    ncgen::TOutputProfile& p = profiles_[static_cast<std::size_t>(number - 1)];
    p.Name = bytes(eProfil_->text());
    p.REbene = bytes(eRebene_->text());
    p.ZEbene = bytes(eZebene_->text());
    p.VorschubZ = bytes(eVorschubZ_->text());
    takeTemplate(eSyntaxS_, p.FirstPoint);
    takeTemplate(eSyntax_, p.FollowingPoints);
    takeTemplate(eSyntaxE_, p.End);
    p.Suffix = bytes(eSuffix_->text());
    p.Stellen = bytes(eStellen_->text());
    p.Nachkommastellen = bytes(eNachkomma_->text());
    p.Dezipunkt = eDeziPunkt_->isChecked();
    p.NCpunkt = eNCPunkt_->isChecked();
    p.VNullen = eVNullen_->isChecked();
    p.NNullen = eNNullen_->isChecked();
    p.Vorzeichen = eVorzeichen_->isChecked();
    p.Satznum = eSatznum_->isChecked();
    p.Satzzeichen = bytes(eSatzzeichen_->text());
    p.Schritt = bytes(eSatzschritt_->text());
    p.Start = bytes(eStart_->text());
    std::string* letters[] = {&p.X, &p.Y, &p.Z, &p.I, &p.J, &p.R};
    for (std::size_t i = 0; i < eAxes_.size(); ++i)
        *letters[i] = bytes(eAxes_[i]->text());
    p.Tool = toolTexts(p.Tool);
}

// The files hold Windows-1252: a character without a code would be lost on the way, so the
// user gets to change it first.
bool TEinstellungen::refuseUncodedText() {
    const auto refused = [this](QWidget* edit, const QString& text) {
        const TCodePageText converted = ToCodePage(text);
        if (converted.Ok) return false;
        QWidget* page = pages_->currentWidget();
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
    // The toggles beside the axis and rapid-move colours are not in the caption table.
    axisButt_->setText(messages_.Text(ShowToggleText));
    g0Butt_->setText(messages_.Text(ShowToggleText));
}

void TEinstellungen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    applyToolCaptions();
    // Coming back from a minimised state is no new opening.
    if (event->spontaneous()) return;
    page_ = 0;
    pages_->setCurrentIndex(0);
    pageButtons_->button(0)->setChecked(true);
}

void TEinstellungen::PageClick(int page) {
    if (page != 0 && page_ != 0 && refuseUncodedText()) {
        // The page stays, and so does its button.
        pageButtons_->button(pages_->currentIndex() == 0 ? 0 : page_)->setChecked(true);
        return;
    }
    pageButtons_->button(page)->setChecked(true);
    if (page == 0) {
        pages_->setCurrentIndex(0);
        return;
    }
    if (page_ != 0) takeOverProfilePage(page_);
    page_ = page;
    fillProfilePage(page);
    pages_->setCurrentIndex(1);
}

void TEinstellungen::SpeichernClick() {
    if (refuseUncodedText()) return;
    if (page_ != 0) takeOverProfilePage(page_);
    config::TSettings next = settings_;
    settingsFromControls(next);
    try {
        config::SaveSettings(configFolder_, next, profiles_);
    } catch (const std::exception& e) {
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
    swatch->SetColour(ColourSwatch::fromQColor(chosen));
}

void TEinstellungen::checkStart() {
    if (ncgen::ReadNumber(bytes(eStart_->text())).ok) return;
    // Only when it differs: a step that is no number either would loop.
    if (eStart_->text() != eSatzschritt_->text()) eStart_->setText(eSatzschritt_->text());
}

} // namespace korvex::app

#include "app/JobPanel.h"

#include "app/CodePage.h"
#include "app/DotLinePanel.h"
#include "app/NumericKeyFilter.h"
#include "app/StepField.h"
#include "app/TextField.h"
#include "base/TextLines.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace korvex::app {

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

StepField* numericField(QWidget* parent, const char* name, const QString& text,
                        const char* minusName, const char* plusName) {
    auto* row = new StepField(parent, name, minusName, plusName);
    row->Field()->setText(text);
    NumericKeyFilter::Attach(row->Field());
    return row;
}

QToolButton* mirror(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setCheckable(true);
    button->setFixedWidth(36);
    return button;
}

// Dot spacing, offsets, rotation and the mirrors, each with its label.
QGridLayout* parameterGrid(QWidget* owner, const std::array<StepField*, 4>& steps,
                           QToolButton* xMirror, QToolButton* yMirror) {
    auto* grid = new QGridLayout;
    const char* names[] = {"LGroesse", "LVerschiebungX", "LVerschiebungY", "LRotation"};
    const QString captions[] = {QStringLiteral("Punktabstand"), QStringLiteral("Verschiebung X"),
                                QStringLiteral("Verschiebung Y"), QStringLiteral("Drehung")};
    for (int row = 0; row < 4; ++row) {
        grid->addWidget(label(owner, names[row], captions[row]), row, 0);
        grid->addWidget(steps[static_cast<std::size_t>(row)], row, 1);
    }
    grid->addWidget(label(owner, "LSpiegel", QStringLiteral("Spiegel")), 4, 0);
    auto* mirrors = new QHBoxLayout;
    mirrors->addWidget(xMirror);
    mirrors->addWidget(yMirror);
    mirrors->addStretch(1);
    grid->addLayout(mirrors, 4, 1);
    return grid;
}

} // namespace

JobPanel::JobPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("JobPanel"));
    setFixedWidth(248);
    using S = ncgen::TStepButton;

    auto* symbolButton = new QPushButton(QStringLiteral("Symbolgröße und Kodierung"), this);
    symbolButton->setObjectName(QStringLiteral("SchriftartSingle"));
    layerName_ = label(this, "LText", QStringLiteral("Text"));
    text_ = new TextField(this);
    // The kinds' own names, the same in every language.
    content_ = new QComboBox(this);
    content_->setObjectName(QStringLiteral("EInhalt"));
    for (const char* kind :
         {"Text", "GS1", "ISO/IEC 15434 (05)", "ISO/IEC 15434 (06)", "ISO/IEC 15434 (12)"})
        content_->addItem(QString::fromLatin1(kind));
    text_->setMinimumHeight(80);
    StepField* groesse = numericField(this, "EGroesse", QStringLiteral("1"), "GMinus", "GPlus");
    StepField* xVersatz = numericField(this, "EXVersatz", QStringLiteral("0"), "XMinus", "Xplus");
    StepField* yVersatz = numericField(this, "EYVersatz", QStringLiteral("0"), "YMinus", "YPlus");
    StepField* drehWinkel =
        numericField(this, "EDrehWinkel", QStringLiteral("0"), "DMinus", "DPlus");
    // Connected before the step itself: pick mode ends before the field moves.
    for (StepField* field : {groesse, xVersatz, yVersatz, drehWinkel})
        connect(field, &StepField::Stepped, this, &JobPanel::StepWanted);
    groesse->StepWith(S::GMinus, S::GPlus);
    xVersatz->StepWith(S::XMinus, S::Xplus);
    yVersatz->StepWith(S::YMinus, S::YPlus);
    drehWinkel->StepWith(S::DMinus, S::DPlus);
    groesse_ = groesse->Field();
    xVersatz_ = xVersatz->Field();
    yVersatz_ = yVersatz->Field();
    drehWinkel_ = drehWinkel->Field();
    xMirror_ = mirror(this, "EXSpiegel", QStringLiteral("X"));
    yMirror_ = mirror(this, "EYSPiegel", QStringLiteral("Y"));
    convert_ = new QPushButton(QStringLiteral("&NC-Programm generieren"), this);
    convert_->setObjectName(QStringLiteral("Convert"));
    convert_->setEnabled(false);
    progress_ = new QFrame(this);
    progress_->setObjectName(QStringLiteral("Verlauf1"));
    progress_->setFixedHeight(8);
    progress_->setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(label(this, "LSchriftart", QStringLiteral("Datamatrix")));
    layout->addWidget(symbolButton);
    auto* textHead = new QHBoxLayout;
    textHead->addWidget(layerName_, 1);
    textHead->addWidget(content_);
    layout->addLayout(textHead);
    layout->addWidget(text_, 1);
    layout->addWidget(label(this, "LParameter", QStringLiteral("Parameter")));
    layout->addLayout(
        parameterGrid(this, {groesse, xVersatz, yVersatz, drehWinkel}, xMirror_, yMirror_));
    dotLine_ = new DotLinePanel(this);
    layout->addWidget(dotLine_);
    layout->addWidget(convert_);
    auto* bar = new QHBoxLayout;
    bar->addWidget(progress_);
    bar->addStretch(1);
    layout->addLayout(bar);
    SetProgress(false);

    connectFields(symbolButton);
}

void JobPanel::connectFields(QPushButton* symbolButton) {
    connect(text_, &QPlainTextEdit::textChanged, this, &JobPanel::TextChanged);
    connect(text_, &TextField::Refused, this, &JobPanel::Refused);
    connect(text_, &TextField::TooManyLines, this, &JobPanel::TooManyLines);
    connect(content_, &QComboBox::currentIndexChanged, this, &JobPanel::TextChanged);
    for (QLineEdit* field : {groesse_, xVersatz_, yVersatz_, drehWinkel_})
        connect(field, &QLineEdit::textChanged, this, &JobPanel::FieldChanged);
    for (QToolButton* button : {xMirror_, yMirror_})
        connect(button, &QToolButton::toggled, this, &JobPanel::FieldChanged);
    // The preview draws the line; the program marks it.
    connect(dotLine_, &DotLinePanel::Changed, this, &JobPanel::TextChanged);
    connect(groesse_, &QLineEdit::textChanged, this, [this] {
        if (dotLine_->Hrt().Position != ncgen::THrtPosition::None) emit TextChanged();
    });
    connect(dotLine_, &DotLinePanel::DmreToggled, this, &JobPanel::DmreToggled);
    connect(convert_, &QPushButton::clicked, this, &JobPanel::ConvertClicked);
    connect(symbolButton, &QPushButton::clicked, this, &JobPanel::SymbolDialogWanted);
}

ncgen::TLayerFields JobPanel::Fields() const {
    ncgen::TLayerFields fields;
    fields.LText = ToCodePage(layerName_->text()).Bytes;
    fields.EText = ToCodePageLines(TextLines(text_->document()->toRawText()));
    fields.EGroesse = ToCodePage(groesse_->text()).Bytes;
    fields.EXVersatz = ToCodePage(xVersatz_->text()).Bytes;
    fields.EYVersatz = ToCodePage(yVersatz_->text()).Bytes;
    fields.EDrehWinkel = ToCodePage(drehWinkel_->text()).Bytes;
    fields.EXSpiegel = xMirror_->isChecked();
    fields.EYSPiegel = yMirror_->isChecked();
    fields.Content = ContentKind();
    fields.Hrt = dotLine_->Hrt();
    return fields;
}

void JobPanel::SetLayerName(const std::string& name) {
    layerName_->setText(FromCodePage(name));
}

void JobPanel::SetFields(const ncgen::TLayerFields& fields) {
    layerName_->setText(FromCodePage(fields.LText));
    text_->setPlainText(FromCodePageLines(fields.EText));
    NumericKeyFilter::SetText(yVersatz_, FromCodePage(fields.EYVersatz));
    NumericKeyFilter::SetText(xVersatz_, FromCodePage(fields.EXVersatz));
    NumericKeyFilter::SetText(groesse_, FromCodePage(fields.EGroesse));
    NumericKeyFilter::SetText(drehWinkel_, FromCodePage(fields.EDrehWinkel));
    xMirror_->setChecked(fields.EXSpiegel);
    yMirror_->setChecked(fields.EYSPiegel);
    content_->setCurrentIndex(static_cast<int>(fields.Content));
    dotLine_->SetLayer(fields.Hrt, fields.Dmre);
}

void JobPanel::ApplyTexts(const Messages& messages) {
    dotLine_->ApplyTexts(messages);
}

content::TContentKind JobPanel::ContentKind() const {
    const int index = content_->currentIndex();
    return index > 0 && index < content::CONTENT_KIND_COUNT
               ? static_cast<content::TContentKind>(index)
               : content::TContentKind::Text;
}

std::string JobPanel::Code() const {
    return base::JoinLines(ToCodePageLines(TextLines(text_->document()->toRawText())));
}

bool JobPanel::HasText() const {
    return !text_->document()->isEmpty();
}

void JobPanel::ClearText() {
    text_->clear();
}

void JobPanel::SetConvertEnabled(bool enabled) {
    convert_->setEnabled(enabled);
}

void JobPanel::SetProgress(bool generated) {
    progress_->setFixedWidth(generated ? 233 : 0);
    QPalette palette = progress_->palette();
    palette.setColor(QPalette::Window, generated ? QColor(0, 255, 0) : QColor(0, 0, 128));
    progress_->setPalette(palette);
}

} // namespace korvex::app

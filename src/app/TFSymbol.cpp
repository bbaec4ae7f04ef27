#include "app/TFSymbol.h"

#include "app/CodePage.h"
#include "app/DiscPicture.h"
#include "base/TextNumbers.h"
#include "config/LanguageTexts.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace korvex::app {

namespace {
const TDiscStyle DialogDiscs{Qt::white, Qt::black, QColor(192, 192, 192), true};
constexpr int PanelSide = 304;
} // namespace

TFSymbol::TFSymbol(const config::TLanguageTexts& texts, QWidget* parent)
    : QDialog(parent), texts_(texts) {
    setObjectName(QStringLiteral("TFSymbol"));
    setWindowTitle(QStringLiteral("Symbolgröße und Kodierung"));
    datamatrix_.Margin = 10;

    symbox_ = new QListWidget(this);
    symbox_->setObjectName(QStringLiteral("Symbox"));
    for (auto name : datamatrix::FORMAT_NAMES)
        symbox_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    codebox_ = new QListWidget(this);
    codebox_->setObjectName(QStringLiteral("Codebox"));
    for (auto name : datamatrix::ENCODING_NAMES)
        codebox_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    codebox_->setMaximumHeight(codebox_->sizeHintForRow(0) * 6 + 8);

    sizeLabel_ = new QLabel(QStringLiteral("Symbolgröße"), this);
    sizeLabel_->setObjectName(QStringLiteral("LSFont"));
    previewLabel_ = new QLabel(QStringLiteral("Vorschau"), this);
    previewLabel_->setObjectName(QStringLiteral("LPreview"));
    codeLabel_ = new QLabel(QStringLiteral("Kodierung"), this);
    codeLabel_->setObjectName(QStringLiteral("LCode"));

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("PDMGrafik"));
    frame->setFrameShape(QFrame::Box);
    frame->setFixedSize(PanelSide, PanelSide);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, Qt::white);
    frame->setPalette(palette);
    panel_ = frame;
    image_ = new QLabel(frame);
    image_->setObjectName(QStringLiteral("DMGrafik"));
    image_->setScaledContents(true);

    ok_ = new QPushButton(QStringLiteral("&Ok"), this);
    ok_->setObjectName(QStringLiteral("Ok"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("&Abbrechen"), this);
    cancel_->setObjectName(QStringLiteral("Abbruch"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(sizeLabel_, 0, 0);
    grid->addWidget(previewLabel_, 0, 1);
    grid->addWidget(symbox_, 1, 0, 3, 1);
    grid->addWidget(frame, 1, 1);
    grid->addWidget(codeLabel_, 2, 1);
    grid->addWidget(codebox_, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, 4, 0, 1, 2);

    connect(symbox_, &QListWidget::currentRowChanged, this, &TFSymbol::SymboxClick);
    connect(codebox_, &QListWidget::currentRowChanged, this, &TFSymbol::SymboxClick);
    connect(symbox_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(codebox_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TFSymbol::Prepare(std::uint8_t size, std::uint8_t encodation) {
    cancel_->setText(FromCodePage(texts_.Text(text::SymbolDialogCancel)));
    previewLabel_->setText(FromCodePage(texts_.Text(text::SymbolDialogPreview)));
    sizeLabel_->setText(FromCodePage(texts_.Text(text::SymbolDialogSize)));
    codeLabel_->setText(FromCodePage(texts_.Text(text::SymbolDialogEncodation)));
    const QSignalBlocker blockSizes(symbox_);
    const QSignalBlocker blockCodes(codebox_);
    symbox_->setCurrentRow(size < datamatrix::FORMAT_COUNT ? size : 0);
    codebox_->setCurrentRow(encodation < datamatrix::ENCODING_COUNT ? encodation : 0);
    SymboxClick();
    // The size is what the dialog is opened for: arrow keys choose at once.
    symbox_->setFocus(Qt::OtherFocusReason);
}

std::uint8_t TFSymbol::ChosenSize() const {
    return static_cast<std::uint8_t>(qMax(0, symbox_->currentRow()));
}

std::uint8_t TFSymbol::ChosenEncodation() const {
    return static_cast<std::uint8_t>(qMax(0, codebox_->currentRow()));
}

void TFSymbol::SymboxClick() {
    ok_->setEnabled(symbox_->currentRow() >= 0 && codebox_->currentRow() >= 0);
    VorschauRefresh();
}

void TFSymbol::VorschauRefresh() {
    datamatrix_.Code = std::string(1, '1'); // a literal here trips a false -Wrestrict in GCC 12
    datamatrix_.PreferredFormat = static_cast<datamatrix::TFormat>(ChosenSize());
    datamatrix_.Encoding = static_cast<datamatrix::TEncoding>(ChosenEncodation());
    datamatrix_.rebuild = true;
    try {
        datamatrix_.paintBarcode(nullptr);
    } catch (const std::exception&) {
        // A one-character sample fits every size; the previous picture stays if it ever fails.
    }
    const int columns = datamatrix_.MatrixCols();
    const int natural = columns * CellPixels;
    // Inside the panel's border, as the border is part of the panel.
    const QRect inside = static_cast<QFrame*>(panel_)->contentsRect();
    const QSize side = FittedSide(natural, inside.height());
    picture_ = DrawDiscs(datamatrix_.Matrix(), columns, datamatrix_.MatrixRows(), side.width(),
                         DialogDiscs);
    image_->setGeometry(inside.left(), inside.top(), side.width(), side.height());
    image_->setPixmap(QPixmap::fromImage(picture_));
}

} // namespace korvex::app

#include "app/SymbolPreview.h"

#include "ncgen/Layer.h"

#include "app/CodePage.h"
#include "app/DiscPicture.h"
#include "app/DotLinePicture.h"
#include "ncgen/DateCodes.h"
#include "ncgen/NumberReading.h"
#include "app/Messages.h"
#include "base/EKorvexError.h"
#include "config/LanguageTexts.h"
#include "datamatrix/ERangeError.h"
#include "datamatrix/SizeTable.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <exception>

namespace korvex::app {

namespace {

const QColor PanelColour(0, 23, 47); // 3086080 as the panel stores it
const TDiscStyle WindowDiscs{PanelColour, QColor(224, 192, 0), QColor(64, 64, 64), false};

// Cells of the placeholder arrow that points left, at (x, y).
bool isArrow(int x, int y) {
    if (y == 2) return true;
    static constexpr int cells[][2] = {{2, 0}, {1, 1}, {2, 1}, {1, 3}, {2, 3}, {2, 4}};
    for (const auto& cell : cells)
        if (cell[0] == x && cell[1] == y) return true;
    return false;
}

// The placeholder has the chosen size's grid; AUTO has none yet and shows 10 x 10.
void gridOf(std::uint8_t size, int& rows, int& columns) {
    rows = columns = 10;
    if (size == datamatrix::AUTO) return;
    const datamatrix::TSizeInfo& info =
        datamatrix::SizeInfo(static_cast<datamatrix::TFormat>(size));
    rows = info.symbolRows;
    columns = info.symbolCols;
}

} // namespace

SymbolPreview::SymbolPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PDatamatrix"));
    datamatrix_.PixelsDot = 4;
    datamatrix_.Margin = 5;
    timer_.setObjectName(QStringLiteral("DMTimer"));
    timer_.setSingleShot(true);
    timer_.setInterval(300);
    connect(&timer_, &QTimer::timeout, this, &SymbolPreview::DMTimerTimer);

    auto* font = new QLabel(QStringLiteral("Datamatrix-Format:"), this);
    font->setObjectName(QStringLiteral("LFont"));
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("Schriftname"));
    QFont bold = caption_->font();
    bold.setBold(true);
    caption_->setFont(bold);
    auto* top = new QHBoxLayout;
    top->addWidget(font);
    top->addWidget(caption_, 1);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("PDMGrafik"));
    panel_->setAutoFillBackground(true);
    QPalette palette = panel_->palette();
    palette.setColor(QPalette::Window, PanelColour);
    panel_->setPalette(palette);
    image_ = new QLabel(panel_);
    image_->setObjectName(QStringLiteral("DMGrafik"));
    image_->setScaledContents(true);
    image_->move(0, 0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(panel_, 1);
    humanReadable_ = new QLabel(this);
    humanReadable_->setObjectName(QStringLiteral("Klarschrift"));
    humanReadable_->setAlignment(Qt::AlignHCenter);
    humanReadable_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(humanReadable_);
}

QString SymbolPreview::listCaption() const {
    return QString::fromLatin1(datamatrix::FormatName(static_cast<datamatrix::TFormat>(size_))) +
           QStringLiteral(" - ") +
           QString::fromLatin1(
               datamatrix::EncodingName(static_cast<datamatrix::TEncoding>(encodation_)));
}

void SymbolPreview::SetDatamatrix(std::uint8_t size, std::uint8_t encodation, bool dmre) {
    size_ = size < datamatrix::FORMAT_COUNT ? size : 0;
    encodation_ = encodation < datamatrix::ENCODING_COUNT ? encodation : 0;
    datamatrix_.Encoding = static_cast<datamatrix::TEncoding>(encodation_);
    datamatrix_.PreferredFormat = static_cast<datamatrix::TFormat>(size_);
    datamatrix_.AllowDmre = dmre;
    caption_->setText(listCaption());
}

void SymbolPreview::ResetDMGrafik() {
    picture_ = QImage();
    image_->clear();
}

void SymbolPreview::show(const QImage& picture, int natural) {
    picture_ = picture;
    const QSize fitted = FittedSide(natural, panel_->height());
    image_->setGeometry(0, 0, fitted.width(), fitted.height());
    image_->setPixmap(QPixmap::fromImage(picture));
}

void SymbolPreview::ClearDMGrafik() {
    placeholderShown_ = true;
    caption_->setText(listCaption());
    caption_->setStyleSheet(QStringLiteral("color: black"));
    int rows = 10, columns = 10;
    gridOf(size_, rows, columns);
    datamatrix::TIArray arrow(static_cast<std::size_t>(columns),
                              std::vector<int>(static_cast<std::size_t>(rows), 0));
    for (int x = 0; x < columns; ++x)
        for (int y = 0; y < rows; ++y)
            arrow[x][y] = isArrow(x, y) ? 1 : 0;
    const int natural = columns * CellPixels;
    const QSize side = FittedSide(natural, panel_->height());
    show(DrawDiscs(arrow, columns, rows, side.width(), WindowDiscs), natural);
}

void SymbolPreview::DrawDMGrafik() {
    placeholderShown_ = false;
    matrix_ = datamatrix_.Matrix();
    cols_ = datamatrix_.MatrixCols();
    rows_ = datamatrix_.MatrixRows();
    // The line as the program marks it; a character the font lacks leaves the symbol alone.
    ncgen::THrtLayout line;
    if (hrt_.Position != ncgen::THrtPosition::None && spacing_ > 0) {
        const std::string said =
            ncgen::HrtText(hrt_, content_.HumanReadable, code_, ncgen::LocalNow());
        line = ncgen::LayoutHrt(hrt_, said, cols_, rows_, spacing_);
        // The picture counts in modules.
        for (ncgen::THrtDot& dot : line.Dots)
            dot = {dot.X / spacing_, dot.Y / spacing_};
        line.Pitch /= spacing_;
    }
    const int natural = cols_ * CellPixels * (line.Dots.empty() ? 1 : 2);
    const QSize side = FittedSide(natural, panel_->height());
    show(DrawDiscsWithDotLine(matrix_, cols_, rows_, line.Dots, static_cast<double>(line.Pitch),
                              side.width(), WindowDiscs),
         natural);

    DrawCaption();
}

void SymbolPreview::DrawCaption() {
    if (placeholderShown_ || datamatrix_.Code.empty() || cols_ == 0) return;
    const QString size = QStringLiteral("C%1X%2").arg(rows_).arg(cols_);
    // The text needed another size than the one chosen.
    const datamatrix::TSizeInfo& chosen =
        datamatrix::SizeInfo(static_cast<datamatrix::TFormat>(size_));
    const bool misfit =
        size_ != datamatrix::AUTO && (chosen.symbolRows != rows_ || chosen.symbolCols != cols_);
    caption_->setStyleSheet(misfit ? QStringLiteral("color: red") : QStringLiteral("color: black"));
    QString caption = size + QStringLiteral(" - ") +
                      QString::fromLatin1(datamatrix::EncodingName(
                          static_cast<datamatrix::TEncoding>(encodation_)));
    // Nothing in the field shows a trailing Return, yet it is marked.
    const bool lineBreak = ncgen::EndsWithLineBreak(datamatrix_.Code);
    if (lineBreak && !lineBreakNote_.isEmpty())
        caption += QStringLiteral(" \u2014 ") + lineBreakNote_;
    caption_->setText(caption);
    caption_->setToolTip(lineBreak ? lineBreakNote_ : QString());
}

void SymbolPreview::SetDotLine(const ncgen::TLayerFields& layer) {
    hrt_ = layer.Hrt;
    const ncgen::TNumberReading spacing = ncgen::ReadNumber(layer.EGroesse);
    spacing_ = spacing.ok ? spacing.value : 0;
}

void SymbolPreview::ETextChange(std::string code, content::TContentKind kind) {
    code_ = std::move(code);
    kind_ = kind;
    timer_.stop();
    timer_.start();
}

void SymbolPreview::DMTimerTimer() {
    timer_.stop();
    panel_->setUpdatesEnabled(false);
    const std::string code = code_;
    content_ = content::PrepareContent(kind_, code);
    humanReadable_->setText(FromCodePage(content_.HumanReadable));
    std::exception_ptr failure;
    base::TTextMessage tooLong;
    if (content_.Ok() || code.empty()) {
        content::ApplyContent(content_, datamatrix_);
        try {
            datamatrix_.paintBarcode(nullptr);
        } catch (const datamatrix::ERangeError&) {
            failure = std::current_exception();
            tooLong = content::TooLongForAnySymbol(kind_);
        } catch (...) {
            failure = std::current_exception();
        }
    }
    // The previous symbol of a text stays on screen after a failure, but it no longer belongs
    // to the text; refused or too long content has no symbol at all.
    symbolCurrent_ = !failure && !code.empty() && content_.Ok();
    if (code.empty()) {
        emit TextEmptied();
        ClearDMGrafik();
    } else if (!content_.Ok() || !tooLong.Empty()) {
        // The symbol of the last valid text would look like the mark of this one.
        ClearDMGrafik();
    } else {
        DrawDMGrafik();
    }
    panel_->setUpdatesEnabled(true);
    panel_->update();
    emit Refreshed();
    if (!tooLong.Empty() && messages_)
        throw EKorvexError(messages_->LanguageTexts().Message(tooLong));
    if (failure) std::rethrow_exception(failure);
}

} // namespace korvex::app

#include "app/GradeDialog.h"

#include "app/CodePage.h"
#include "app/Messages.h"

#include "base/TextNumbers.h"
#include "grade/MarkPicture.h"
#include "job/MarkGrade.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <cmath>

namespace korvex::app {

GradeDialog::GradeDialog(const grade::TGradeReport& report, const Messages& messages,
                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("GradeReport"));
    setWindowTitle(messages.Text(text::GradeReportTitle));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    if (report.Mark) {
        auto* picture = new QLabel(this);
        picture->setObjectName(QStringLiteral("GradeMarkPicture"));
        const int cells = std::max(report.Mark->Grid.Cols, report.Mark->Grid.Rows);
        picture->setPixmap(
            QPixmap::fromImage(MarkPicture(*report.Mark, std::clamp(320 / cells, 3, 16))));
        row->addWidget(picture, 0, Qt::AlignTop);
    }
    auto* lines = new QPlainTextEdit(this);
    lines->setObjectName(QStringLiteral("GradeLines"));
    lines->setReadOnly(true);
    lines->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines->setPlainText(FromCodePageLines(job::GradeReportLines(report, messages.LanguageTexts())));
    lines->setMinimumSize(960, 380);
    row->addWidget(lines, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QImage GradeDialog::MarkPicture(const grade::TPredictedMark& mark, int pixelsPerCell) {
    const readback::TDotPicture grey = grade::RenderMark(mark, pixelsPerCell, false);
    QImage image(grey.Width, grey.Height, QImage::Format_RGB32);
    for (int y = 0; y < grey.Height; ++y)
        for (int x = 0; x < grey.Width; ++x) {
            const int v = grey.Pixels[static_cast<std::size_t>(y) * grey.Width + x];
            image.setPixel(x, y, qRgb(v, v, v));
        }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::red, std::max(1, pixelsPerCell / 5)));
    const double quiet = grade::PictureQuietModules;
    for (const grade::TMarkDot& d : mark.Dots) {
        const double fill = d.A + d.B;
        if (fill >= 0.60 - 1e-9 && fill <= 1.05 + 1e-9) continue;
        const double r = std::max(d.A, d.B) * pixelsPerCell + 1;
        painter.drawEllipse(QPointF((quiet + d.X) * pixelsPerCell, (quiet + d.Y) * pixelsPerCell),
                            r, r);
    }
    return image;
}

} // namespace korvex::app

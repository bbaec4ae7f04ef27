#include "app/PointerReadOut.h"

#include "simulation/ViewCommands.h"

#include <QHBoxLayout>
#include <QLabel>

namespace korvex::app {

PointerReadOut::PointerReadOut(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelPos"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(3);
    caption_ = new QLabel(QStringLiteral("Zeigerposition"), this);
    caption_->setObjectName(QStringLiteral("LZeigerposition"));
    row->addWidget(caption_);
    const char* const axisNames[] = {"LAchseX", "LAchseY", "LAchseZ"};
    const char* const valueNames[] = {"LAchseXWert", "LAchseYWert", "LAchseZWert"};
    const QString axisTexts[] = {QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")};
    for (int i = 0; i < 3; ++i) {
        auto* axis = new QLabel(axisTexts[i], this);
        axis->setObjectName(QString::fromLatin1(axisNames[i]));
        values_[i] = new QLabel(this);
        values_[i]->setObjectName(QString::fromLatin1(valueNames[i]));
        values_[i]->setMinimumWidth(52);
        values_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row->addWidget(axis);
        row->addWidget(values_[i]);
    }
    Show({});
}

void PointerReadOut::Show(const simulation::WorldPoint& w) {
    const long double values[] = {w.x, w.y, w.z};
    for (int i = 0; i < 3; ++i)
        values_[i]->setText(QString::fromStdString(simulation::FormatReadOut(values[i])));
}

void PointerReadOut::SetCaption(const QString& text) {
    caption_->setText(text);
}

} // namespace korvex::app

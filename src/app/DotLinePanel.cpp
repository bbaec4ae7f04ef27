#include "app/DotLinePanel.h"

#include "app/CodePage.h"
#include "app/Messages.h"
#include "app/NumericKeyFilter.h"
#include "base/TextNumbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace korvex::app {

namespace {

// The combo box's entries in THrtPosition's order.
constexpr int POSITION_TEXTS[] = {text::HrtPositionNone, text::HrtPositionBelow,
                                  text::HrtPositionAbove, text::HrtPositionLeft,
                                  text::HrtPositionRight};

QLineEdit* field(QWidget* parent, const char* name, bool numeric) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (numeric) NumericKeyFilter::Attach(edit);
    return edit;
}

} // namespace

DotLinePanel::DotLinePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DotLinePanel"));
    dmre_ = new QCheckBox(QStringLiteral("DMRE (ISO/IEC 21471)"), this);
    dmre_->setObjectName(QStringLiteral("DmreAllowed"));
    dmreWarning_ = new QLabel(this);
    dmreWarning_->setObjectName(QStringLiteral("DmreWarning"));
    dmreWarning_->setWordWrap(true);
    dmreWarning_->setStyleSheet(QStringLiteral("color: #a05000"));
    dmreWarning_->hide();
    group_ = new QGroupBox(this);
    group_->setObjectName(QStringLiteral("HrtGroup"));
    position_ = new QComboBox(group_);
    position_->setObjectName(QStringLiteral("HrtPosition"));
    for (int i = 0; i < 5; ++i)
        position_->addItem(QString());
    height_ = field(group_, "HrtHeight", true);
    height_->setText(QStringLiteral("1.5"));
    pitch_ = field(group_, "HrtPitch", true);
    text_ = field(group_, "HrtText", false);
    for (QLineEdit* edit : {height_, pitch_, text_})
        edit->setEnabled(false); // until a position is chosen
    heightLabel_ = new QLabel(group_);
    pitchLabel_ = new QLabel(group_);
    textLabel_ = new QLabel(group_);
    for (QLabel* label : {heightLabel_, pitchLabel_, textLabel_})
        label->setWordWrap(true);

    auto* grid = new QGridLayout(group_);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->addWidget(position_, 0, 0, 1, 2);
    grid->addWidget(heightLabel_, 1, 0);
    grid->addWidget(height_, 1, 1);
    grid->addWidget(pitchLabel_, 2, 0);
    grid->addWidget(pitch_, 2, 1);
    grid->addWidget(textLabel_, 3, 0);
    grid->addWidget(text_, 3, 1);
    grid->setColumnStretch(0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(dmre_);
    layout->addWidget(dmreWarning_);
    layout->addWidget(group_);

    connect(dmre_, &QCheckBox::toggled, this, [this](bool on) {
        showWarning();
        emit DmreToggled(on);
    });
    connect(position_, &QComboBox::currentIndexChanged, this, [this](int index) {
        for (QLineEdit* edit : {height_, pitch_, text_})
            edit->setEnabled(index > 0);
        emit Changed();
    });
    for (QLineEdit* edit : {height_, pitch_, text_})
        connect(edit, &QLineEdit::textChanged, this, &DotLinePanel::Changed);
}

ncgen::THrtLine DotLinePanel::Hrt() const {
    ncgen::THrtLine hrt;
    const int index = position_->currentIndex();
    hrt.Position = index > 0 && index < 5 ? static_cast<ncgen::THrtPosition>(index)
                                          : ncgen::THrtPosition::None;
    hrt.Height = ToCodePage(height_->text().trimmed()).Bytes;
    hrt.Pitch = ToCodePage(pitch_->text().trimmed()).Bytes;
    hrt.Text = ToCodePage(text_->text()).Bytes;
    return hrt;
}

void DotLinePanel::SetLayer(const ncgen::THrtLine& hrt, bool dmre) {
    {
        const QSignalBlocker blocked(dmre_);
        dmre_->setChecked(dmre);
    }
    showWarning();
    const QSignalBlocker blocked(this);
    position_->setCurrentIndex(static_cast<int>(hrt.Position));
    NumericKeyFilter::SetText(height_, FromCodePage(hrt.Height));
    NumericKeyFilter::SetText(pitch_, FromCodePage(hrt.Pitch));
    text_->setText(FromCodePage(hrt.Text));
}

bool DotLinePanel::Dmre() const {
    return dmre_->isChecked();
}

void DotLinePanel::ApplyTexts(const Messages& messages) {
    dmre_->setText(messages.Text(text::DmreAllowed));
    dmre_->setToolTip(messages.Text(text::DmreWarning));
    dmreWarning_->setText(messages.Text(text::DmreWarning));
    group_->setTitle(messages.Text(text::HrtGroup));
    for (int i = 0; i < 5; ++i)
        position_->setItemText(i, messages.Text(POSITION_TEXTS[i]));
    heightLabel_->setText(messages.Text(text::HrtHeightLabel));
    pitchLabel_->setText(messages.Text(text::HrtPitchLabel));
    textLabel_->setText(messages.Text(text::HrtTextLabel));
    pitch_->setPlaceholderText(messages.Text(text::HrtPitchPlaceholder));
    text_->setPlaceholderText(messages.Text(text::HrtTextPlaceholder));
    text_->setToolTip(messages.Text(text::HrtTextPlaceholder));
}

void DotLinePanel::showWarning() {
    dmreWarning_->setVisible(dmre_->isChecked());
}

} // namespace korvex::app

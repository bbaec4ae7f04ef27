#include "app/ProfilePanel.h"

#include "app/CodePage.h"
#include "app/CodePageFilter.h"
#include "app/NumericKeyFilter.h"
#include "app/StepField.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvex::app {

ProfilePanel::ProfilePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PProfil"));
    setFixedWidth(220);
    using S = ncgen::TStepButton;
    auto* layout = new QVBoxLayout(this);
    auto* group = new QButtonGroup(this);
    for (int n = 1; n <= 4; ++n) {
        auto* button = new QRadioButton(QString::number(n), this);
        button->setObjectName(QStringLiteral("Profil%1").arg(n));
        group->addButton(button, n);
        buttons_[n - 1] = button;
        connect(button, &QRadioButton::clicked, this, [this, n] { emit ProfileClicked(n); });
    }
    auto* row = new QHBoxLayout;
    for (auto* button : buttons_)
        row->addWidget(button);
    layout->addLayout(row);
    name_ = new QLabel(this);
    name_->setObjectName(QStringLiteral("NCProfilname"));
    name_->setWordWrap(true);
    QFont bold = name_->font();
    bold.setBold(true);
    name_->setFont(bold);
    layout->addWidget(name_);

    const auto caption = [this, layout](const char* name, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        layout->addWidget(label);
    };
    auto* rRow = new StepField(this, "REbeneauswahl", "RMinus", "RPlus");
    auto* zRow = new StepField(this, "ZEbeneauswahl", "ZMinus", "ZPlus");
    rRow->StepWith(S::RMinus, S::RPlus);
    zRow->StepWith(S::ZMinus, S::ZPlus);
    r_ = rRow->Field();
    z_ = zRow->Field();
    feed_ = new QLineEdit(this);
    feed_->setObjectName(QStringLiteral("EVorschubZ"));
    NumericKeyFilter::Attach(r_);
    NumericKeyFilter::Attach(z_);
    // The feed may hold a controller parameter, so it is not a numeric field.
    connect(new CodePageFilter(feed_), &CodePageFilter::Refused, this, &ProfilePanel::Refused);
    caption("LRAbstand", QStringLiteral("Sicherheitsabstand (R)"));
    layout->addWidget(rRow);
    caption("LZAbstand", QStringLiteral("Zustelltiefe (Z)"));
    layout->addWidget(zRow);
    caption("LZVorschub", QStringLiteral("Vorschub Z"));
    layout->addWidget(feed_);
    layout->addStretch(1);

    connect(r_, &QLineEdit::textChanged, this, &ProfilePanel::FieldChanged);
    connect(z_, &QLineEdit::textChanged, this, &ProfilePanel::FieldChanged);
    connect(feed_, &QLineEdit::textChanged, this, [this] { emit FeedChanged(EVorschubZ()); });
}

void ProfilePanel::ShowProfile(int number, const QString& name) {
    if (number >= 1 && number <= 4) buttons_[number - 1]->setChecked(true);
    name_->setText(name);
}

void ProfilePanel::SetValues(const std::string& r, const std::string& z, const std::string& feed) {
    // One status check for the three, not one per field against a half-filled panel.
    {
        const QSignalBlocker blockR(r_), blockZ(z_), blockFeed(feed_);
        NumericKeyFilter::SetText(r_, FromCodePage(r));
        NumericKeyFilter::SetText(z_, FromCodePage(z));
        feed_->setText(FromCodePage(feed));
    }
    emit FeedChanged(EVorschubZ());
}

std::string ProfilePanel::REbeneauswahl() const {
    return ToCodePage(r_->text()).Bytes;
}

std::string ProfilePanel::ZEbeneauswahl() const {
    return ToCodePage(z_->text()).Bytes;
}

std::string ProfilePanel::EVorschubZ() const {
    return ToCodePage(feed_->text()).Bytes;
}

} // namespace korvex::app

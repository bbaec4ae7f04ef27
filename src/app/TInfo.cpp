#include "app/TInfo.h"

#include "app/CodePage.h"
#include "app/Version.h"
#include "config/LanguageTexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvex::app {

namespace {
constexpr int Caption = 6001;
constexpr int ProductName = 6002;
constexpr int Description = 6003;
constexpr int VersionLabel = 6004;
constexpr int CloseButton = 6009;
} // namespace

TInfo::TInfo(const config::TLanguageTexts& texts, QWidget* parent)
    : QDialog(parent), texts_(texts) {
    setObjectName(QStringLiteral("TInfo"));
    name_ = new QLabel(this);
    name_->setObjectName(QStringLiteral("LName"));
    QFont big = name_->font();
    big.setPixelSize(22);
    big.setBold(true);
    name_->setFont(big);
    version_ = new QLabel(this);
    version_->setObjectName(QStringLiteral("LVersion"));
    description_ = new QLabel(this);
    description_->setObjectName(QStringLiteral("LDescription"));
    close_ = new QPushButton(this);
    close_->setObjectName(QStringLiteral("BClose"));
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addWidget(name_);
    layout->addWidget(version_);
    layout->addWidget(description_);
    layout->addSpacing(12);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close_);
    layout->addLayout(buttons);
    Prepare();
}

void TInfo::Prepare() {
    const auto text = [this](int number) { return FromCodePage(texts_.Text(number)); };
    setWindowTitle(text(Caption));
    name_->setText(text(ProductName));
    version_->setText(text(VersionLabel) + QLatin1Char(' ') + ProgramVersion);
    description_->setText(text(Description));
    close_->setText(text(CloseButton));
}

} // namespace korvex::app

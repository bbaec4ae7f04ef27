#include "app/CouponDialog.h"

#include "app/AppTexts.h"
#include "app/CodePage.h"
#include "app/Messages.h"
#include "app/NumericKeyFilter.h"
#include "base/DecimalText.h"
#include "ncgen/NumberReading.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvex::app {

CouponDialog::CouponDialog(const Messages& messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
    setObjectName(QStringLiteral("Kalibriermuster"));
    depth_ = new QComboBox(this);
    depth_->setObjectName(QStringLiteral("KTiefe"));
    measured_ = new QLineEdit(this);
    measured_->setObjectName(QStringLiteral("KGemessen"));
    // "0,30" as the window's other number fields take it.
    NumericKeyFilter::Attach(measured_);
    auto* form = new QFormLayout;
    form->addRow(messages_.Text(CouponDepthText), depth_);
    form->addRow(messages_.Text(CouponMeasuredText), measured_);
    auto* correct = new QPushButton(messages_.Text(CouponCorrectText), this);
    correct->setObjectName(QStringLiteral("KKorrigieren"));
    correct->setAutoDefault(false);
    auto* close = new QPushButton(messages_.Text(CouponCloseText), this);
    close->setObjectName(QStringLiteral("KSchliessen"));
    close->setAutoDefault(false);
    connect(correct, &QPushButton::clicked, this, &CouponDialog::KorrigierenClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(correct);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setWindowTitle(messages_.Text(CouponMenuText).remove(QStringLiteral(" ...")).remove('&'));
}

void CouponDialog::Show(const ncgen::TCoupon& coupon, const ncgen::TTool& tool) {
    coupon_ = coupon;
    tool_ = tool;
    depth_->clear();
    for (std::size_t i = 0; i < coupon.Depths.size(); ++i)
        depth_->addItem(messages_.Text(CouponDotText)
                            .arg(static_cast<int>(i) + 1)
                            .arg(FromCodePage(base::FixedText(coupon.Depths[i], 3)),
                                 FromCodePage(base::FixedText(coupon.Diameters[i], 3))));
    depth_->setCurrentIndex(static_cast<int>(coupon.Depths.size()) / 2);
    measured_->clear();
}

void CouponDialog::KorrigierenClick() {
    const int dot = depth_->currentIndex();
    const auto diameter = ncgen::ReadNumber(ToCodePage(measured_->text()).Bytes);
    if (dot < 0 || !diameter.ok || diameter.value <= 0) {
        messages_.ShowText(messages_.Text(CouponNoDiameterText));
        return;
    }
    const ncgen::TToolReading corrected =
        ncgen::CorrectTool(tool_, coupon_.Depths[static_cast<std::size_t>(dot)], diameter.value);
    if (!corrected.Problem.Empty()) {
        messages_.Show(corrected.Problem);
        return;
    }
    tool_ = corrected.Tool;
    emit Corrected(tool_);
}

} // namespace korvex::app

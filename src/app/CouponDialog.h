#pragma once

#include "ncgen/Coupon.h"
#include "ncgen/Tool.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace korvex::app {

class Messages;

// Beside the calibration coupon in the editor: the depth of one of its dots and the diameter
// the machinist measured there correct the profile's tool.
class CouponDialog : public QDialog {
    Q_OBJECT
  public:
    CouponDialog(const Messages& messages, QWidget* parent = nullptr);
    // The coupon just written and the tool it was made for.
    void Show(const ncgen::TCoupon& coupon, const ncgen::TTool& tool);
    void KorrigierenClick();

  signals:
    void Corrected(const ncgen::TTool& tool);

  private:
    const Messages& messages_;
    ncgen::TCoupon coupon_;
    ncgen::TTool tool_;
    QComboBox* depth_ = nullptr;
    QLineEdit* measured_ = nullptr;
};

} // namespace korvex::app

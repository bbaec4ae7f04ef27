#pragma once

#include "ncgen/OutputProfile.h"

#include <QObject>

#include <filesystem>

class QWidget;

namespace korvex::app {

class CouponDialog;
class GenerateController;
class JobDocument;
class JobPanel;
class Messages;

// The calibration coupon: the profile's tool marks dots of growing depth in the editor and the
// graphic, and the diameter measured on one of them corrects the tool in the profile's file.
class CouponRun : public QObject {
    Q_OBJECT
  public:
    CouponRun(QWidget& window, const Messages& messages, JobDocument& document,
              ncgen::TProfileTable& profiles, std::filesystem::path configFolder,
              const JobPanel& panel, GenerateController& generator);

    // The coupon of the active profile's tool at the job's dot spacing, with the dialog beside it;
    // a box says why when the profile has no tool or the spacing gives no depth.
    void Start();
    CouponDialog& Dialog();

  signals:
    void Shown(); // the coupon is in the editor: the graphic shows it

  private:
    void corrected(const ncgen::TTool& tool);

    QWidget& window_;
    const Messages& messages_;
    JobDocument& document_;
    ncgen::TProfileTable& profiles_;
    std::filesystem::path configFolder_;
    const JobPanel& panel_;
    GenerateController& generator_;
    CouponDialog* dialog_ = nullptr;
};

} // namespace korvex::app

#include "app/CouponRun.h"

#include "app/AppTexts.h"
#include "app/CodePage.h"
#include "app/CouponDialog.h"
#include "app/GenerateController.h"
#include "app/JobDocument.h"
#include "app/JobPanel.h"
#include "app/Messages.h"
#include "base/EKorvexError.h"
#include "config/SettingsFile.h"
#include "ncgen/Coupon.h"
#include "base/DecimalText.h"
#include "ncgen/NumberReading.h"

#include <QLineEdit>
#include <QWidget>

#include <cmath>

namespace korvex::app {

CouponRun::CouponRun(QWidget& window, const Messages& messages, JobDocument& document,
                     ncgen::TProfileTable& profiles, std::filesystem::path configFolder,
                     const JobPanel& panel, GenerateController& generator)
    : QObject(&window), window_(window), messages_(messages), document_(document),
      profiles_(profiles), configFolder_(std::move(configFolder)), panel_(panel),
      generator_(generator) {}

void CouponRun::Start() {
    const ncgen::TActiveProfile& profile = document_.Profile();
    const ncgen::TTool tool = ncgen::CheckedTool(profile);
    if (tool.Kind == ncgen::TToolKind::None) {
        messages_.ShowText(messages_.Text(CouponNoToolText));
        return;
    }
    const auto pitch = ncgen::ReadNumber(ToCodePage(panel_.EGroesse()->text()).Bytes);
    const auto coupon = pitch.ok && pitch.value != 0
                            ? ncgen::MakeCoupon(profile, tool, std::fabs(pitch.value))
                            : std::nullopt;
    if (!coupon) {
        messages_.ShowText(messages_.Text(CouponNoDepthText));
        return;
    }
    generator_.ShowOtherProgram(coupon->NCLines, coupon->SimulationLines);
    emit Shown();
    CouponDialog& dialog = Dialog();
    dialog.Show(*coupon, tool);
    dialog.show();
}

CouponDialog& CouponRun::Dialog() {
    if (dialog_) return *dialog_;
    dialog_ = new CouponDialog(messages_, &window_);
    connect(dialog_, &CouponDialog::Corrected, this, &CouponRun::corrected);
    return *dialog_;
}

void CouponRun::corrected(const ncgen::TTool& tool) {
    const int number = document_.ProfileNumber();
    ncgen::TOutputProfile& stored = profiles_[static_cast<std::size_t>(number - 1)];
    stored.Tool = ncgen::ToolTexts(tool);
    try {
        config::SaveProfile(configFolder_, number, stored);
    } catch (const EKorvexError& e) {
        messages_.ShowError(FromCodePage(e.what()));
        return;
    }
    document_.Profile().Tool = tool;
    document_.Profile().ToolProblem = {};
    messages_.ShowText(
        tool.Kind == ncgen::TToolKind::Ball
            ? messages_.Text(BallCorrectedText).arg(FromCodePage(base::GeneralText(tool.Radius, 4)))
            : messages_.Text(ConeCorrectedText)
                  .arg(FromCodePage(base::GeneralText(tool.Angle, 4)),
                       FromCodePage(base::GeneralText(tool.Tip, 4))));
    generator_.Checkstatus();
}

} // namespace korvex::app

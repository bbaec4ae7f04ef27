#include "app/GradeStatus.h"

#include "app/CodePage.h"
#include "app/GenerateController.h"
#include "app/GradeDialog.h"
#include "app/Messages.h"

#include "base/TextNumbers.h"
#include "job/MarkGrade.h"
#include "readback/ProgramNotes.h"

#include <QFutureWatcher>
#include <QPushButton>
#include <QStatusBar>
#include <QtConcurrent/QtConcurrentRun>

namespace korvex::app {

GradeStatus::GradeStatus(QStatusBar& bar, const Messages& messages, GenerateController& generator,
                         std::filesystem::path configFolder, QWidget* window)
    : QObject(window), messages_(messages), generator_(generator),
      configFolder_(std::move(configFolder)), window_(window) {
    mark_ = new QPushButton(&bar);
    mark_->setObjectName(QStringLiteral("GradeMark"));
    mark_->setFlat(true);
    mark_->setEnabled(false);
    bar.addPermanentWidget(mark_);
    connect(mark_, &QPushButton::clicked, this, &GradeStatus::showReport);
    connect(&generator_, &GenerateController::Generated, this, &GradeStatus::start);
}

void GradeStatus::start() {
    const unsigned started = ++started_;
    mark_->setText(messages_.Text(text::GradeWorking));
    const ncgen::TLayer& layer = generator_.Job().Layers.Layer(1);
    auto* watcher = new QFutureWatcher<grade::TGradeReport>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, started] {
        watcher->deleteLater();
        if (started != started_) return;
        report_ = watcher->result();
        mark_->setText(FromCodePage(job::GradeStatusText(*report_, messages_.LanguageTexts())));
        mark_->setEnabled(true);
        emit Graded();
    });
    // Copies: the window may change the job and the profile while it runs.
    future_ = QtConcurrent::run([lines = generator_.SimulationLines(), layer,
                                 profile = generator_.Profile(),
                                 blank = generator_.Job().BlankDefinition, folder = configFolder_,
                                 number = generator_.ProfileNumber()] {
        return job::GradeOfStep(lines, layer, profile, blank, job::DepthTolerance(folder, number));
    });
    watcher->setFuture(future_);
}

std::string GradeStatus::RecordedGrade() const {
    if (started_ == 0) return {};
    QFuture<grade::TGradeReport> last = future_;
    last.waitForFinished();
    return job::RecordedGrade(last.result());
}

void GradeStatus::showReport() {
    if (!report_) return;
    GradeDialog dialog(*report_, messages_, window_);
    dialog.exec();
}

} // namespace korvex::app

#include "app/VerifyDialog.h"

#include "app/AppPlatform.h"
#include "app/CodePage.h"
#include "app/Messages.h"
#include "app/ProgramLog.h"
#include "app/VerifyPicture.h"

#include "base/PathText.h"
#include "base/TextNumbers.h"
#include "job/VerifiedMark.h"
#include "verify/VerifyText.h"

#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace korvex::app {

VerifyDialog::VerifyDialog(std::filesystem::path photo, ProgramLog& log, const Messages& messages,
                           QWidget* parent)
    : QDialog(parent), photo_(std::move(photo)), log_(log), messages_(messages) {
    setObjectName(QStringLiteral("VerifyMark"));
    setWindowTitle(messages.Text(text::VerifyDialogTitle));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("VerifyPicture"));
    picture_->setMinimumSize(560, 560);
    picture_->setAlignment(Qt::AlignCenter);
    row->addWidget(picture_, 1);
    table_ = new QTableWidget(0, 1, this);
    table_->setObjectName(QStringLiteral("VerifyParameters"));
    table_->setHorizontalHeaderLabels({messages.Text(text::VerifyParameterColumn)});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setMinimumWidth(560);
    table_->setWordWrap(false);
    row->addWidget(table_, 1);
    status_ = new QLabel(messages.Text(text::VerifyRunning), this);
    status_->setObjectName(QStringLiteral("VerifyStatus"));
    status_->setWordWrap(true);
    layout->addWidget(status_);
    logLine_ = new QLabel(this);
    logLine_->setObjectName(QStringLiteral("VerifyLogRecord"));
    logLine_->setWordWrap(true);
    layout->addWidget(logLine_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    recordButton_ =
        buttons->addButton(messages.Text(text::VerifyRecordButton), QDialogButtonBox::ActionRole);
    recordButton_->setObjectName(QStringLiteral("VerifyRecord"));
    recordButton_->setEnabled(false);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(recordButton_, &QPushButton::clicked, this, &VerifyDialog::record);
    connect(&watcher_, &QFutureWatcher<verify::TVerifyReport>::finished, this,
            &VerifyDialog::shown);
    // A 12 MP photo takes a second: the window keeps answering meanwhile.
    const std::filesystem::path file = photo_;
    watcher_.setFuture(QtConcurrent::run([file] { return verify::VerifyPhoto(file); }));
}

VerifyDialog::~VerifyDialog() {
    watcher_.waitForFinished();
}

void VerifyDialog::shown() {
    report_ = watcher_.result();
    const config::TLanguageTexts& texts = messages_.LanguageTexts();
    const std::string name = base::PathText(photo_);
    const QImage photo(QString::fromStdString(photo_.string()));
    if (!photo.isNull())
        picture_->setPixmap(QPixmap::fromImage(VerifyPicture(photo, *report_, 560)));
    if (!report_->Ok()) {
        status_->setText(FromCodePage(verify::VerifyProblemText(report_->Problem, name, texts)));
        return;
    }
    const std::vector<std::string> lines = verify::VerifyReportLines(*report_, name, texts);
    table_->setRowCount(static_cast<int>(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i)
        table_->setItem(int(i), 0, new QTableWidgetItem(FromCodePage(lines[i])));
    status_->setText(messages_.Text(text::VerifyLegend));
    findRecord();
}

void VerifyDialog::findRecord() {
    const config::TLanguageTexts& texts = messages_.LanguageTexts();
    try {
        log::TMarkingLog* markingLog = log_.Log();
        if (!markingLog) {
            logLine_->setText(messages_.Text(text::VerifyLogOff));
            return;
        }
        const auto found = job::MarkedRecord(*markingLog, report_->Bytes, report_->ContentKind);
        if (!found) {
            logLine_->setText(messages_.Text(text::VerifyNotInLog));
            return;
        }
        recordId_ = found->Id;
        logLine_->setText(
            FromCodePage(texts.Format(text::VerifyLogRecord, std::to_string(found->Id),
                                      found->Serial ? std::to_string(*found->Serial) : "-",
                                      found->TimeLocal, base::PathText(found->Output))));
        recordButton_->setEnabled(true);
    } catch (const log::ELogError& e) {
        logLine_->setText(messages_.Text(e.Message));
    }
}

void VerifyDialog::record() {
    const config::TLanguageTexts& texts = messages_.LanguageTexts();
    try {
        log::TMarkingLog* markingLog = log_.Log();
        const auto found =
            markingLog ? job::MarkedRecord(*markingLog, report_->Bytes, report_->ContentKind)
                       : std::nullopt;
        if (!found) return;
        log::TVerification verification;
        verification.Grade = std::string(1, grade::GradeLetter(report_->Overall()));
        verification.As9132Pass = report_->As9132.Pass();
        verification.DotSize = report_->As9132.DotMean / 100;
        verification.Photo = photo_;
        if (!job::RecordVerification(*markingLog, *found, verification)) {
            messages_.ShowError(
                FromCodePage(texts.Format(text::PhotoMissing, base::PathText(photo_))));
            return;
        }
        logLine_->setText(
            FromCodePage(texts.Format(text::VerifyRecorded, std::to_string(found->Id))));
        recordButton_->setEnabled(false);
    } catch (const log::ELogError& e) {
        messages_.ShowError(messages_.Text(e.Message));
    }
}

void OpenVerifyDialog(QWidget& parent, ProgramLog& log, const Messages& messages,
                      std::filesystem::path photo) {
    if (photo.empty()) {
        const QString chosen =
            QFileDialog::getOpenFileName(&parent, messages.Text(text::VerifyDialogTitle), {},
                                         messages.Text(text::VerifyPhotoFilter));
        if (chosen.isEmpty()) return;
        photo = std::filesystem::path(chosen.toStdU16String());
    }
    auto* dialog = new VerifyDialog(std::move(photo), log, messages, &parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

namespace {

// One local photo file; nothing for several files, other files or anything else.
std::filesystem::path droppedPhoto(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    if (!url.isLocalFile()) return {};
    const std::filesystem::path file = ToPath(url.toLocalFile());
    return verify::IsPhotoName(file) ? file : std::filesystem::path();
}

class PhotoDrop : public QObject {
  public:
    PhotoDrop(QWidget& window, ProgramLog& log, const Messages& messages)
        : QObject(&window), window_(window), log_(log), messages_(messages) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched != &window_ ||
            (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop))
            return false;
        auto* drop = static_cast<QDropEvent*>(event);
        const std::filesystem::path photo = droppedPhoto(drop->mimeData());
        if (photo.empty()) return false;
        drop->acceptProposedAction();
        if (type == QEvent::Drop) OpenVerifyDialog(window_, log_, messages_, photo);
        return true;
    }

  private:
    QWidget& window_;
    ProgramLog& log_;
    const Messages& messages_;
};

} // namespace

void AcceptPhotoDrops(QWidget& window, ProgramLog& log, const Messages& messages) {
    window.setAcceptDrops(true);
    window.installEventFilter(new PhotoDrop(window, log, messages));
}

} // namespace korvex::app

#include "app/LogDialog.h"

#include "app/AppTexts.h"
#include "app/AppPlatform.h"
#include "app/ProgramLog.h"
#include "app/CodePage.h"
#include "base/AtomicFile.h"
#include "config/ConfigError.h"
#include "log/LogExport.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace korvex::app {

LogDialog::LogDialog(ProgramLog& log, const Messages& messages, QWidget* parent)
    : QDialog(parent), log_(log), messages_(messages) {
    setObjectName(QStringLiteral("LogDialog"));
    searchLabel_ = new QLabel(this);
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("ESuche"));
    search_->setClearButtonEnabled(true);
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("TProtokoll"));
    table_->setColumnCount(static_cast<int>(log::RECORD_COLUMNS.size()));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("LAnzahl"));
    export_ = new QPushButton(this);
    export_->setObjectName(QStringLiteral("BExport"));
    close_ = new QPushButton(this);
    close_->setObjectName(QStringLiteral("BSchliessen"));

    auto* top = new QHBoxLayout;
    top->addWidget(searchLabel_);
    top->addWidget(search_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(count_, 1);
    bottom->addWidget(export_);
    bottom->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addLayout(bottom);
    resize(980, 460);

    connect(search_, &QLineEdit::textChanged, this, &LogDialog::fill);
    connect(export_, &QPushButton::clicked, this, &LogDialog::exportClick);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

void LogDialog::applyTexts() {
    setWindowTitle(messages_.Text(LogTitleText));
    searchLabel_->setText(messages_.Text(LogSearchLabel));
    export_->setText(messages_.Text(LogExportButton));
    close_->setText(messages_.Text(LogCloseButton));
    QStringList headers;
    for (std::size_t i = 0; i < log::RECORD_COLUMNS.size(); ++i)
        headers << messages_.Text(LogFirstColumnText + static_cast<int>(i));
    table_->setHorizontalHeaderLabels(headers);
}

void LogDialog::showEvent(QShowEvent* event) {
    Reload();
    QDialog::showEvent(event);
}

void LogDialog::Reload() {
    applyTexts();
    records_.clear();
    try {
        if (log::TMarkingLog* markingLog = log_.Log()) records_ = markingLog->Query({});
    } catch (const log::ELogError& e) {
        messages_.ShowError(log_.ErrorText(e));
    }
    fill();
}

void LogDialog::fill() {
    const std::string needle = search_->text().toStdString();
    shown_.clear();
    // Newest first: the record looked for is usually one of the last.
    for (auto it = records_.rbegin(); it != records_.rend(); ++it)
        if (log::RecordMatches(*it, needle)) shown_.push_back(*it);
    table_->setRowCount(static_cast<int>(shown_.size()));
    for (std::size_t row = 0; row < shown_.size(); ++row) {
        const auto values = log::RecordWords(shown_[row], messages_.LanguageTexts());
        for (std::size_t column = 0; column < values.size(); ++column)
            table_->setItem(static_cast<int>(row), static_cast<int>(column),
                            new QTableWidgetItem(QString::fromStdString(values[column])));
    }
    table_->resizeColumnsToContents();
    count_->setText(messages_.Text(LogShownText).arg(shown_.size()).arg(records_.size()));
}

bool LogDialog::ExportCsv(const QString& file) {
    if (base::WriteFileAtomically(ToPath(file), log::RecordsCsv(shown_, messages_.LanguageTexts())))
        return true;
    messages_.ShowError(FromCodePage(config::CannotCreateText(ToPath(file))));
    return false;
}

void LogDialog::exportClick() {
    const QString file =
        QFileDialog::getSaveFileName(this, messages_.Text(LogExportButton).remove(QLatin1Char('&')),
                                     QString(), QStringLiteral("CSV (*.csv)"));
    if (!file.isEmpty()) ExportCsv(file);
}

} // namespace korvex::app

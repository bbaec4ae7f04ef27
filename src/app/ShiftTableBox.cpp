#include "app/ShiftTableBox.h"

#include "app/CodePage.h"
#include "app/Messages.h"
#include "base/TextNumbers.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace korvex::app {

namespace {

QString cell(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text().trimmed() : QString();
}

} // namespace

ShiftTableBox::ShiftTableBox(QWidget* parent) : QGroupBox(parent), table_(new QTableWidget(this)) {
    setObjectName(QStringLiteral("DSchichten"));
    table_->setObjectName(QStringLiteral("TSchichten"));
    table_->setColumnCount(2);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table_->verticalHeader()->hide();
    table_->setMinimumHeight(table_->horizontalHeader()->sizeHint().height() * 5);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    connect(table_, &QTableWidget::itemChanged, this, [this] { keepOneEmptyRow(); });
    keepOneEmptyRow();
}

void ShiftTableBox::Fill(const std::vector<std::string>& entries) {
    const QSignalBlocker quiet(table_);
    table_->setRowCount(0);
    for (const std::string& entry : entries) {
        const int row = table_->rowCount();
        table_->insertRow(row);
        // The start is the last word, as main.ini's reading takes it.
        const std::size_t blank = entry.find_last_of(' ');
        const std::string name =
            blank == std::string::npos ? std::string() : entry.substr(0, blank);
        table_->setItem(row, 0, new QTableWidgetItem(FromCodePage(name)));
        table_->setItem(row, 1, new QTableWidgetItem(FromCodePage(entry.substr(blank + 1))));
    }
    keepOneEmptyRow();
}

std::vector<std::string> ShiftTableBox::Entries() const {
    std::vector<std::string> entries;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const QString name = cell(table_, row, 0), start = cell(table_, row, 1);
        if (name.isEmpty() && start.isEmpty()) continue;
        entries.push_back(ToCodePage(name + QLatin1Char(' ') + start).Bytes);
    }
    return entries;
}

void ShiftTableBox::ApplyTexts(const Messages& messages) {
    setTitle(messages.Text(text::ShiftTableCaption));
    table_->setHorizontalHeaderLabels(
        {messages.Text(text::ShiftNameHeader), messages.Text(text::ShiftStartHeader)});
}

void ShiftTableBox::keepOneEmptyRow() {
    const int rows = table_->rowCount();
    if (rows == 0 || !cell(table_, rows - 1, 0).isEmpty() || !cell(table_, rows - 1, 1).isEmpty())
        table_->insertRow(rows);
}

} // namespace korvex::app

#include "app/LogServerCheck.h"

#include "app/Messages.h"
#include "base/TextNumbers.h"
#include "log/LogTexts.h"
#include "log/MarkingLog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtConcurrent/QtConcurrentRun>

namespace korvex::app {

namespace {

QString filled(QString text, const QStringList& values) {
    for (int i = 0; i < values.size(); ++i)
        text.replace(QStringLiteral("%") + QString::number(i + 1), values[i]);
    return text;
}

} // namespace

LogServerCheck::LogServerCheck(QLineEdit* field, QPushButton* button, QLabel* answer,
                               const Messages& messages, QObject* parent)
    : QObject(parent), field_(field), button_(button), answer_(answer), messages_(messages) {
    field_->setPlaceholderText(QStringLiteral("postgresql://korvex@server/korvex"));
    answer_->setWordWrap(true);
    answer_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(button_, &QPushButton::clicked, this, &LogServerCheck::Start);
    connect(&watcher_, &QFutureWatcher<log::TConnectionCheck>::finished, this,
            &LogServerCheck::showAnswer);
}

QString LogServerCheck::Problem() const {
    const std::string url = field_->text().trimmed().toStdString();
    if (url.empty()) return {};
    if (!log::IsServerLog(std::filesystem::path(url))) return messages_.Text(text::LogServerNoUrl);
    if (log::UrlHoldsPassword(url)) return messages_.Text(text::LogServerPassword);
    return {};
}

void LogServerCheck::Start() {
    if (Running()) return;
    if (const QString problem = Problem();
        !problem.isEmpty() || field_->text().trimmed().isEmpty()) {
        answer_->setText(problem.isEmpty() ? messages_.Text(text::LogServerNoUrl) : problem);
        return;
    }
    asked_ = field_->text().trimmed();
    answer_->setText(filled(messages_.Text(text::LogServerAsking), {asked_}));
    button_->setEnabled(false);
    watcher_.setFuture(
        QtConcurrent::run([url = asked_.toStdString()] { return log::CheckConnection(url); }));
}

void LogServerCheck::showAnswer() {
    button_->setEnabled(true);
    const log::TConnectionCheck check = watcher_.result();
    if (!check.Reached)
        answer_->setText(filled(messages_.Text(text::LogServerFailed),
                                {asked_, QString::fromStdString(check.Problem)}));
    else
        answer_->setText(filled(
            messages_.Text(check.KorvexSchema ? text::LogServerWithLog : text::LogServerWithoutLog),
            {asked_, QString::fromStdString(check.ServerVersion)}));
    emit Answered();
}

void LogServerCheck::ApplyTexts() {
    button_->setText(messages_.Text(text::LogServerTest));
}

} // namespace korvex::app

#include "app/Messages.h"

#include "app/CodePage.h"
#include "base/TextMessage.h"
#include "config/LanguageTexts.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>

#include <cstdio>

namespace korvex::app {

namespace {
int batchFailures = 0;
}

QString WithFullStop(const QString& text) {
    // The last character sorts after "." (a letter or digit, say): then the sentence needs one.
    if (!text.isEmpty() && text.back() > QLatin1Char('.')) return text + QLatin1Char('.');
    return text;
}

void FailBatch(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    std::fflush(stderr);
    ++batchFailures;
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
}

int Messages::BatchFailures() {
    return batchFailures;
}

QString Messages::Text(int number) const {
    return FromCodePage(texts_.Text(number));
}

QString Messages::Text(const base::TTextMessage& message) const {
    return FromCodePage(texts_.Message(message));
}

void Messages::Show(int number, std::string_view detail) const {
    ShowText(FromCodePage(texts_.Message(number, detail)));
}

void Messages::Show(const base::TTextMessage& message) const {
    ShowText(FromCodePage(texts_.Message(message)));
}

void Messages::ShowWithDetail(int number, int detailNumber) const {
    Show(number, texts_.Text(detailNumber));
}

void Messages::ShowText(const QString& text) const {
    if (batch_) {
        FailBatch(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, Title, text, QMessageBox::Ok, parent_);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

void Messages::ShowNotice(const QString& text) const {
    if (batch_) {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        std::fflush(stderr);
        return;
    }
    QMessageBox box(QMessageBox::Information, Title, text, QMessageBox::Ok, parent_);
    box.setObjectName(QStringLiteral("NoticeBox"));
    box.exec();
}

void Messages::ShowError(const QString& text) const {
    const QString shown = WithFullStop(text);
    if (batch_) {
        FailBatch(shown);
        return;
    }
    QMessageBox box(QMessageBox::Critical, Title, shown, QMessageBox::Ok, parent_);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

} // namespace korvex::app

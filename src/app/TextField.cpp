#include "app/TextField.h"

#include "app/CodePage.h"

#include <QKeyEvent>
#include <QMimeData>

namespace korvex::app {

TextField::TextField(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("EText"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
}

bool TextField::acceptable(const QString& text) {
    QString checked = text;
    checked.remove(QChar::ParagraphSeparator).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    const TCodePageText converted = ToCodePage(checked);
    if (!converted.Ok) emit Refused(converted.Offending);
    return converted.Ok;
}

void TextField::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !acceptable(text)) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextField::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty() && !acceptable(event->commitString())) {
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

bool TextField::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void TextField::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText() || !acceptable(source->text())) return;
    insertPlainText(source->text());
}

} // namespace korvex::app
